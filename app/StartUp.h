#pragma once
// The program's start-up sequence and exit routine; GUI thread.

#include <string>

namespace app {

// The window and all its controls exist and the window is still hidden.
void onMainWindowCreated();
// The window is going away.
void onMainWindowDestroyed();
// Called once by the run time when the program ends.
void releaseKeyArrays();

// The temporary folder's path, a separator, then the tune's file name. The folder text already ends
// in a separator, so the path holds two; both systems take that as one.
std::string tempTunePath();
// Creates or truncates the file and writes the embedded tune; any failure is absorbed.
void writeDefaultTune(const std::string& path);

} // namespace app
