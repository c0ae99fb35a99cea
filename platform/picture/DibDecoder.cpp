#include "platform/picture/DibDecoder.h"

#include "platform/picture/Limits.h"

#include <algorithm>
#include <array>
#include <bit>

namespace picture {
namespace {

uint16_t le16(std::span<const uint8_t> b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t le32(std::span<const uint8_t> b, size_t at)
{
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}

constexpr uint32_t kOpaque = 0xFF000000u;

using Palette = std::array<uint32_t, 256>;

// One colour channel of a bit-field pixel, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;

    explicit Channel(uint32_t m = 0) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            max = mask >> shift;
        }
    }
    uint32_t operator()(uint32_t value) const
    {
        if (mask == 0)
            return 0;
        const uint64_t v = (value & mask) >> shift;
        return static_cast<uint32_t>((v * 255 + max / 2) / max);
    }
};

struct BitFields {
    Channel red, green, blue, alpha;
    bool hasAlpha = false;
};

BitFields bitFields(const DibHeader& h, bool useAlpha)
{
    BitFields f;
    uint32_t r = h.redMask, g = h.greenMask, b = h.blueMask, a = h.alphaMask;
    if (h.compression != DibCompression::BitFields) {
        if (h.bitCount == 16) {
            r = 0x7C00, g = 0x03E0, b = 0x001F, a = 0;
        } else {
            r = 0x00FF0000, g = 0x0000FF00, b = 0x000000FF;
            a = useAlpha ? 0xFF000000 : 0;
        }
    }
    f.red = Channel(r);
    f.green = Channel(g);
    f.blue = Channel(b);
    f.hasAlpha = a != 0;
    f.alpha = Channel(a);
    return f;
}

void decodeRow(const uint8_t* row, uint32_t* out, int64_t width, int bitCount, const Palette& palette,
               const BitFields& fields)
{
    switch (bitCount) {
    case 1:
    case 2:
    case 4:
    case 8: {
        const int perByte = 8 / bitCount;
        const unsigned mask = (1u << bitCount) - 1;
        for (int64_t x = 0; x < width; ++x) {
            const int shift = 8 - bitCount * (1 + static_cast<int>(x % perByte));
            out[x] = palette[(row[x / perByte] >> shift) & mask];
        }
        break;
    }
    case 24:
        for (int64_t x = 0; x < width; ++x, row += 3)
            out[x] = kOpaque | (uint32_t{row[2]} << 16) | (uint32_t{row[1]} << 8) | row[0];
        break;
    case 16:
    case 32: {
        const int step = bitCount / 8;
        for (int64_t x = 0; x < width; ++x, row += step) {
            const uint32_t v = step == 2 ? uint32_t{row[0]} | (uint32_t{row[1]} << 8)
                                         : le32({row, 4}, 0);
            const uint32_t a = fields.hasAlpha ? fields.alpha(v) : 255;
            out[x] = (a << 24) | (fields.red(v) << 16) | (fields.green(v) << 8) | fields.blue(v);
        }
        break;
    }
    default:
        break;
    }
}

