#pragma once
// A window timer with a period in milliseconds, 0 meaning stopped; GUI thread.

#include "platform/ui/Control.h"

#include <QTimer>

namespace ui {

class TimerControl : public Control {
public:
    TimerControl(ComponentRef ref, const ControlDesc& desc);

    int32_t readInt(int property) const override;
    void writeInt(int property, int32_t value) override;

    // How many times the timer was (re)started; lets tests see that an equal write changed nothing.
    int starts() const { return m_starts; }

private:
    QTimer m_timer;
    int32_t m_period = 0;
    int m_starts = 0;
};

} // namespace ui
