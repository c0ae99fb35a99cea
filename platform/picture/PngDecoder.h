#pragma once
// Decodes the PNG images that icon and cursor files may hold as entries, through libpng; safe on any
// thread. PNG files on their own are not pictures the box shows.

#include "platform/picture/Picture.h"

#include <optional>

namespace picture {

struct PngInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// True when `bytes` start with the PNG signature.
[[nodiscard]] bool isPng(std::span<const uint8_t> bytes);

// The size and depth from the PNG header, without decoding.
[[nodiscard]] std::optional<PngInfo> readPngInfo(std::span<const uint8_t> bytes);

// The whole image as 8-bit colour with alpha; nothing when it is damaged, truncated or too large for
// a file of inputBytes bytes.
[[nodiscard]] std::optional<Frame> decodePng(std::span<const uint8_t> bytes, size_t inputBytes);

} // namespace picture
