#pragma once
// Decodes icon (.ico) and cursor (.cur) files; safe on any thread.

#include "platform/picture/Picture.h"

namespace picture {

// Shows one entry: the largest, then the deepest. Entries are DIBs (1 to 32 bits with their AND mask)
// or PNG images. Sizes and depths are taken from each entry's own header, not from the directory,
// which often disagrees; an entry that fails to decode gives way to the next best (up to eight tries).
[[nodiscard]] Picture decodeIcon(std::span<const uint8_t> bytes);

} // namespace picture
