// Playing the keys from the computer keyboard: the bytes sent and the keys' held look.

#include "keyboard/KeyPlay.h"
#include "tests/keyboard/KeyboardFixture.h"

#include <QImage>
#include <QMetaObject>

#include <gtest/gtest.h>

namespace keyboard_testing {
namespace {

using Bytes = std::vector<uint8_t>;

class KeyPlay : public KeyboardFixture {};

TEST_F(KeyPlay, PressSoundsOnceRepeatsStaySilentReleaseSendsNothing)
{
    start();
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F}));
    EXPECT_EQ(held(1), 1);

    // X11 repeats arrive as release-and-press pairs, with Qt's repeat flag or, now and then, without it.
    for (bool flagged : {true, false, true, false})
        repeat(Qt::Key_Z, scan::Z, flagged);
    runEventsFor(100);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F}));
    EXPECT_EQ(held(1), 1) << "the repeat's release never showed the key up";

    release(Qt::Key_Z, scan::Z);
    EXPECT_EQ(held(1), 0);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F}));

    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F, 0x90, 0x31, 0x7F})) << "the next press sounds again";

    // A busy program may see a repeat's press only after its release has been taken as real: the press
    // carries the release's timestamp and does not sound.
    release(Qt::Key_Z, scan::Z);
    send(QEvent::KeyPress, Qt::Key_Z, scan::Z, {}, false, m_clock);
    EXPECT_EQ(sent().size(), 6u);
    release(Qt::Key_Z, scan::Z);
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(sent().size(), 9u) << "after its real release the key sounds again";
}

TEST_F(KeyPlay, QuickRepressSoundsAgain)
{
    start();
    press(Qt::Key_A, scan::A);
    // A new press that comes before the release has settled is a second stroke, not a repeat.
    send(QEvent::KeyRelease, Qt::Key_A, scan::A, {}, false, ++m_clock);
    press(Qt::Key_A, scan::A);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x30, 0x7F, 0x90, 0x30, 0x7F}));
    EXPECT_EQ(held(22), 1);
}

struct KeyCase {
    const char* what;
    int qtKey;
    quint32 scanCode;
    Qt::KeyboardModifiers modifiers;
    int slot;
    uint8_t note;
};

TEST_F(KeyPlay, ModifiersLayoutsAndKeypadPlayTheKeyOfTheirPosition)
{
    start();
    const KeyCase cases[] = {
        {"Z", Qt::Key_Z, scan::Z, {}, 1, 49},
        {"Shift+Z", Qt::Key_Z, scan::Z, Qt::ShiftModifier, 1, 49},
        {"Alt+Z", Qt::Key_Z, scan::Z, Qt::AltModifier, 1, 49},
        {"Ctrl+Z", Qt::Key_Z, scan::Z, Qt::ControlModifier, 1, 49},
        {"Z with Caps Lock", Qt::Key_Z, scan::Z, {}, 1, 49},
        {"Shift+1 types !", Qt::Key_Exclam, scan::digitRow, Qt::ShiftModifier, 25, 55},
        {"keypad 5", Qt::Key_5, scan::Keypad5, Qt::KeypadModifier, 29, 64},
        {"main-row 5", Qt::Key_5, scan::digitRow + 4, {}, 29, 64},
        {"French & on the 1 key", Qt::Key_Ampersand, scan::digitRow, {}, 25, 55},
        {"French é on the 2 key", Qt::Key_Eacute, scan::digitRow + 1, {}, 26, 57},
        {"French à on the 0 key", Qt::Key_Agrave, scan::digitRow + 9, {}, 34, 76},
        {"French A on the Q key", Qt::Key_A, scan::Q, {}, 22, 48},
        {"Russian Я on the Z key", 0x042F, scan::Z, {}, 1, 49},
        {"Russian Ь on the M key", 0x042C, scan::M, {}, 7, 59},
        {"Russian Щ on the O key", 0x0429, scan::O, {}, 21, 83},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        m_outputs->journal().clear();
        press(c.qtKey, c.scanCode, c.modifiers);
        EXPECT_EQ(sent(), (Bytes{0x90, c.note, 0x7F}));
        EXPECT_EQ(held(c.slot), 1);
        release(c.qtKey, c.scanCode, c.modifiers);
        EXPECT_EQ(held(c.slot), 0);
    }
}

TEST_F(KeyPlay, OtherKeysPlayNothing)
{
    start();
    const KeyCase cases[] = {
        {"space", Qt::Key_Space, scan::Space, {}, 0, 0},
        {"Shift alone", Qt::Key_Shift, scan::Shift, Qt::ShiftModifier, 0, 0},
        {"keypad minus", Qt::Key_Minus, scan::KeypadMinus, Qt::KeypadModifier, 0, 0},
        {"French comma on the M key", Qt::Key_Comma, scan::M, {}, 0, 0},
        {"F1", Qt::Key_F1, 67, {}, 0, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        press(c.qtKey, c.scanCode, c.modifiers);
        release(c.qtKey, c.scanCode, c.modifiers);
    }
    EXPECT_TRUE(sent().empty());
    for (int slot = 1; slot <= 36; ++slot)
        EXPECT_EQ(held(slot), 0);
}

TEST_F(KeyPlay, TwoKeysAtOnceAreHeldApart)
{
    start();
    press(Qt::Key_Z, scan::Z);
    press(Qt::Key_X, scan::X);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F, 0x90, 0x33, 0x7F}));
    EXPECT_EQ(held(1), 1);
    EXPECT_EQ(held(2), 1);
    release(Qt::Key_Z, scan::Z);
    EXPECT_EQ(held(1), 0);
    EXPECT_EQ(held(2), 1);
}

