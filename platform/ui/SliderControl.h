#pragma once
// A horizontal trackbar whose stored position may lie beyond its thumb's range; GUI thread.

#include "platform/ui/Control.h"

namespace ui {

class SliderControl : public Control {
public:
    SliderControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc);

    int32_t readInt(int property) const override;
    void writeInt(int property, int32_t value) override;

private:
    int32_t m_position = 0;   // reads back what was written, within 0..32767
};

} // namespace ui
