#include "platform/ui/LabelWidget.h"

#include "platform/ui/GradientRows.h"
#include "platform/ui/MouseRelease.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>

#include <cstdint>

namespace ui {

Colour buttonFace() { return {240, 240, 240}; }

namespace {

QColor toQColor(Colour c) { return QColor(c.r, c.g, c.b); }

// Captions advance by the font's pixel height, as the classic GUI font's lines do, so that a key's
// character lands on the same text line whatever the font's own leading.
int lineAdvance(const QFont& font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
}

} // namespace

LabelWidget::LabelWidget(QWidget* parent, const LabelLook& look, MouseHandler onReleased)
    : QWidget(parent), m_look(look), m_onReleased(std::move(onReleased))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelWidget::setLook(const LabelLook& look)
{
    m_look = look;
    update();
}

void LabelWidget::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

QRect LabelWidget::innerRect() const
{
    return m_look.border == Border::Thin ? rect().adjusted(1, 1, -1, -1) : rect();
}

void LabelWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inner = innerRect();

    const auto rows = m_look.gradientMode != 0 ? gradientRows(m_look.gradient, inner.height())
                                               : std::vector<Colour>{};
    if (!rows.empty()) {
        for (int y = 0; y < inner.height(); ++y)
            painter.fillRect(inner.x(), inner.y() + y, inner.width(), 1, toQColor(rows[static_cast<size_t>(y)]));
    } else {
        painter.fillRect(inner, toQColor(m_look.background.value_or(buttonFace())));
    }

    drawCaption(painter, inner);

    if (m_look.border == Border::Thin) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void LabelWidget::drawCaption(QPainter& painter, const QRect& inner) const
{
    if (m_caption.isEmpty())
        return;
    painter.save();
    painter.setClipRect(inner);
    painter.setPen(toQColor(m_look.textColour));
    painter.setFont(font());

    Qt::Alignment hAlign = Qt::AlignLeft;
    if (m_look.hAlign == HAlign::Centre)
        hAlign = Qt::AlignHCenter;
    else if (m_look.hAlign == HAlign::Right)
        hAlign = Qt::AlignRight;
    QTextOption option(hAlign);
    option.setWrapMode(m_look.wordWrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);

    const int advance = lineAdvance(font());
    QString text = m_caption;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList paragraphs = m_look.wordWrap ? text.split(QLatin1Char('\n'))
                                                   : QStringList{text.remove(QLatin1Char('\n'))};

    int lineCount = 0;
    std::vector<std::unique_ptr<QTextLayout>> layouts;
    for (const QString& paragraph : paragraphs) {
        auto layout = std::make_unique<QTextLayout>(paragraph, font());
        layout->setTextOption(option);
        layout->beginLayout();
        bool any = false;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            line.setLineWidth(inner.width());
            line.setPosition(QPointF(0, lineCount * advance));
            ++lineCount;
            any = true;
        }
        layout->endLayout();
        if (!any)
            ++lineCount;   // an empty paragraph still takes its line
        layouts.push_back(std::move(layout));
    }

    int top = inner.y();
    if (!m_look.wordWrap) {
        if (m_look.vAlign == VAlign::Centre)
            top += (inner.height() - advance) / 2;
        else if (m_look.vAlign == VAlign::Bottom)
            top += inner.height() - advance;
    }
    for (const auto& layout : layouts)
        layout->draw(&painter, QPointF(inner.x(), top));
    painter.restore();
}

void LabelWidget::mousePressEvent(QMouseEvent* event)
{
    // Taking the press makes the release come here, as a label that reports releases needs.
    if (m_onReleased)
        event->accept();
    else
        event->ignore();
}

void LabelWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!reportLeftRelease(m_onReleased, event))
        event->ignore();
}

} // namespace ui
