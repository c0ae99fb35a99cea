#include "platform/ui/KeyCodes.h"

#include <Qt>

#include <array>

namespace ui {
namespace {

// X11 keycodes of the digit row and the letter block, by physical position (US names).
int digitByPosition(uint32_t keycode)
{
    static constexpr std::array<char, 10> digitRow{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    return keycode >= 10 && keycode < 20 ? digitRow[keycode - 10] : 0;
}

int letterByPosition(uint32_t keycode)
{
    static constexpr std::array<char, 10> topRow{'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P'};
    static constexpr std::array<char, 9> homeRow{'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L'};
    static constexpr std::array<char, 7> bottomRow{'Z', 'X', 'C', 'V', 'B', 'N', 'M'};
    if (keycode >= 24 && keycode < 34)
        return topRow[keycode - 24];
    if (keycode >= 38 && keycode < 47)
        return homeRow[keycode - 38];
    if (keycode >= 52 && keycode < 59)
        return bottomRow[keycode - 52];
    return 0;
}

int specialKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return: case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Meta: return 0x5B;
    case Qt::Key_Menu: return 0x5D;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 0xBA;
    case Qt::Key_Equal: case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: case Qt::Key_Less: return 0xBC;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 0xBD;
    case Qt::Key_Period: case Qt::Key_Greater: return 0xBE;
    case Qt::Key_Slash: case Qt::Key_Question: return 0xBF;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 0xC0;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 0xDB;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 0xDC;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 0xDD;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 0xDE;
    default: break;
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    return 0;
}

} // namespace

int virtualKeyFor(const KeyInput& key)
{
    if (key.keypad) {
        if (key.qtKey >= Qt::Key_0 && key.qtKey <= Qt::Key_9)
            return key.qtKey;
        switch (key.qtKey) {
        case Qt::Key_Minus: return 0xBD;
        case Qt::Key_Period: case Qt::Key_Comma: return 0xBE;
        case Qt::Key_Slash: return 0xBF;
        case Qt::Key_Asterisk: return 0x6A;
        case Qt::Key_Plus: return 0x6B;
        default: return specialKey(key.qtKey);
        }
    }
    if (key.qtKey >= Qt::Key_A && key.qtKey <= Qt::Key_Z)
        return key.qtKey;
    // The digit row is digits on every layout, shifted or not (French types symbols there).
    if (const int digit = digitByPosition(key.nativeScanCode))
        return digit;
    // A non-Latin layout (Russian) types letters outside Latin-1 on the letter block: take the Latin
    // letter of the same key. A Latin layout's punctuation there (a French comma) stays punctuation.
    if (key.qtKey > 0xFF && key.qtKey < Qt::Key_Escape)
        if (const int letter = letterByPosition(key.nativeScanCode))
            return letter;
    if (key.qtKey >= Qt::Key_0 && key.qtKey <= Qt::Key_9)
        return key.qtKey;
    return specialKey(key.qtKey);
}

int modifierState(unsigned qtModifiers)
{
    int state = 0;
    if (qtModifiers & Qt::ControlModifier)
        state |= 1;
    if (qtModifiers & Qt::ShiftModifier)
        state |= 2;
    if (qtModifiers & Qt::AltModifier)
        state |= 4;
    return state;
}

} // namespace ui
