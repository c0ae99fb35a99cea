#include "platform/ui/PictureWidget.h"

#include <QPainter>

#include <algorithm>

namespace ui {

PictureWidget::PictureWidget(QWidget* parent, Colour background, bool animate)
    : QWidget(parent), m_background(background.r, background.g, background.b), m_animate(animate)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { advance(); });
}

void PictureWidget::show(std::vector<Frame> frames, int loopCount)
{
    m_timer.stop();
    m_frames = std::move(frames);
    m_current = 0;
    m_loopsLeft = loopCount == 0 ? -1 : loopCount - 1;   // passes after the first
    if (m_animate && m_frames.size() > 1)
        m_timer.start(std::max(m_frames.front().delayMs, 20));
    update();
}

void PictureWidget::advance()
{
    if (m_frames.size() < 2)
        return;
    if (++m_current == m_frames.size()) {
        if (m_loopsLeft == 0) {
            m_current = m_frames.size() - 1;   // the animation ends on its last frame
            return;
        }
        if (m_loopsLeft > 0)
            --m_loopsLeft;
        m_current = 0;
    }
    m_timer.start(std::max(m_frames[m_current].delayMs, 20));
    update();
}

void PictureWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_frames.empty()) {
        painter.fillRect(rect(), m_background);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(rect(), m_background);   // under transparent pixels
    painter.drawImage(rect(), m_frames[m_current].image);
}

} // namespace ui
