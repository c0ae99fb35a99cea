// How long a key press takes from the window's key event to the short message handed to the MIDI port,
// on the real window (offscreen) with a port that stamps the moment it is handed a message. Prints
// numbers; never fails.

#include "app/FormIds.h"
#include "app/MainForm.h"
#include "keyboard/KeyArrays.h"
#include "keyboard/MidiPlay.h"
#include "platform/midi/MidiOutputs.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point lastSend;

class StampingPort final : public midi::MidiPort {
public:
    bool send(std::uint32_t) override
    {
        lastSend = Clock::now();
        return true;
    }
};

class StampingOutputs final : public midi::MidiOutputs {
public:
    int count() const override { return 1; }
    std::string name(int index) const override { return index == 0 ? "stamping" : ""; }
    std::unique_ptr<midi::MidiPort> open(int index) override
    {
        return index == 0 ? std::make_unique<StampingPort>() : nullptr;
    }
};

void printPercentiles(const char* what, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) { return values[std::min(values.size() - 1, static_cast<size_t>(q * values.size()))]; };
    std::printf("  %-40s median %8.2f  p99 %8.2f  max %8.2f us  (n=%zu)\n", what, at(0.5), at(0.99), values.back(),
                values.size());
}

void runEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Key {
    int qtKey;
    quint32 scanCode;
};

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (ui::initialise(argc, argv) != ui::StartResult::Ok)
        return 1;
    keyboard::keyWidgets.allocate();
    keyboard::degreeLabels.allocate();
    keyboard::MIDI演奏.attach(std::make_unique<StampingOutputs>());
    ui::loadWindow(app::mainForm());
    QWidget* window = ui::Toolkit::instance().window(app::kWindowId);
    ui::setFocus(app::主窗口);
    runEventsFor(100);

    // Slot 1 (Z) is found at once; slot 36 (L) after 35 runs of the pending events.
    const Key z{Qt::Key_Z, 52}, l{Qt::Key_L, 46};
    const Key all[] = {{Qt::Key_Z, 52}, {Qt::Key_X, 53}, {Qt::Key_C, 54}, {Qt::Key_V, 55}, {Qt::Key_B, 56},
                       {Qt::Key_N, 57}, {Qt::Key_M, 58}, {Qt::Key_A, 38}, {Qt::Key_S, 39}, {Qt::Key_D, 40},
                       {Qt::Key_F, 41}, {Qt::Key_G, 42}, {Qt::Key_H, 43}, {Qt::Key_J, 44}, {Qt::Key_K, 45},
                       {Qt::Key_L, 46}, {Qt::Key_Q, 24}, {Qt::Key_W, 25}, {Qt::Key_E, 26}, {Qt::Key_R, 27},
                       {Qt::Key_T, 28}, {Qt::Key_Y, 29}, {Qt::Key_U, 30}, {Qt::Key_I, 31}, {Qt::Key_O, 32},
                       {Qt::Key_P, 33}, {Qt::Key_1, 10}, {Qt::Key_2, 11}, {Qt::Key_3, 12}, {Qt::Key_4, 13},
                       {Qt::Key_5, 14}, {Qt::Key_6, 15}, {Qt::Key_7, 16}, {Qt::Key_8, 17}, {Qt::Key_9, 18},
                       {Qt::Key_0, 19}};
    unsigned long timestamp = 1;

    // Presses `keys` one after another, each released at once; the releases settle after the window's
    // repeat wait, so a round ends with a pause before any key comes again.
    const auto measure = [&](std::vector<Key> keys, int rounds) {
        std::vector<double> times;
        for (int round = 0; round < rounds; ++round) {
            for (const Key& key : keys) {
                QKeyEvent press(QEvent::KeyPress, key.qtKey, Qt::NoModifier, key.scanCode, 0, 0);
                press.setTimestamp(++timestamp);
                const auto start = Clock::now();
                QApplication::sendEvent(window, &press);
                times.push_back(std::chrono::duration<double, std::micro>(lastSend - start).count());
                QKeyEvent release(QEvent::KeyRelease, key.qtKey, Qt::NoModifier, key.scanCode, 0, 0);
                release.setTimestamp(++timestamp);
                QApplication::sendEvent(window, &release);
            }
            runEventsFor(40);
        }
        return times;
    };

    std::printf("key event to short message handed to the port:\n");
    printPercentiles("Z (slot 1)", measure({z}, 300));
    printPercentiles("L (slot 36, 35 pending-event runs)", measure({l}, 300));
    printPercentiles("all 36 keys", measure(std::vector<Key>(std::begin(all), std::end(all)), 30));

    ui::destroyAllWindows();
    keyboard::MIDI演奏.attach(nullptr);
    return 0;
}
