#pragma once
// Decodes device-independent bitmaps, the pixel store of BMP files and of icon and cursor entries;
// pure functions, safe on any thread.

#include "platform/picture/Picture.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace picture {

enum class DibCompression { Rgb, Rle8, Rle4, Rle24, BitFields };

// The information header, in any of its sizes: the 12-byte OS/2 core header, the OS/2 2.x header of
// 16 to 64 bytes, and the Windows headers of 40, 52, 56, 108 and 124 bytes.
struct DibHeader {
    uint32_t size = 0;
    int64_t width = 0;
    int64_t height = 0; // of the image alone: an icon entry's doubled height is already halved
    bool topDown = false;
    int bitCount = 0;
    DibCompression compression = DibCompression::Rgb;
    uint32_t colorsUsed = 0;
    bool hasMasks = false;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0, alphaMask = 0;
    size_t masksSize = 0;     // bytes of masks stored after a 40-byte header
    size_t paletteEntrySize = 4;
};

enum class DibKind {
    File, // from a BMP file: the pixel data sits where the file header says
    Icon, // an icon or cursor entry: the pixels follow the palette, then the AND mask; height is doubled
};

// Reads and checks the header at the start of `dib`; nothing for a header this decoder cannot show.
[[nodiscard]] std::optional<DibHeader> readDibHeader(std::span<const uint8_t> dib, DibKind kind);

// Decodes the bitmap whose information header starts `dib`. For a file, pixelOffset is where its pixel
// data starts within `dib` (0 when the file header gives no usable offset). inputBytes is the size of the
// whole file, for the size limits.
[[nodiscard]] std::optional<Frame> decodeDib(std::span<const uint8_t> dib, DibKind kind, size_t pixelOffset,
                                             size_t inputBytes);

} // namespace picture
