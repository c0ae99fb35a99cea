#pragma once
// The progress bar, seeking on it, and the title refresh on every tick; GUI thread.

namespace accompaniment {

void onProgressTick();
void onProgressFrameReleased(int x, int y, int keys);
void onProgressFillReleased(int x, int y, int keys);

} // namespace accompaniment
