#pragma once
// Draws a decoded picture stretched to the widget, animating its frames; GUI thread.

#include "platform/ui/FormTypes.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace ui {

class PictureWidget : public QWidget {
public:
    PictureWidget(QWidget* parent, Colour background, bool animate);

    struct Frame {
        QImage image;
        int delayMs = 0;
    };
    // Drops the shown picture, then shows these frames (none: the background alone).
    void show(std::vector<Frame> frames, int loopCount);
    int frameCount() const { return static_cast<int>(m_frames.size()); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void advance();

    QColor m_background;
    bool m_animate;
    std::vector<Frame> m_frames;
    size_t m_current = 0;
    int m_loopsLeft = 0;   // < 0: forever
    QTimer m_timer;
};

} // namespace ui
