#include "keyboard/KeyPlay.h"

namespace keyboard {

void onKeyDown(int, int) {}
void onKeyUp(int, int) {}
void handleKey(std::string_view, int) {}
void onKeyFocusLost() {}

} // namespace keyboard
