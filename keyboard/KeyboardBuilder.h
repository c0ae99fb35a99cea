#pragma once
// Builds the 36 piano keys and the 21 numbered-notation labels from their templates; GUI thread.

namespace keyboard {

void buildKeyboard();

} // namespace keyboard
