#pragma once
// A list box or a drop-down combo box: items, a selection written without events; GUI thread.

#include "platform/ui/Control.h"

namespace ui {

class ListControl : public Control {
public:
    ListControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc);

    int32_t readInt(int property) const override;
    void writeInt(int property, int32_t value) override;

    void append(std::string_view text);
    int count() const;
    std::string item(int index) const;

private:
    int selected() const;
    void select(int index);

    int m_selectedProperty;
};

} // namespace ui
