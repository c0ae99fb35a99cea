#pragma once
// The progress bar, seeking on it, and the title refresh on every tick; GUI thread.

#include <cstdint>
#include <span>
#include <string>

namespace accompaniment {

void onProgressTick();
void onProgressFrameReleased(int x, int y, int keys);
void onProgressFillReleased(int x, int y, int keys);

// The caption that the stored title data give: every "MThd" cut out, the rest unpacked, the text up to
// its first zero byte, decoded from GBK. Empty when the data cannot be unpacked.
[[nodiscard]] std::string titleFromData(std::span<const uint8_t> titleData);

} // namespace accompaniment