TEST_F(KeyPlay, ReleaseWithoutPressChangesNothing)
{
    start();
    release(Qt::Key_Z, scan::Z);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(held(1), 0);
}

TEST_F(KeyPlay, LosingTheFocusReleasesHeldKeysSilently)
{
    start();
    press(Qt::Key_Z, scan::Z);
    press(Qt::Key_L, scan::L);
    ui::setFocus(app::组合框1);
    ASSERT_TRUE(waitUntil([] { return !window()->hasFocus(); }));
    EXPECT_EQ(held(1), 0);
    EXPECT_EQ(held(36), 0);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F, 0x90, 0x51, 0x7F}));

    // The key-ups went elsewhere; back on the window the same keys play at once.
    ui::setFocus(app::主窗口);
    ASSERT_TRUE(waitUntil([] { return window()->hasFocus(); }));
    release(Qt::Key_Z, scan::Z);
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(sent(), (Bytes{0x90, 0x31, 0x7F, 0x90, 0x51, 0x7F, 0x90, 0x31, 0x7F}));
    EXPECT_EQ(held(1), 1);
}

// Events that the pending-event runs inside the search of "O" (slot 21, 20 slots of running events
// before it is found) deliver while that search is under way.
struct Interleaving {
    const char* what;
    std::vector<std::function<void()>> during;
    Bytes sent;
    int heldAfter;
};

TEST_F(KeyPlay, EventsOfAKeyDuringItsOwnSearchApplyInOrder)
{
    start();
    const Interleaving cases[] = {
        {"its key-up", {[] { keyboard::handleKey("O", 0); }}, {0x90, 0x53, 0x7F}, 0},
        {"its key-up and the next key-down",
         {[] { keyboard::handleKey("O", 0); }, [] { keyboard::handleKey("O", 1); }},
         {0x90, 0x53, 0x7F, 0x90, 0x53, 0x7F}, 1},
        {"the loss of the focus", {[] { keyboard::onKeyFocusLost(); }}, {0x90, 0x53, 0x7F}, 0},
        {"another key's key-down", {[] { keyboard::handleKey("Z", 1); }}, {0x90, 0x31, 0x7F, 0x90, 0x53, 0x7F}, 1},
    };
    for (const Interleaving& c : cases) {
        SCOPED_TRACE(c.what);
        keyboard::onKeyFocusLost();
        m_outputs->journal().clear();
        for (const auto& event : c.during)
            QMetaObject::invokeMethod(qApp, event, Qt::QueuedConnection);
        keyboard::handleKey("O", 1);
        EXPECT_EQ(sent(), c.sent);
        EXPECT_EQ(held(21), c.heldAfter);
    }
}

// Each pixel row of a held key, inside its border, at a column the caption leaves free.
std::vector<ui::Colour> shownRows(ui::ComponentRef key)
{
    const QImage image = widgetOf(key)->grab().toImage();
    std::vector<ui::Colour> rows;
    for (int y = 1; y < image.height() - 1; ++y) {
        const QColor c = image.pixelColor(2, y);
        rows.push_back({static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue())});
    }
    return rows;
}

// Evenly spaced stops h div (n - 1) rows apart, each channel interpolated and truncated toward zero.
std::vector<ui::Colour> expectedRows(const std::vector<ui::Colour>& stops, int height)
{
    const int n = static_cast<int>(stops.size());
    const int spacing = height / (n - 1);
    std::vector<ui::Colour> rows;
    for (int y = 0; y < height; ++y) {
        const int i = y / spacing;
        if (i + 1 >= n) {
            rows.push_back(stops.back());
            continue;
        }
        const double t = static_cast<double>(y % spacing) / spacing;
        auto mix = [t](int a, int b) { return static_cast<uint8_t>(a + static_cast<int>((b - a) * t)); };
        const ui::Colour& a = stops[static_cast<size_t>(i)];
        const ui::Colour& b = stops[static_cast<size_t>(i) + 1];
        rows.push_back({mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)});
    }
    return rows;
}

TEST_F(KeyPlay, HeldKeysShowTheirGradientAndReleasedKeysTheirColour)
{
    start();
    press(Qt::Key_Z, scan::Z);
    press(Qt::Key_A, scan::A);
    EXPECT_EQ(shownRows(keyboard::keyWidgets[1]), expectedRows({{192, 192, 192}, {128, 128, 128}, {96, 96, 96}}, 94));
    EXPECT_EQ(shownRows(keyboard::keyWidgets[22]), expectedRows({{96, 96, 96}, {0, 0, 0}}, 46));

    release(Qt::Key_Z, scan::Z);
    release(Qt::Key_A, scan::A);
    EXPECT_EQ(shownRows(keyboard::keyWidgets[1]), std::vector<ui::Colour>(94, ui::Colour{255, 255, 255}));
    EXPECT_EQ(shownRows(keyboard::keyWidgets[22]), std::vector<ui::Colour>(46, ui::Colour{96, 96, 96}));
}

} // namespace
} // namespace keyboard_testing
