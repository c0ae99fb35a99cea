#include "app/StartUp.h"

#include "accompaniment/DefaultTune.h"
#include "accompaniment/VolumeSlider.h"
#include "app/FormIds.h"
#include "keyboard/DeviceSelection.h"
#include "keyboard/KeyArrays.h"
#include "keyboard/KeyboardBuilder.h"
#include "keyboard/MidiPlay.h"
#include "platform/ui/Ui.h"
#include "resources/Resources.h"

#include <fstream>

namespace app {

std::string tempTunePath() { return ui::tempFolder() + "/苍海一声笑.mid"; }

void writeDefaultTune(const std::string& path)
{
    const auto tune = resources::embeddedTune();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file)
        file.write(reinterpret_cast<const char*>(tune.data()), static_cast<std::streamsize>(tune.size()));
}

void onMainWindowCreated()
{
    writeDefaultTune(tempTunePath());
    keyboard::fillSelectionLists();
    keyboard::buildKeyboard();
    // The slider's position is handed over as if the mouse had been released there.
    accompaniment::onVolumeSliderReleased(ui::readInt(滑块条1, ui::slider::Position), 0, 0);
    accompaniment::openDefaultAccompaniment(tempTunePath());
    ui::enableVisualStyle(1);
}

void onMainWindowDestroyed()
{
    accompaniment::closeAccompaniment();
    keyboard::closeMidiOutput();
}

void releaseKeyArrays()
{
    keyboard::keyWidgets.release();
    keyboard::degreeLabels.release();
}

} // namespace app
