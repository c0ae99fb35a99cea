#pragma once
// Decodes a JPEG image from memory through libjpeg, scaled down in the DCT when a box allows; safe on
// any thread.

#include "platform/picture/Picture.h"

namespace picture {

// Baseline, progressive and arithmetic-coded 8-bit JPEG in greyscale, YCbCr, RGB, CMYK or YCCK. The
// scale is the smallest n/8 (n = 1..8) at which the image still covers boxWidth × boxHeight; full size
// for a 0 × 0 box or an image smaller than the box. A damaged or truncated file, 12-bit data, or an
// image beyond the size limits gives an empty picture.
[[nodiscard]] Picture decodeJpeg(std::span<const uint8_t> bytes, int boxWidth, int boxHeight);

} // namespace picture
