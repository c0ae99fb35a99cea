#pragma once
// Helpers the picture tests share: reading files and comparing pixels; used on the test's own thread.

#include "platform/picture/Picture.h"

#include <cstdint>
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

} // namespace picture::test
