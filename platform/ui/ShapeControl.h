#pragma once
// A flat rectangle shape box: background, an outline inside its bounds, a fill; GUI thread.

#include "platform/ui/Control.h"

namespace ui {

class ShapeControl : public Control {
public:
    ShapeControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc);
};

} // namespace ui