// Decodes RLE8, RLE4 or RLE24 data into a bottom-up image. False when the data breaks off before the
// last row; pixels never reached stay transparent.
bool decodeRle(std::span<const uint8_t> data, DibCompression compression, const Palette& palette, Frame& frame)
{
    const int64_t width = frame.width;
    const int64_t height = frame.height;
    int64_t x = 0;
    int64_t y = 0; // counted from the bottom row
    size_t p = 0;
    auto put = [&](int64_t at, uint32_t colour) {
        if (at < width && y < height)
            frame.pixels[static_cast<size_t>((height - 1 - y) * width + at)] = colour;
    };
    bool ended = false;
    bool cut = false; // the data ends inside a code
    while (y < height && p + 2 <= data.size()) {
        const uint8_t count = data[p];
        const uint8_t value = data[p + 1];
        p += 2;
        if (count > 0) {
            if (compression == DibCompression::Rle24) {
                if (p + 2 > data.size()) {
                    cut = true;
                    break;
                }
                const uint32_t colour = kOpaque | (uint32_t{data[p + 1]} << 16) | (uint32_t{data[p]} << 8) | value;
                p += 2;
                for (int i = 0; i < count; ++i)
                    put(x + i, colour);
            } else if (compression == DibCompression::Rle8) {
                for (int i = 0; i < count; ++i)
                    put(x + i, palette[value]);
            } else {
                for (int i = 0; i < count; ++i)
                    put(x + i, palette[(i & 1) ? (value & 0x0F) : (value >> 4)]);
            }
            x += count;
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            ended = true;
            break;
        } else if (value == 2) {
            if (p + 2 > data.size()) {
                cut = true;
                break;
            }
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {
            const size_t n = value;
            const size_t bytes = compression == DibCompression::Rle8 ? n
                                 : compression == DibCompression::Rle4 ? (n + 1) / 2
                                                                        : 3 * n;
            if (p + bytes > data.size()) {
                cut = true;
                break;
            }
            for (size_t i = 0; i < n; ++i) {
                uint32_t colour = 0;
                if (compression == DibCompression::Rle8) {
                    colour = palette[data[p + i]];
                } else if (compression == DibCompression::Rle4) {
                    const uint8_t b = data[p + i / 2];
                    colour = palette[(i & 1) ? (b & 0x0F) : (b >> 4)];
                } else {
                    const uint8_t* c = &data[p + 3 * i];
                    colour = kOpaque | (uint32_t{c[2]} << 16) | (uint32_t{c[1]} << 8) | c[0];
                }
                put(x + static_cast<int64_t>(i), colour);
            }
            x += static_cast<int64_t>(n);
            p += bytes + (bytes & 1); // absolute runs are padded to 16 bits
        }
    }
    if (p + 1 == data.size() && !ended && y < height)
        cut = true;
    // Writers that leave out the end-of-line and end-of-bitmap codes after the last row are common.
    return ended || y >= height || (y == height - 1 && !cut);
}

// Applies an icon's AND mask: a set bit makes the pixel transparent.
void applyMask(std::span<const uint8_t> mask, size_t stride, Frame& frame)
{
    for (int y = 0; y < frame.height; ++y) {
        const uint8_t* row = &mask[static_cast<size_t>(frame.height - 1 - y) * stride];
        uint32_t* out = &frame.pixels[static_cast<size_t>(y) * frame.width];
        for (int x = 0; x < frame.width; ++x)
            if (row[x / 8] & (0x80 >> (x % 8)))
                out[x] = 0;
    }
}

bool allAlphaZero(const Frame& frame)
{
    return std::none_of(frame.pixels.begin(), frame.pixels.end(), [](uint32_t p) { return (p >> 24) != 0; });
}

} // namespace

std::optional<DibHeader> readDibHeader(std::span<const uint8_t> dib, DibKind kind)
{
    if (dib.size() < 12)
        return std::nullopt;
    DibHeader h;
    h.size = le32(dib, 0);
    uint32_t rawCompression = 0;
    bool os2 = false;
    if (h.size == 12) {
        h.width = le16(dib, 4);
        h.height = le16(dib, 6);
        if (le16(dib, 8) != 1)
            return std::nullopt;
        h.bitCount = le16(dib, 10);
        h.paletteEntrySize = 3;
    } else {
        const bool windows = h.size == 40 || h.size == 52 || h.size == 56 || h.size == 108 || h.size == 124;
        os2 = !windows && h.size >= 16 && h.size <= 64;
        if ((!windows && !os2) || dib.size() < h.size)
            return std::nullopt;
        h.width = static_cast<int32_t>(le32(dib, 4));
        h.height = static_cast<int32_t>(le32(dib, 8));
        if (le16(dib, 12) != 1)
            return std::nullopt;
        h.bitCount = le16(dib, 14);
        rawCompression = h.size >= 20 ? le32(dib, 16) : 0;
        h.colorsUsed = h.size >= 36 ? le32(dib, 32) : 0;
        // Device CMYK pixels cannot be shown as they are.
        constexpr uint32_t kDeviceCmyk = 2;
        if (h.size >= 108 && le32(dib, 56) == kDeviceCmyk)
            return std::nullopt;
        if (h.height < 0) {
            h.topDown = true;
            h.height = -h.height;
        }
    }

    switch (rawCompression) {
    case 0: h.compression = DibCompression::Rgb; break;
    case 1: h.compression = DibCompression::Rle8; break;
    case 2: h.compression = DibCompression::Rle4; break;
    case 3: // OS/2 uses 3 for Huffman coding, Windows for bit fields
        if (os2)
            return std::nullopt;
        h.compression = DibCompression::BitFields;
        break;
    case 4: // OS/2 uses 4 for RLE24, Windows for embedded JPEG
        if (!os2)
            return std::nullopt;
        h.compression = DibCompression::Rle24;
        break;
    case 6: // bit fields with alpha
        if (os2)
            return std::nullopt;
        h.compression = DibCompression::BitFields;
        break;
    default:
        return std::nullopt;
    }

    if (h.compression == DibCompression::BitFields) {
        if (h.size >= 52) {
            h.redMask = le32(dib, 40);
            h.greenMask = le32(dib, 44);
            h.blueMask = le32(dib, 48);
            h.alphaMask = h.size >= 56 ? le32(dib, 52) : 0;
        } else {
            h.masksSize = rawCompression == 6 ? 16 : 12;
            if (dib.size() < h.size + h.masksSize)
                return std::nullopt;
            h.redMask = le32(dib, h.size);
            h.greenMask = le32(dib, h.size + 4);
            h.blueMask = le32(dib, h.size + 8);
            h.alphaMask = rawCompression == 6 ? le32(dib, h.size + 12) : 0;
        }
        h.hasMasks = true;
    }

    if (kind == DibKind::Icon)
        h.height /= 2;
    if (h.width <= 0 || h.height <= 0)
        return std::nullopt;

    const int bits = h.bitCount;
    const bool known = bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (!known)
        return std::nullopt;
    switch (h.compression) {
    case DibCompression::Rgb: break;
    case DibCompression::Rle8: if (bits != 8 || h.topDown) return std::nullopt; break;
    case DibCompression::Rle4: if (bits != 4 || h.topDown) return std::nullopt; break;
    case DibCompression::Rle24: if (bits != 24 || h.topDown) return std::nullopt; break;
    case DibCompression::BitFields: if (bits != 16 && bits != 32) return std::nullopt; break;
    }
    return h;
}

