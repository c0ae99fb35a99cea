#pragma once
// Decodes a PCX (ZSoft Paintbrush) image; safe on any thread.

#include "platform/picture/Picture.h"

namespace picture {

// 1 bit, 2 or 4 bits packed, and 2 to 4 planes of 1 bit take their colours from the 16-entry header
// palette (black and white, or the EGA colours, when the header holds none); 8 bits use the 256-colour
// palette at the end (grey without it); 3 or 4 planes of 8 bits are RGB or RGBA. Runs may cross from one line into the next. A file whose lines are narrower than its
// width, or whose data ends before the last line, gives an empty picture.
[[nodiscard]] Picture decodePcx(std::span<const uint8_t> bytes);

} // namespace picture
