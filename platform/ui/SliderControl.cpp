#include "platform/ui/SliderControl.h"

#include "platform/ui/MouseRelease.h"
#include "platform/ui/Ui.h"

#include <QMouseEvent>
#include <QSlider>

#include <algorithm>

namespace ui {
namespace {

// The released handler runs before the trackbar handles the release itself.
class ReleasingSlider : public QSlider {
public:
    ReleasingSlider(QWidget* parent, MouseHandler onReleased)
        : QSlider(Qt::Horizontal, parent), m_onReleased(std::move(onReleased)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        reportLeftRelease(m_onReleased, event);
        QSlider::mouseReleaseEvent(event);
    }

private:
    MouseHandler m_onReleased;
};

} // namespace

SliderControl::SliderControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc)
    : Control(Kind::SliderBar, ref, new ReleasingSlider(parent, desc.onLeftReleased))
{
    auto* slider = static_cast<QSlider*>(widget());
    slider->setRange(desc.slider.minimum, desc.slider.maximum);
    slider->setPageStep(desc.slider.pageSize);
    slider->setSingleStep(desc.slider.lineSize);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(desc.slider.tickFrequency);
    slider->setValue(desc.slider.position);
    m_position = desc.slider.position;
    // The user's moves of the thumb are stored; writes block this.
    QObject::connect(slider, &QSlider::valueChanged, slider, [this](int value) { m_position = value; });
    m_tag = desc.tag;
}

int32_t SliderControl::readInt(int property) const
{
    const auto* slider = static_cast<QSlider*>(widget());
    switch (property) {
    case slider::PageSize: return slider->pageStep();
    case slider::Minimum: return slider->minimum();
    case slider::Maximum: return slider->maximum();
    case slider::Position: return m_position;
    default: return Control::readInt(property);
    }
}

void SliderControl::writeInt(int property, int32_t value)
{
    auto* slider = static_cast<QSlider*>(widget());
    if (property != slider::Position) {
        Control::writeInt(property, value);
        return;
    }
    m_position = std::clamp(value, 0, 32767);
    QSignalBlocker block(slider);
    slider->setValue(std::clamp(value, slider->minimum(), slider->maximum()));
}

} // namespace ui
