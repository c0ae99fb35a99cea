#pragma once
// The window's stored title data turned into the caption text; pure functions, any thread.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace accompaniment {

// `data` with every occurrence of the four bytes "MThd" cut out, scanning on after each cut.
[[nodiscard]] std::vector<uint8_t> removeMarkers(std::span<const uint8_t> data);

// The caption that the stored title data give: every "MThd" cut out, the rest unpacked, the text up to
// its first zero byte, decoded from GBK. Empty when the data cannot be unpacked.
[[nodiscard]] std::string titleFromData(std::span<const uint8_t> titleData);

} // namespace accompaniment
