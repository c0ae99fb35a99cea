#pragma once
// Playing the piano keys from the computer keyboard; GUI thread.

#include <string_view>

namespace keyboard {

void onKeyDown(int keyCode, int modifiers);
void onKeyUp(int keyCode, int modifiers);
void handleKey(std::string_view keyText, int wantedState);
// The window lost the keyboard focus: the key-ups of held keys will not come.
void onKeyFocusLost();

} // namespace keyboard
