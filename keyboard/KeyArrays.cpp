#include "keyboard/KeyArrays.h"

#include "platform/ui/Ui.h"

#include <string>

namespace keyboard {

ComponentArray keyWidgets(36);
ComponentArray degreeLabels(21);

ui::ComponentRef& ComponentArray::operator[](int index)
{
    if (index < 1 || index > static_cast<int>(m_slots.size()))
        ui::runtimeError("array index " + std::to_string(index) + " out of bounds 1.." + std::to_string(m_slots.size()));
    return m_slots[static_cast<size_t>(index - 1)];
}

} // namespace keyboard
