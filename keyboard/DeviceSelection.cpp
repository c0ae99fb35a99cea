#include "keyboard/DeviceSelection.h"

namespace keyboard {

void fillSelectionLists() {}
void onInstrumentSelected() {}
void onDeviceSelected() {}

} // namespace keyboard
