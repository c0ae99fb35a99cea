#include "platform/picture/PcxDecoder.h"

#include "platform/picture/Limits.h"

#include <algorithm>
#include <array>

namespace picture {
namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kTrailingPaletteSize = 769; // the 0x0C marker and 256 RGB entries
constexpr uint32_t kOpaque = 0xFF000000u;

// The 16 colours of the EGA and VGA text modes.
constexpr std::array<uint32_t, 256> kDefaultPalette = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF,
};

uint16_t le16(std::span<const uint8_t> b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return kOpaque | (r << 16) | (g << 8) | b;
}

// Reads run-length coded bytes; a run longer than what is left of a line carries on into the next.
class RunReader {
public:
    RunReader(std::span<const uint8_t> data) : m_data(data) {}

    // Fills `line` completely; false when the data ends first.
    bool read(std::span<uint8_t> line)
    {
        size_t i = 0;
        while (i < line.size()) {
            if (m_runLeft > 0) {
                const size_t n = std::min<size_t>(m_runLeft, line.size() - i);
                std::fill_n(line.begin() + static_cast<std::ptrdiff_t>(i), n, m_runValue);
                i += n;
                m_runLeft -= n;
                continue;
            }
            if (m_position >= m_data.size())
                return false;
            const uint8_t b = m_data[m_position++];
            if ((b & 0xC0) != 0xC0) {
                line[i++] = b;
                continue;
            }
            if (m_position >= m_data.size())
                return false;
            m_runLeft = b & 0x3F;
            m_runValue = m_data[m_position++];
        }
        return true;
    }

private:
    std::span<const uint8_t> m_data;
    size_t m_position = 0;
    size_t m_runLeft = 0;
    uint8_t m_runValue = 0;
};

} // namespace

Picture decodePcx(std::span<const uint8_t> bytes)
{
    if (bytes.size() < kHeaderSize || bytes[0] != 0x0A || bytes[2] != 1)
        return {};
    const int bits = bytes[3];
    const int planes = bytes[65];
    const uint16_t xMin = le16(bytes, 4), yMin = le16(bytes, 6), xMax = le16(bytes, 8), yMax = le16(bytes, 10);
    const size_t bytesPerLine = le16(bytes, 66);
    if (xMax < xMin || yMax < yMin)
        return {};
    const int width = xMax - xMin + 1;
    const int height = yMax - yMin + 1;

    const bool packed = planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
    const bool planar = bits == 1 && planes >= 2 && planes <= 4;
    const bool trueColour = bits == 8 && (planes == 3 || planes == 4);
    if (!packed && !planar && !trueColour)
        return {};
    if (bytesPerLine < (static_cast<size_t>(width) * bits + 7) / 8)
        return {};
    if (!limits::allowed(static_cast<uint64_t>(width), static_cast<uint64_t>(height), bytes.size()))
        return {};

    std::array<uint32_t, 256> palette;
    palette.fill(kOpaque);
    size_t dataEnd = bytes.size();
    if (bits == 8 && planes == 1) {
        const bool trailing = bytes.size() >= kHeaderSize + kTrailingPaletteSize &&
                              bytes[bytes.size() - kTrailingPaletteSize] == 0x0C;
        if (trailing) {
            dataEnd = bytes.size() - kTrailingPaletteSize;
            for (size_t i = 0; i < 256; ++i) {
                const uint8_t* c = &bytes[dataEnd + 1 + 3 * i];
                palette[i] = rgb(c[0], c[1], c[2]);
            }
        } else {
            for (uint32_t i = 0; i < 256; ++i)
                palette[i] = rgb(i, i, i);
        }
    } else {
        for (size_t i = 0; i < 16; ++i)
            palette[i] = rgb(bytes[16 + 3 * i], bytes[17 + 3 * i], bytes[18 + 3 * i]);
        // Writers that store no palette leave it zero (or, for black and white, two equal entries).
        const auto header = bytes.subspan(16, 48);
        if (bits * planes == 1 && palette[0] == palette[1]) {
            palette[0] = rgb(0, 0, 0);
            palette[1] = rgb(255, 255, 255);
        } else if (std::all_of(header.begin(), header.end(), [](uint8_t b) { return b == 0; })) {
            palette = kDefaultPalette;
        }
    }

    Frame frame;
    frame.width = width;
    frame.height = height;
    frame.pixels.assign(static_cast<size_t>(width) * height, 0u);
    std::vector<uint8_t> line(bytesPerLine * static_cast<size_t>(planes));
    RunReader reader(bytes.subspan(kHeaderSize, dataEnd - kHeaderSize));
    for (int y = 0; y < height; ++y) {
        if (!reader.read(line))
            return {};
        uint32_t* out = &frame.pixels[static_cast<size_t>(y) * width];
        if (trueColour) {
            const uint8_t* r = line.data();
            const uint8_t* g = r + bytesPerLine;
            const uint8_t* b = g + bytesPerLine;
            const uint8_t* a = planes == 4 ? b + bytesPerLine : nullptr;
            for (int x = 0; x < width; ++x)
                out[x] = (a != nullptr ? uint32_t{a[x]} << 24 : kOpaque) | (uint32_t{r[x]} << 16) |
                         (uint32_t{g[x]} << 8) | b[x];
        } else if (planar) {
            for (int x = 0; x < width; ++x) {
                unsigned index = 0;
                for (int p = 0; p < planes; ++p)
                    index |= ((line[p * bytesPerLine + x / 8] >> (7 - x % 8)) & 1u) << p;
                out[x] = palette[index];
            }
        } else {
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (int x = 0; x < width; ++x) {
                const int shift = 8 - bits * (1 + x % perByte);
                out[x] = palette[(line[x / perByte] >> shift) & mask];
            }
        }
    }
    Picture picture;
    picture.frames.push_back(std::move(frame));
    return picture;
}

} // namespace picture
