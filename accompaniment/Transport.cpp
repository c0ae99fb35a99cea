#include "accompaniment/Transport.h"

namespace accompaniment {

void onLoadAccompanimentClicked() {}
void onPlayClicked() {}
void onPauseClicked() {}
void onStopClicked() {}

} // namespace accompaniment
