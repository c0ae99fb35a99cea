#pragma once
// The real main window with a recording MIDI device list, and key events as the window system sends them.

#include "app/FormIds.h"
#include "keyboard/KeyArrays.h"
#include "keyboard/MidiPlay.h"
#include "platform/midi/testing/RecordingOutputs.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Ui.h"
#include "tests/support/MainWindowFixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace keyboard_testing {

// X11 key codes (evdev + 8) of the keys the tests press.
namespace scan {
constexpr quint32 digitRow = 10; // "1"; "0" is 19
constexpr quint32 Q = 24, W = 25, E = 26, O = 32, P = 33, A = 38, L = 46, Z = 52, X = 53, M = 58;
constexpr quint32 Shift = 50, Space = 65, Keypad5 = 84, KeypadMinus = 82;
} // namespace scan

inline QWidget* widgetOf(ui::ComponentRef ref) { return ui::Toolkit::instance().find(ref).widget(); }

// Runs events until `done` holds; false after a generous while (a test that fails, not a slow machine).
inline bool waitUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 10000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs events for a while, so that anything the window holds back has had its chance to happen.
inline void runEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Opens the device combo box's list and clicks item `index`, as a user picks a device.
inline void pickDevice(int index)
{
    auto* combo = static_cast<QComboBox*>(widgetOf(app::组合框1));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    ASSERT_TRUE(waitUntil([view] { return view->isVisible(); }));
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    ASSERT_TRUE(waitUntil([view] { return !view->isVisible(); }));
}

// Clicks item `index` of the instrument list.
inline void pickInstrument(int index)
{
    auto* list = static_cast<QListWidget*>(widgetOf(app::列表框1));
    QListWidgetItem* item = list->item(index);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

// The index of the first device whose name contains `part`; -1 when none does.
inline int deviceIndex(const std::string& part)
{
    for (int i = 0; i < ui::itemCount(app::组合框1); ++i)
        if (ui::itemText(app::组合框1, i).find(part) != std::string::npos)
            return i;
    return -1;
}

class KeyboardFixture : public testing_support::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        useDevices({"Built-in Synthesizer", "Port B"});
    }

    // Gives the MIDI output component a recording device list (before start()).
    void useDevices(std::vector<std::string> names)
    {
        auto outputs = std::make_unique<midi::RecordingOutputs>(std::move(names));
        m_outputs = outputs.get();
        keyboard::MIDI演奏.attach(std::move(outputs));
    }

    void TearDown() override
    {
        MainWindowFixture::TearDown();
        keyboard::MIDI演奏.attach(nullptr);
    }

    // Loads the window and gives it the focus, as it has after start.
    void start()
    {
        loadWindow();
        ui::setFocus(app::主窗口);
        ASSERT_TRUE(waitUntil([] { return window()->hasFocus(); }));
    }

    static QWidget* window() { return widgetOf(app::主窗口); }

    void send(QEvent::Type type, int qtKey, quint32 scanCode, Qt::KeyboardModifiers modifiers, bool autoRepeat,
              unsigned long timestamp)
    {
        QKeyEvent event(type, qtKey, modifiers, scanCode, 0, 0, QString(), autoRepeat);
        event.setTimestamp(timestamp);
        QApplication::sendEvent(window(), &event);
    }

    void press(int qtKey, quint32 scanCode, Qt::KeyboardModifiers modifiers = {})
    {
        send(QEvent::KeyPress, qtKey, scanCode, modifiers, false, ++m_clock);
    }
    // A real release, which the window settles once no repeat's press can follow it.
    void release(int qtKey, quint32 scanCode, Qt::KeyboardModifiers modifiers = {})
    {
        send(QEvent::KeyRelease, qtKey, scanCode, modifiers, false, ++m_clock);
        runEventsFor(100);
    }
    // An automatic repeat as X11 sends it: a release and a press with one timestamp, flagged or not.
    void repeat(int qtKey, quint32 scanCode, bool flagged)
    {
        ++m_clock;
        send(QEvent::KeyRelease, qtKey, scanCode, {}, flagged, m_clock);
        send(QEvent::KeyPress, qtKey, scanCode, {}, flagged, m_clock);
    }

    static int held(int slot) { return ui::readInt(keyboard::keyWidgets[slot], ui::label::GradientMode); }
    std::vector<uint8_t> sent() const { return m_outputs->sentBytes(); }

    midi::RecordingOutputs* m_outputs = nullptr;
    unsigned long m_clock = 1000;
};

} // namespace keyboard_testing
