#include "platform/ui/TimerControl.h"

#include "platform/ui/Ui.h"

namespace ui {

TimerControl::TimerControl(ComponentRef ref, const ControlDesc& desc)
    : Control(Kind::Timer, ref, nullptr)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    if (desc.onTick)
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [handler = desc.onTick] { handler(); });
    m_tag = desc.tag;
}

int32_t TimerControl::readInt(int property) const
{
    if (property == timer::Period)
        return m_period;
    return Control::readInt(property);
}

void TimerControl::writeInt(int property, int32_t value)
{
    if (property != timer::Period) {
        Control::writeInt(property, value);
        return;
    }
    const int32_t period = value < 0 ? 0 : value;
    if (period == m_period)
        return;   // a running timer keeps its rhythm
    m_period = period;
    m_timer.stop();
    if (period > 0) {
        m_timer.start(period);
        ++m_starts;
    }
}

} // namespace ui
