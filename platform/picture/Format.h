#pragma once
// Recognises a picture format from the first bytes of a file; a pure function, safe on any thread.

#include <cstdint>
#include <span>

namespace picture {

enum class Format { Unknown, Bmp, Jpeg, Icon, Cursor, Gif, Pcx };

// The content rules in order: "BM"; FF D8; 00 00 01 00 or 00 00 02 00 with at least one image;
// "GIF87a" or "GIF89a"; 0A, a version up to 5, RLE encoding 1 and 1, 2, 4 or 8 bits per plane.
[[nodiscard]] Format detectFormat(std::span<const uint8_t> bytes);

} // namespace picture
