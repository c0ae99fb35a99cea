#include "platform/ui/ShapeControl.h"

#include "platform/ui/MouseRelease.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace ui {
namespace {

class ShapeWidget : public QWidget {
public:
    ShapeWidget(QWidget* parent, const ShapeSetup& setup, MouseHandler onReleased)
        : QWidget(parent), m_setup(setup), m_onReleased(std::move(onReleased))
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        auto colour = [](Colour c) { return QColor(c.r, c.g, c.b); };
        painter.fillRect(rect(), colour(m_setup.background));
        // The pen stays inside the bounds: the outline's outer edge is the widget's edge.
        const int w = m_setup.outlineWidth;
        painter.fillRect(rect(), colour(m_setup.outline));
        painter.fillRect(rect().adjusted(w, w, -w, -w), colour(m_setup.fill));
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        if (m_onReleased)
            event->accept();
        else
            event->ignore();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (!reportLeftRelease(m_onReleased, event))
            event->ignore();
    }

private:
    ShapeSetup m_setup;
    MouseHandler m_onReleased;
};

} // namespace

ShapeControl::ShapeControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc)
    : Control(Kind::ShapeBox, ref, new ShapeWidget(parent, desc.shape, desc.onLeftReleased))
{
    m_tag = desc.tag;
}

} // namespace ui
