#pragma once
// Turns a toolkit key event into the virtual-key code the handlers expect; pure, any thread.

#include <cstdint>

namespace ui {

struct KeyInput {
    int qtKey = 0;                 // Qt::Key value
    uint32_t nativeScanCode = 0;   // X11 keycode (evdev + 8) on xcb; 0 where the platform gives none
    bool keypad = false;           // the key lies on the numeric keypad
};

// Letters give 0x41-0x5A and digits 0x30-0x39 whatever Shift, Caps Lock, Alt or the layout: letters of
// a Latin layout by their letter, other keys of the letter block and the digit row by position (so a
// French digit row and a Russian letter block still give digits and Latin letters); keypad digits as
// digits, keypad - . / as 0xBD 0xBE 0xBF. No other key gives a letter or a digit; keys without a
// virtual-key equivalent give 0.
int virtualKeyFor(const KeyInput& key);

// 1 Ctrl, 2 Shift, 4 Alt, from Qt's keyboard modifiers.
int modifierState(unsigned qtModifiers);

} // namespace ui
