#pragma once
// The texts the keys and the numbered-notation labels show; pure functions, any thread.

#include <string>
#include <string_view>

namespace keyboard {

// Each ASCII character from "!" to "}" becomes its full-width form U+FF01 + (c - 0x21), in UTF-8;
// any other character is kept as it is.
[[nodiscard]] std::string fullWidth(std::string_view text);

// The caption of the numbered-notation label under white key k (1 to 21): the scale degree
// ((k - 1) mod 7) + 1 in full width on the second line, with the octave dot on the line below it
// for the lowest octave, none for the middle one, and the line above it for the highest.
[[nodiscard]] std::string degreeCaption(int k);

} // namespace keyboard
