#pragma once
// The colour of each pixel row of a top-to-bottom label gradient; pure, any thread.

#include "platform/ui/FormTypes.h"

#include <span>
#include <vector>

namespace ui {

// Stops lie h div (n - 1) rows apart; each channel is interpolated and truncated toward zero; rows past
// the last pair take the last colour. Unset colours are left out. Fewer than two colours: no gradient
// (an empty result). A height too small for the stops to be a row apart takes the last colour on
// every row rather than dividing by zero.
std::vector<Colour> gradientRows(std::span<const OptColour> stops, int height);

} // namespace ui
