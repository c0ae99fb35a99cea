#pragma once
// Helpers the picture tests share: reading files and comparing pixels; used on the test's own thread.

#include "platform/picture/Picture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace picture::test {

inline std::vector<uint8_t> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline const std::filesystem::path& corpus()
{
    static const std::filesystem::path dir(PIANO_CORPUS_DIR);
    return dir;
}

// ImageMagick's convert, the reference decoder and the maker of test files; Debian's own copy is preferred
// over any other one earlier in the path.
inline std::string convertTool()
{
    return std::filesystem::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
}

// Runs a shell command; true when it succeeded.
inline bool run(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}

// A fresh folder for the files a test makes, removed with the object.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "piano-picture-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A picture as a reference decoder sees it, as 8-bit sRGB with alpha: frame `index` of the file as
// ImageMagick decodes it, or, when `decoder` is given, what that netpbm-style command (with {in} for the
// file) writes to its output. Empty when the decoder cannot read it.
inline Frame referenceDecode(const std::filesystem::path& file, int index, const std::filesystem::path& scratch,
                             const char* decoder = nullptr)
{
    const std::filesystem::path pam = scratch / "reference.pam";
    Frame frame;
    const std::string quoted = "'" + file.string() + "'";
    std::string source = quoted + "[" + std::to_string(index) + "]";
    std::string pipe;
    if (decoder != nullptr) {
        pipe = decoder;
        pipe.replace(pipe.find("{in}"), 4, quoted);
        pipe += " 2>/dev/null | ";
        source = "-";
    }
    const std::string command = pipe + convertTool() + " " + source + " -colorspace sRGB -depth 8 pam:'" +
                                pam.string() + "' 2>/dev/null";
    if (!run(command))
        return frame;
    const std::vector<uint8_t> bytes = readFile(pam);
    std::string header(bytes.begin(), bytes.end());
    const size_t end = header.find("ENDHDR\n");
    if (end == std::string::npos)
        return frame;
    int width = 0, height = 0, depth = 0;
    std::sscanf(header.c_str() + header.find("WIDTH"), "WIDTH %d", &width);
    std::sscanf(header.c_str() + header.find("HEIGHT"), "HEIGHT %d", &height);
    std::sscanf(header.c_str() + header.find("DEPTH"), "DEPTH %d", &depth);
    const size_t data = end + 7;
    const size_t count = static_cast<size_t>(width) * height;
    if (depth < 1 || depth > 4 || bytes.size() < data + count * depth)
        return frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* p = &bytes[data + i * depth];
        const bool grey = depth <= 2;
        const uint32_t r = p[0], g = grey ? p[0] : p[1], b = grey ? p[0] : p[2];
        const uint32_t a = depth == 2 ? p[1] : depth == 4 ? p[3] : 255;
        frame.pixels[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return frame;
}

// 8-bit RGBA bytes as 0xAARRGGBB pixels.
inline std::vector<uint32_t> fromRgba(const std::vector<uint8_t>& rgba)
{
    std::vector<uint32_t> out(rgba.size() / 4);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = (uint32_t{rgba[4 * i + 3]} << 24) | (uint32_t{rgba[4 * i]} << 16) | (uint32_t{rgba[4 * i + 1]} << 8) |
                 rgba[4 * i + 2];
    return out;
}

// Number of pixels that differ by more than `tolerance` in any channel; fully transparent pixels match
// whatever colour they carry.
inline size_t countDifferences(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int tolerance,
                               std::string* firstDifference = nullptr)
{
    if (a.size() != b.size())
        return std::max(a.size(), b.size());
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        if ((a[i] >> 24) == 0 && (b[i] >> 24) == 0)
            continue;
        for (int shift = 0; shift < 32; shift += 8) {
            const int ca = static_cast<int>((a[i] >> shift) & 0xFF);
            const int cb = static_cast<int>((b[i] >> shift) & 0xFF);
            if (std::abs(ca - cb) > tolerance) {
                if (count == 0 && firstDifference != nullptr) {
                    char text[96];
                    std::snprintf(text, sizeof text, "pixel %zu: %08X vs %08X", i, a[i], b[i]);
                    *firstDifference = text;
                }
                ++count;
                break;
            }
        }
    }
    return count;
}

// Little-endian fields for files built by hand.
inline void put16(std::vector<uint8_t>& b, unsigned v)
{
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

inline void put32(std::vector<uint8_t>& b, uint32_t v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

} // namespace picture::test
