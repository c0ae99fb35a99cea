#include "accompaniment/VolumeSlider.h"

namespace accompaniment {

void onVolumeSliderReleased(int, int, int) {}

} // namespace accompaniment
