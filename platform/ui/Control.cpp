#include "platform/ui/Control.h"

#include "platform/ui/Ui.h"

#include <QWidget>

#include <algorithm>
#include <string>

namespace ui {

int32_t clampCoordinate(int32_t value) { return std::clamp(value, -32627, 32627); }
int32_t clampExtent(int32_t value) { return std::clamp(value, 0, 32627); }

Control::Control(Kind kind, ComponentRef ref, QWidget* widget)
    : m_kind(kind), m_ref(ref), m_widget(widget)
{
}

Control::~Control() = default;

void Control::place(int left, int top, int width, int height)
{
    if (m_widget)
        m_widget->setGeometry(left, top, width, height);
    else
        m_place = QRect(left, top, width, height);
}

int32_t Control::readInt(int property) const
{
    const QRect r = m_widget ? m_widget->geometry() : m_place;
    switch (property) {
    case Left: return r.x();
    case Top: return r.y();
    case Width: return r.width();
    case Height: return r.height();
    case Visible: return m_widget ? m_widget->isVisible() : m_visible;
    case Disabled: return m_widget ? !m_widget->isEnabled() : 0;
    default: badProperty(property, "read");
    }
}

void Control::writeInt(int property, int32_t value)
{
    QRect r = m_widget ? m_widget->geometry() : m_place;
    switch (property) {
    case Left: r.moveLeft(clampCoordinate(value)); break;
    case Top: r.moveTop(clampCoordinate(value)); break;
    case Width: r.setWidth(clampExtent(value)); break;
    case Height: r.setHeight(clampExtent(value)); break;
    case Visible:
        if (m_widget)
            m_widget->setVisible(value != 0);
        else
            m_visible = value != 0;
        return;
    case Disabled:
        if (m_widget)
            m_widget->setEnabled(value == 0);
        return;
    default: badProperty(property, "write");
    }
    place(r.x(), r.y(), r.width(), r.height());
}

std::string Control::readText(int property) const
{
    if (property == Tag)
        return m_tag;
    badProperty(property, "read");
}

void Control::writeText(int property, std::string_view text)
{
    if (property != Tag)
        badProperty(property, "write");
    m_tag = std::string(text);
}

std::vector<uint8_t> Control::readBytes(int property) const { badProperty(property, "read"); }

void Control::writeBytes(int property, const std::vector<uint8_t>&) { badProperty(property, "write"); }

std::unique_ptr<Control> Control::copy(int32_t) const { return nullptr; }

void Control::badProperty(int property, std::string_view access) const
{
    runtimeError("cannot " + std::string(access) + " property " + std::to_string(property) +
                 " of component " + std::to_string(m_ref.component));
}

} // namespace ui
