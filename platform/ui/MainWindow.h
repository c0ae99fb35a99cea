#pragma once
// The program's top-level window: fixed size, key events only while it holds the focus; GUI thread.

#include "platform/ui/Control.h"

#include <QWidget>

#include <map>
#include <set>

namespace ui {

class MainWindow : public QWidget {
public:
    explicit MainWindow(const WindowDesc& desc);

    // Makes the outer size, frame included, the described one once the frame is known.
    void fitOuterSize();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    // A release that may still turn out to be half of an automatic repeat's release-and-press pair.
    struct PendingRelease {
        int modifiers = 0;
        unsigned long timestamp = 0;
        unsigned serial = 0;
    };
    void settleRelease(int virtualKey, unsigned serial);

    QSize m_outerSize;
    KeyHandler m_onKeyDown;
    KeyHandler m_onKeyUp;
    ClickHandler m_onFocusLost;
    // Virtual-key codes whose key-down the handlers have had and whose key-up they have not.
    std::set<int> m_keysDown;
    std::map<int, PendingRelease> m_pendingReleases;
    // The timestamp of each key's last release that reached the handlers.
    std::map<int, unsigned long> m_lastReleases;
    unsigned m_releaseSerial = 0;
};

// The window addressed as a component: caption and stored title data.
class WindowControl : public Control {
public:
    WindowControl(ComponentRef ref, MainWindow* window, const WindowDesc& desc);

    void writeText(int property, std::string_view text) override;
    std::string readText(int property) const override;
    std::vector<uint8_t> readBytes(int property) const override;

private:
    std::vector<uint8_t> m_titleData;
};

} // namespace ui
