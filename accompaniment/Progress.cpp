#include "accompaniment/Progress.h"

namespace accompaniment {

void onProgressTick() {}
void onProgressFrameReleased(int, int, int) {}
void onProgressFillReleased(int, int, int) {}

} // namespace accompaniment
