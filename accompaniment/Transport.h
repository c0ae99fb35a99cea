#pragma once
// Loading the accompaniment and the play, pause and stop buttons; GUI thread.

namespace accompaniment {

void onLoadAccompanimentClicked();
void onPlayClicked();
void onPauseClicked();
void onStopClicked();

} // namespace accompaniment
