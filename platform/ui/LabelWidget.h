#pragma once
// The widget that draws a label: flat or gradient background, wrapped caption, thin border; GUI thread.

#include "platform/ui/FormTypes.h"

#include <QWidget>

namespace ui {

class LabelWidget : public QWidget {
public:
    LabelWidget(QWidget* parent, const LabelLook& look, MouseHandler onReleased);

    const LabelLook& look() const { return m_look; }
    void setLook(const LabelLook& look);
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // The area inside the border, in widget coordinates.
    QRect innerRect() const;

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void drawCaption(class QPainter& painter, const QRect& inner) const;

    LabelLook m_look;
    QString m_caption;
    MouseHandler m_onReleased;
};

// The button-face colour that a default background takes.
Colour buttonFace();

} // namespace ui
