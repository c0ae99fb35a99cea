#pragma once
// The instrument list and the output-device combo box; GUI thread.

namespace keyboard {

// Fills both lists, selects their first entries and runs both selection handlers (window creation).
void fillSelectionLists();
void onInstrumentSelected();
void onDeviceSelected();

} // namespace keyboard
