#include "platform/ui/LabelControl.h"

#include "platform/ui/LabelWidget.h"
#include "platform/ui/Ui.h"

#include <algorithm>

namespace ui {

LabelControl::LabelControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc)
    : Control(Kind::Label, ref, new LabelWidget(parent, desc.label, desc.onLeftReleased)), m_desc(desc)
{
    m_desc.onLeftReleased = nullptr;
    m_tag = desc.tag;
    labelWidget()->setCaption(QString::fromStdString(desc.caption));
}

LabelWidget* LabelControl::labelWidget() const { return static_cast<LabelWidget*>(widget()); }

int32_t LabelControl::readInt(int property) const
{
    switch (property) {
    case label::GradientBorderWidth: return labelWidget()->look().gradientBorderWidth;
    case label::GradientMode: return labelWidget()->look().gradientMode;
    default: return Control::readInt(property);
    }
}

void LabelControl::writeInt(int property, int32_t value)
{
    LabelLook look = labelWidget()->look();
    switch (property) {
    case label::GradientBorderWidth: look.gradientBorderWidth = std::max(value, 5); break;
    case label::GradientMode: look.gradientMode = std::clamp(value, 0, 8); break;
    default: Control::writeInt(property, value); return;
    }
    labelWidget()->setLook(look);
}

std::string LabelControl::readText(int property) const
{
    if (property == label::Caption)
        return labelWidget()->caption().toStdString();
    return Control::readText(property);
}

void LabelControl::writeText(int property, std::string_view text)
{
    if (property == label::Caption)
        labelWidget()->setCaption(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    else
        Control::writeText(property, text);
}

std::unique_ptr<Control> LabelControl::copy(int32_t newId) const
{
    ControlDesc desc = m_desc;
    desc.id = newId;
    desc.tag = m_tag;
    desc.caption = labelWidget()->caption().toStdString();
    desc.label = labelWidget()->look();
    const QRect r = widget()->geometry();
    auto made = std::make_unique<LabelControl>(ComponentRef{ref().window, newId}, widget()->parentWidget(), desc);
    made->labelWidget()->setFont(widget()->font());
    made->place(r.x(), r.y(), r.width(), r.height());
    made->widget()->hide();
    made->widget()->stackUnder(widget());
    return made;
}

} // namespace ui
