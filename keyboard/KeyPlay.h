#pragma once
// Playing the piano keys from the computer keyboard; GUI thread.

#include <string_view>

namespace keyboard {

void onKeyDown(int keyCode, int modifiers);
void onKeyUp(int keyCode, int modifiers);
// Finds the key tagged `keyText` (slots 1 to 36, running pending events after every key that does not
// match) and brings it to `wantedState`: 1 sounds its note and shows it held, 0 shows it up and sends
// nothing. Events of the same key that arrive during its search are applied after it, in order.
void handleKey(std::string_view keyText, int wantedState);
// The window lost the keyboard focus: the key-ups of held keys will not come, so every key is shown
// up (nothing is sent), and a key whose search is under way is left up once its note has gone out.
void onKeyFocusLost();

} // namespace keyboard
