// The program's entry: prepares the run time and the key arrays, loads the main window, runs it.

#include "accompaniment/MediaPlayer.h"
#include "app/MainForm.h"
#include "app/StartUp.h"
#include "keyboard/KeyArrays.h"
#include "keyboard/MidiPlay.h"
#include "platform/audio/SdlOutput.h"
#include "platform/media/MediaService.h"
#include "platform/ui/Ui.h"

int main(int argc, char** argv)
{
    if (ui::initialise(argc, argv) != ui::StartResult::Ok)
        return 1;
    keyboard::keyWidgets.allocate();
    keyboard::degreeLabels.allocate();
    ui::registerExitRoutine(app::releaseKeyArrays);
    // Null on a machine without sound: the built-in synthesizer is then listed but stays silent.
    const std::unique_ptr<audio::AudioOutput> sound = audio::openDefaultOutput();
    keyboard::attachSystemOutputs(sound.get());
    // The accompaniment mixes into the same output; without one the engine keeps time silently.
    accompaniment::媒体播放1.attach(media::createMediaEngine(sound.get()));
    ui::loadWindow(app::mainForm());
    const int result = ui::runEventLoop();
    // The devices go before the output their synthesizer renders into.
    keyboard::detachOutputs();
    accompaniment::媒体播放1.attach(nullptr);
    return result;
}
