// Toolkit key events to the virtual-key codes the key handlers take.

#include "platform/ui/KeyCodes.h"

#include <Qt>

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    ui::KeyInput key;
    int virtualKey;
};

TEST(KeyCodes, LettersAndDigitsWhateverTheLayoutAndNothingElse)
{
    const Case cases[] = {
        {"letter", {Qt::Key_Q, 24, false}, 'Q'},
        {"letter without a scan code", {Qt::Key_M, 0, false}, 'M'},
        {"digit", {Qt::Key_7, 16, false}, '7'},
        {"Shift+7 on a US layout types &", {Qt::Key_Ampersand, 16, false}, '7'},
        {"French è on the 7 key", {Qt::Key_Egrave, 16, false}, '7'},
        {"French ç on the 9 key", {Qt::Key_Ccedilla, 18, false}, '9'},
        {"Russian Й on the Q key", {0x0419, 24, false}, 'Q'},
        {"Russian Ф on the A key", {0x0424, 38, false}, 'A'},
        {"Greek λ on the L key", {0x03BB, 46, false}, 'L'},
        {"Turkish dotless ı on the I key", {0x0131, 31, false}, 'I'},
        {"German ö beside L stays no letter", {Qt::Key_Odiaeresis, 47, false}, 0},
        {"Russian Х beside P is no letter key", {0x0425, 34, false}, 0},
        {"French ù beside M stays no letter", {Qt::Key_Ugrave, 48, false}, 0},
        {"French ; on the comma key", {Qt::Key_Semicolon, 59, false}, 0xBA},
        {"keypad 0", {Qt::Key_0, 90, true}, '0'},
        {"keypad 9", {Qt::Key_9, 81, true}, '9'},
        {"keypad minus", {Qt::Key_Minus, 82, true}, 0xBD},
        {"keypad decimal point", {Qt::Key_Period, 91, true}, 0xBE},
        {"keypad decimal comma (German)", {Qt::Key_Comma, 91, true}, 0xBE},
        {"keypad slash", {Qt::Key_Slash, 106, true}, 0xBF},
        {"keypad 5 with Num Lock off", {Qt::Key_Clear, 84, true}, 0x0C},
        {"keypad 8 with Num Lock off", {Qt::Key_Up, 80, true}, 0x26},
        {"main minus", {Qt::Key_Minus, 20, false}, 0xBD},
        {"space", {Qt::Key_Space, 65, false}, 0x20},
        {"dead circumflex", {Qt::Key_Dead_Circumflex, 34, false}, 0},
        {"F1", {Qt::Key_F1, 67, false}, 0x70},
        {"Escape", {Qt::Key_Escape, 9, false}, 0x1B},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::virtualKeyFor(c.key), c.virtualKey) << c.what;
}

TEST(KeyCodes, ModifierStateAddsCtrlShiftAlt)
{
    EXPECT_EQ(ui::modifierState(Qt::NoModifier), 0);
    EXPECT_EQ(ui::modifierState(Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier), 7);
    EXPECT_EQ(ui::modifierState(Qt::ShiftModifier | Qt::KeypadModifier | Qt::MetaModifier), 2);
}

} // namespace
