#pragma once
// Opening the default accompaniment at start; GUI thread.

#include <string_view>

namespace accompaniment {

// Opens a file in the media player without playing it; the outcome is not reported.
void openDefaultAccompaniment(std::string_view path);
// The window is going away: the media player closes its device.
void closeAccompaniment();

} // namespace accompaniment
