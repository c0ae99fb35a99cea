#include "keyboard/KeyboardBuilder.h"

namespace keyboard {

void buildKeyboard() {}

} // namespace keyboard
