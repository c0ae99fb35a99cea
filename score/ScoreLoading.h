#pragma once
// Loading a score picture from a file into the picture box; GUI thread.

namespace score {

void onLoadScoreClicked();

} // namespace score
