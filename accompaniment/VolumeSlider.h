#pragma once
// The accompaniment's volume slider; GUI thread.

namespace accompaniment {

void onVolumeSliderReleased(int x, int y, int keys);

} // namespace accompaniment
