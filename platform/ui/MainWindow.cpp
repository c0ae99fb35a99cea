#include "platform/ui/MainWindow.h"

#include "platform/ui/KeyCodes.h"
#include "platform/ui/Ui.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QImage>
#include <QIcon>

namespace ui {

MainWindow::MainWindow(const WindowDesc& desc)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint),
      m_outerSize(desc.width, desc.height),
      m_onKeyDown(desc.onKeyDown),
      m_onKeyUp(desc.onKeyUp),
      m_onFocusLost(desc.onFocusLost)
{
    setWindowTitle(QString::fromStdString(desc.caption));
    setFixedSize(m_outerSize);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(desc.background.r, desc.background.g, desc.background.b));
    setPalette(palette);
    setAutoFillBackground(true);
    // Clicks give the window the focus, Tab never does: it moves on among the controls.
    setFocusPolicy(Qt::ClickFocus);
    // Letters must arrive as key events, not as composed text.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    if (!desc.icon.empty()) {
        QImage icon;
        if (icon.loadFromData(desc.icon.data(), static_cast<int>(desc.icon.size()), "ICO"))
            setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    }
}

void MainWindow::fitOuterSize()
{
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client = m_outerSize - frame;
    if (client != size())
        setFixedSize(client);
}

bool MainWindow::event(QEvent* event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate)
        fitOuterSize();
    return QWidget::event(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (!hasFocus() || !m_onKeyDown) {
        event->ignore();
        return;
    }
    const KeyInput key{event->key(), event->nativeScanCode(), (event->modifiers() & Qt::KeypadModifier) != 0};
    m_onKeyDown(virtualKeyFor(key), modifierState(event->modifiers().toInt()));
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    // X11 reports each automatic repeat as a release and a press; only the real release counts.
    if (!hasFocus() || !m_onKeyUp || event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    const KeyInput key{event->key(), event->nativeScanCode(), (event->modifiers() & Qt::KeypadModifier) != 0};
    m_onKeyUp(virtualKeyFor(key), modifierState(event->modifiers().toInt()));
}

void MainWindow::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (m_onFocusLost)
        m_onFocusLost();
}

WindowControl::WindowControl(ComponentRef ref, MainWindow* window, const WindowDesc& desc)
    : Control(Kind::Window, ref, window), m_titleData(desc.titleData)
{
}

void WindowControl::writeText(int property, std::string_view text)
{
    if (property == window::Caption)
        widget()->setWindowTitle(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    else
        Control::writeText(property, text);
}

std::string WindowControl::readText(int property) const
{
    if (property == window::Caption)
        return widget()->windowTitle().toStdString();
    return Control::readText(property);
}

std::vector<uint8_t> WindowControl::readBytes(int property) const
{
    if (property == window::TitleData)
        return m_titleData;
    return Control::readBytes(property);
}

} // namespace ui
