#include "keyboard/KeyPlay.h"

#include "keyboard/KeyArrays.h"
#include "keyboard/MidiPlay.h"
#include "platform/ui/Ui.h"

#include <deque>
#include <string>
#include <vector>

namespace keyboard {
namespace {

// A search under way. Pending events run in the middle of a search, and among them may be the same
// key's next event (a short tap's key-up during its key-down's search): that event waits here and is
// applied once the search has ended, so that each key's events take effect in the order they came.
struct Search {
    std::string_view text;
    std::deque<int> waiting;
    unsigned releaseCount = 0;
};

std::vector<Search*> searches;
// Counts onKeyFocusLost calls: a search that sees it change has lost its key-up to another window.
unsigned releaseCount = 0;

void search(std::string_view keyText, int wantedState, unsigned startedAt)
{
    for (int i = 1; i <= 36; ++i) {
        const ui::ComponentRef key = keyWidgets[i];
        if (ui::readText(key, ui::Tag) != keyText) {
            ui::processPendingEvents();
            continue;
        }
        if (ui::readInt(key, ui::label::GradientMode) == wantedState)
            return;
        if (wantedState == 1)
            MIDI演奏.playNote(ui::readInt(key, ui::label::GradientBorderWidth));
        const bool focusLost = releaseCount != startedAt;
        ui::writeInt(key, ui::label::GradientMode, focusLost ? 0 : wantedState);
        return;
    }
}

} // namespace

void onKeyDown(int keyCode, int)
{
    const char byte = static_cast<char>(keyCode & 0xFF);
    handleKey(byte != 0 ? std::string_view(&byte, 1) : std::string_view(), 1);
}

void onKeyUp(int keyCode, int)
{
    const char byte = static_cast<char>(keyCode & 0xFF);
    handleKey(byte != 0 ? std::string_view(&byte, 1) : std::string_view(), 0);
}

void handleKey(std::string_view keyText, int wantedState)
{
    for (Search* running : searches) {
        if (running->text == keyText) {
            running->waiting.push_back(wantedState);
            return;
        }
    }
    Search own{keyText, {}, releaseCount};
    searches.push_back(&own);
    search(keyText, wantedState, own.releaseCount);
    while (!own.waiting.empty()) {
        const int next = own.waiting.front();
        own.waiting.pop_front();
        own.releaseCount = releaseCount;
        search(keyText, next, own.releaseCount);
    }
    searches.pop_back();
}

void onKeyFocusLost()
{
    ++releaseCount;
    for (Search* running : searches)
        running->waiting.clear();
    if (!keyWidgets.allocated())
        return;
    for (int i = 1; i <= keyWidgets.size(); ++i) {
        const ui::ComponentRef key = keyWidgets[i];
        if (!key.isNull() && ui::readInt(key, ui::label::GradientMode) != 0)
            ui::writeInt(key, ui::label::GradientMode, 0);
    }
}

} // namespace keyboard
