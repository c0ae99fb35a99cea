#include "platform/picture/Format.h"

#include <cstring>

namespace picture {
namespace {

bool startsWith(std::span<const uint8_t> bytes, const char* text, size_t length)
{
    return bytes.size() >= length && std::memcmp(bytes.data(), text, length) == 0;
}

// A PCX header: manufacturer 0x0A, a version up to 5, RLE encoding 1, and a plane depth the decoder
// knows (1, 2, 4 or 8 bits).
bool isPcx(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 4 || bytes[0] != 0x0A || bytes[1] > 5 || bytes[2] != 1)
        return false;
    const uint8_t bits = bytes[3];
    return bits == 1 || bits == 2 || bits == 4 || bits == 8;
}

} // namespace

Format detectFormat(std::span<const uint8_t> bytes)
{
    if (startsWith(bytes, "BM", 2))
        return Format::Bmp;
    if (startsWith(bytes, "\xFF\xD8", 2))
        return Format::Jpeg;
    const bool hasImages = bytes.size() >= 6 && (bytes[4] | bytes[5]) != 0;
    if (startsWith(bytes, "\x00\x00\x01\x00", 4) && hasImages)
        return Format::Icon;
    if (startsWith(bytes, "\x00\x00\x02\x00", 4) && hasImages)
        return Format::Cursor;
    if (startsWith(bytes, "GIF87a", 6) || startsWith(bytes, "GIF89a", 6))
        return Format::Gif;
    if (isPcx(bytes))
        return Format::Pcx;
    return Format::Unknown;
}

} // namespace picture
