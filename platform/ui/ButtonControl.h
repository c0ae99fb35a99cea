#pragma once
// A push button with a caption; the transport face lays its caption on its side; GUI thread.

#include "platform/ui/Control.h"

namespace ui {

class ButtonControl : public Control {
public:
    ButtonControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc);

    std::string readText(int property) const override;
    void writeText(int property, std::string_view text) override;
};

} // namespace ui