std::optional<Frame> decodeDib(std::span<const uint8_t> dib, DibKind kind, size_t pixelOffset, size_t inputBytes)
{
    const std::optional<DibHeader> header = readDibHeader(dib, kind);
    if (!header)
        return std::nullopt;
    const DibHeader& h = *header;
    if (!limits::allowed(static_cast<uint64_t>(h.width), static_cast<uint64_t>(h.height), inputBytes))
        return std::nullopt;
    const int64_t width = h.width;
    const int64_t height = h.height;

    // The palette: as many entries as the header says are stored, of which at most 256 are read.
    const size_t paletteStart = h.size + h.masksSize;
    const uint64_t stored = h.colorsUsed != 0 ? h.colorsUsed : (h.bitCount <= 8 ? (1u << h.bitCount) : 0);
    const uint64_t paletteEnd = paletteStart + stored * h.paletteEntrySize;
    uint64_t pixelStart = paletteEnd;
    if (kind == DibKind::File && pixelOffset >= paletteStart)
        pixelStart = pixelOffset; // the file header knows best; a short palette ends there
    if (pixelStart > dib.size())
        return std::nullopt;
    Palette palette;
    palette.fill(kOpaque);
    const uint64_t readable = std::min<uint64_t>({stored, 256, (pixelStart - std::min<uint64_t>(pixelStart, paletteStart)) / h.paletteEntrySize});
    for (size_t i = 0; i < readable; ++i) {
        const uint8_t* c = &dib[paletteStart + i * h.paletteEntrySize];
        palette[i] = kOpaque | (uint32_t{c[2]} << 16) | (uint32_t{c[1]} << 8) | c[0];
    }

    const std::span<const uint8_t> data = dib.subspan(static_cast<size_t>(pixelStart));
    const bool rle = h.compression == DibCompression::Rle8 || h.compression == DibCompression::Rle4 ||
                     h.compression == DibCompression::Rle24;
    // Rows are padded to 32 bits; the last row's padding may be missing.
    const uint64_t stride = (static_cast<uint64_t>(width) * h.bitCount + 31) / 32 * 4;
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * h.bitCount + 7) / 8;
    if (!rle && data.size() < stride * static_cast<uint64_t>(height - 1) + rowBytes)
        return std::nullopt;

    Frame frame;
    frame.width = static_cast<int>(width);
    frame.height = static_cast<int>(height);
    frame.pixels.assign(static_cast<size_t>(width * height), 0u);
    if (rle) {
        if (!decodeRle(data, h.compression, palette, frame))
            return std::nullopt;
        return frame;
    }
    // A BMP file's 32-bit pixels without bit fields leave their fourth byte unused; an icon's carry alpha.
    const BitFields fields = bitFields(h, kind == DibKind::Icon);
    for (int64_t r = 0; r < height; ++r) {
        const int64_t y = h.topDown ? r : height - 1 - r;
        decodeRow(&data[static_cast<size_t>(r * stride)], &frame.pixels[static_cast<size_t>(y * width)], width,
                  h.bitCount, palette, fields);
    }

    const bool alphaUsed = (h.bitCount == 16 || h.bitCount == 32) && fields.hasAlpha;
    if (alphaUsed && allAlphaZero(frame)) {
        // Writers that fill the alpha bits with zeros mean an opaque image (or one that its mask cuts).
        for (uint32_t& p : frame.pixels)
            p |= kOpaque;
    } else if (alphaUsed && kind == DibKind::Icon) {
        return frame; // an icon with real alpha ignores its mask
    }
    if (kind == DibKind::Icon) {
        const uint64_t maskStride = (static_cast<uint64_t>(width) + 31) / 32 * 4;
        const uint64_t maskStart = stride * static_cast<uint64_t>(height);
        if (maskStart + maskStride * static_cast<uint64_t>(height) <= data.size())
            applyMask(data.subspan(static_cast<size_t>(maskStart)), static_cast<size_t>(maskStride), frame);
    }
    return frame;
}

} // namespace picture
