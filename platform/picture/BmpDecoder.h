#pragma once
// Decodes a BMP file (1 to 32 bits, RLE, bit fields, OS/2 and Windows headers); safe on any thread.

#include "platform/picture/Picture.h"

namespace picture {

// A still picture, or nothing when the file is damaged, truncated or of a kind not shown here
// (64-bit pixels, embedded JPEG or PNG, Huffman-coded OS/2 bitmaps). Pixels that an RLE bitmap leaves
// undefined (skipped by a delta or after an early end) are transparent.
[[nodiscard]] Picture decodeBmp(std::span<const uint8_t> bytes);

} // namespace picture
