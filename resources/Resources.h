#pragma once
// The data built into the program: the default tune, the window icon, the first score picture and
// the stored title data. Constant for the whole run, so any thread may read them.

#include <cstdint>
#include <span>

namespace resources {

// A Standard MIDI File (format 1), written to the temporary folder at start as the accompaniment.
std::span<const std::uint8_t> embeddedTune();

// An ICO file holding one 48 x 48 image with 32-bit colour.
std::span<const std::uint8_t> windowIcon();

// A single-frame two-colour GIF89a of 558 x 656 pixels: the tune's numbered-notation score.
std::span<const std::uint8_t> initialScore();

// "MThd" followed by a compressed-data block (magic 0D 0F 3E 03, the unpacked length as a
// little-endian signed 32-bit number, then a zlib stream) that unpacks to the GBK caption text.
std::span<const std::uint8_t> titleData();

} // namespace resources
