#include "platform/ui/MainWindow.h"

#include "platform/ui/KeyCodes.h"
#include "platform/ui/Ui.h"

#include <QKeyEvent>
#include <QTimer>
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

namespace {

// How long a release waits for the press that would make it an automatic repeat. X11 sends the two
// together, but they may reach the program in separate reads. A key-up only changes a key's look, so
// the wait is not heard; a real new press of the key settles the release at once.
constexpr int kRepeatWaitMs = 30;

// The release and the press of one X11 repeat carry the same timestamp; 0 (events made by the program
// itself) matches nothing.
bool sameMoment(unsigned long a, unsigned long b) { return a != 0 && a == b; }

KeyInput keyInput(const QKeyEvent* event)
{
    return {event->key(), event->nativeScanCode(), (event->modifiers() & Qt::KeypadModifier) != 0};
}

} // namespace

// The handlers hear only real transitions: a key-down when a key goes down, a key-up when it comes up.
// X11 reports an automatic repeat as a release followed by a press with the same timestamp, and Qt's
// repeat flag misses some of them, so a release is held back until it is clear that no such press
// follows. Both sides are keyed by virtual-key code, which is what the handlers tell keys apart by.
void MainWindow::keyPressEvent(QKeyEvent* event)
{
    if (!hasFocus() || !m_onKeyDown) {
        event->ignore();
        return;
    }
    const int virtualKey = virtualKeyFor(keyInput(event));
    const auto pending = m_pendingReleases.find(virtualKey);
    if (pending != m_pendingReleases.end()) {
        if (event->isAutoRepeat() || sameMoment(event->timestamp(), pending->second.timestamp)) {
            m_pendingReleases.erase(pending);
            return;
        }
        settleRelease(virtualKey, pending->second.serial);
    }
    if (!m_keysDown.insert(virtualKey).second)
        return;
    // A repeat's press that came only after its release had been taken as real (a busy program): the
    // key is down again, but it was never let go, so it does not sound again.
    const auto released = m_lastReleases.find(virtualKey);
    if (released != m_lastReleases.end() && sameMoment(event->timestamp(), released->second))
        return;
    m_onKeyDown(virtualKey, modifierState(event->modifiers().toInt()));
}

void MainWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (!hasFocus() || !m_onKeyUp) {
        event->ignore();
        return;
    }
    const int virtualKey = virtualKeyFor(keyInput(event));
    if (event->isAutoRepeat() || !m_keysDown.count(virtualKey))
        return;
    const unsigned serial = ++m_releaseSerial;
    m_pendingReleases[virtualKey] = {modifierState(event->modifiers().toInt()), event->timestamp(), serial};
    QTimer::singleShot(kRepeatWaitMs, this, [this, virtualKey, serial] { settleRelease(virtualKey, serial); });
}

void MainWindow::settleRelease(int virtualKey, unsigned serial)
{
    const auto pending = m_pendingReleases.find(virtualKey);
    if (pending == m_pendingReleases.end() || pending->second.serial != serial)
        return;
    const int modifiers = pending->second.modifiers;
    m_lastReleases[virtualKey] = pending->second.timestamp;
    m_pendingReleases.erase(pending);
    m_keysDown.erase(virtualKey);
    if (m_onKeyUp)
        m_onKeyUp(virtualKey, modifiers);
}

void MainWindow::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // The releases of keys still down go to whoever has the focus now.
    m_keysDown.clear();
    m_pendingReleases.clear();
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
