#pragma once
// A label: caption, gradient mode and gradient-border width over a LabelWidget; GUI thread.

#include "platform/ui/Control.h"

namespace ui {

class LabelWidget;

class LabelControl : public Control {
public:
    LabelControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc);

    LabelWidget* labelWidget() const;

    int32_t readInt(int property) const override;
    void writeInt(int property, int32_t value) override;
    std::string readText(int property) const override;
    void writeText(int property, std::string_view text) override;
    std::unique_ptr<Control> copy(int32_t newId) const override;

private:
    ControlDesc m_desc;   // the settings a copy starts from
};

} // namespace ui
