#include "keyboard/DeviceSelection.h"

#include "app/FormIds.h"
#include "keyboard/MidiPlay.h"
#include "platform/ui/Ui.h"

namespace keyboard {

void fillSelectionLists()
{
    const int instruments = MIDI演奏.instrumentCount();
    for (int i = 1; i <= instruments; ++i)
        ui::appendItem(app::列表框1, MIDI演奏.instrumentName(i));
    const int devices = MIDI演奏.deviceCount();
    for (int j = 1; j <= devices; ++j)
        ui::appendItem(app::组合框1, MIDI演奏.deviceName(j - 1));
    // Setting a selection raises no item-selected event, so both handlers run here. No device is open
    // yet while the instrument handler runs: its Program Change goes nowhere, and the device opened next
    // keeps its own program.
    ui::writeInt(app::列表框1, ui::listBox::Selected, 0);
    ui::writeInt(app::组合框1, ui::comboBox::Selected, 0);
    onInstrumentSelected();
    onDeviceSelected();
}

void onInstrumentSelected()
{
    const int item = ui::readInt(app::列表框1, ui::listBox::Selected);
    MIDI演奏.setInstrument(item + 1);
    // The window's key events fire only while the window itself holds the focus.
    ui::setFocus(app::主窗口);
}

void onDeviceSelected()
{
    const int device = ui::readInt(app::组合框1, ui::comboBox::Selected);
    MIDI演奏.selectDevice(device);
    ui::setFocus(app::主窗口);
}

} // namespace keyboard
