#pragma once
// The stored description of the main window and its twenty controls, with their handlers bound.

#include "platform/ui/FormTypes.h"

namespace app {

ui::WindowDesc mainForm();

} // namespace app
