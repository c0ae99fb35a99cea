#pragma once
// The run time behind the toolkit's free functions: the application, the loaded windows and their
// controls by reference; GUI thread.

#include "platform/ui/Control.h"
#include "platform/ui/Ui.h"

#include <functional>
#include <map>
#include <memory>

class QApplication;

namespace ui {

class MainWindow;

class Toolkit {
public:
    static Toolkit& instance();

    Control& find(ComponentRef ref);
    Control* tryFind(ComponentRef ref);
    MainWindow* window(int32_t windowId) const;

    void load(const WindowDesc& desc);
    int run();
    // Deletes every window and its controls (the end of a run, or a test's clean-up).
    void destroyAll();
    void copy(ComponentRef templ, ComponentRef& slot);

    void setExitRoutine(std::function<void()> routine) { m_exitRoutine = std::move(routine); }
    void callExitRoutine();
    DialogDriver& dialogDriver() { return m_dialogDriver; }

private:
    struct LoadedWindow {
        WindowDesc desc;
        MainWindow* widget = nullptr;
        std::map<int32_t, std::unique_ptr<Control>> controls;
        int32_t nextId = 0;
    };
    void createControl(LoadedWindow& loaded, const ControlDesc& desc);

    std::map<int32_t, LoadedWindow> m_windows;
    std::function<void()> m_exitRoutine;
    bool m_exitRoutineCalled = false;
    DialogDriver m_dialogDriver;
};

} // namespace ui
