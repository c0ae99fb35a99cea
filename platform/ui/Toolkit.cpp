#include "platform/ui/Toolkit.h"

#include "platform/ui/ButtonControl.h"
#include "platform/ui/DialogControl.h"
#include "platform/ui/LabelControl.h"
#include "platform/ui/ListControl.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/PictureControl.h"
#include "platform/ui/ShapeControl.h"
#include "platform/ui/SliderControl.h"
#include "platform/ui/TimerControl.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <set>
#include <string>

namespace ui {

Toolkit& Toolkit::instance()
{
    static Toolkit toolkit;
    return toolkit;
}

Control* Toolkit::tryFind(ComponentRef ref)
{
    const auto w = m_windows.find(ref.window);
    if (w == m_windows.end())
        return nullptr;
    const auto c = w->second.controls.find(ref.component);
    return c == w->second.controls.end() ? nullptr : c->second.get();
}

Control& Toolkit::find(ComponentRef ref)
{
    if (Control* control = tryFind(ref))
        return *control;
    runtimeError("no component " + std::to_string(ref.component) + " on window " + std::to_string(ref.window));
}

MainWindow* Toolkit::window(int32_t windowId) const
{
    const auto w = m_windows.find(windowId);
    return w == m_windows.end() ? nullptr : w->second.widget;
}

void Toolkit::createControl(LoadedWindow& loaded, const ControlDesc& desc)
{
    const ComponentRef ref{loaded.desc.windowId, desc.id};
    QWidget* parent = loaded.widget;
    if (desc.parentId != 0) {
        Control* container = tryFind({loaded.desc.windowId, desc.parentId});
        if (!container || !container->widget())
            runtimeError("载入启动窗口失败");
        parent = container->widget();
    }
    std::unique_ptr<Control> control;
    switch (desc.kind) {
    case Kind::Label: control = std::make_unique<LabelControl>(ref, parent, desc); break;
    case Kind::Button: control = std::make_unique<ButtonControl>(ref, parent, desc); break;
    case Kind::ListBox:
    case Kind::ComboBox: control = std::make_unique<ListControl>(ref, parent, desc); break;
    case Kind::SliderBar: control = std::make_unique<SliderControl>(ref, parent, desc); break;
    case Kind::ShapeBox: control = std::make_unique<ShapeControl>(ref, parent, desc); break;
    case Kind::PicBox: control = std::make_unique<PictureControl>(ref, parent, desc); break;
    case Kind::Timer: control = std::make_unique<TimerControl>(ref, desc); break;
    case Kind::CommonDlg: control = std::make_unique<DialogControl>(ref, loaded.widget, desc); break;
    case Kind::Window: runtimeError("载入启动窗口失败");
    case Kind::WaveRecord:
    case Kind::MediaPlay:
    case Kind::SysVolume:
    case Kind::MidiPlay: control = std::make_unique<Control>(desc.kind, ref, nullptr); break;
    }
    if (QWidget* w = control->widget())
        w->hide();
    control->place(desc.left, desc.top, desc.width, desc.height);
    if (desc.kind == Kind::PicBox && !desc.picture.empty())
        control->writeBytes(picBox::Picture, desc.picture);
    if (!loaded.controls.emplace(desc.id, std::move(control)).second)
        runtimeError("载入启动窗口失败");
}

void Toolkit::load(const WindowDesc& desc)
{
    if (m_windows.count(desc.windowId) || desc.windowId == 0)
        runtimeError("载入启动窗口失败");
    LoadedWindow& loaded = m_windows[desc.windowId];
    loaded.desc = desc;
    loaded.widget = new MainWindow(desc);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        loaded.widget->move(area.x() + (area.width() - desc.width) / 2, area.y() + (area.height() - desc.height) / 2);
    }
    loaded.controls.emplace(desc.componentId,
                            std::make_unique<WindowControl>(ComponentRef{desc.windowId, desc.componentId},
                                                            loaded.widget, desc));

    // Created last to first, so that a container exists before what lies in it ...
    int32_t highest = desc.componentId;
    for (auto it = desc.controls.rbegin(); it != desc.controls.rend(); ++it) {
        createControl(loaded, *it);
        highest = std::max(highest, it->id);
    }
    loaded.nextId = highest + 1;
    // ... then stacked in form order: the first control lies on top.
    for (auto it = desc.controls.rbegin(); it != desc.controls.rend(); ++it)
        if (QWidget* w = loaded.controls.at(it->id)->widget())
            w->raise();
    for (const ControlDesc& c : desc.controls)
        if (c.visible)
            if (QWidget* w = loaded.controls.at(c.id)->widget())
                w->show();

    // The created handler runs while the window is still hidden.
    if (desc.onCreated)
        desc.onCreated();

    loaded.widget->show();
    loaded.widget->activateWindow();
    loaded.widget->setFocus(Qt::ActiveWindowFocusReason);
}

void Toolkit::copy(ComponentRef templ, ComponentRef& slot)
{
    Control& source = find(templ);
    LoadedWindow& loaded = m_windows.at(templ.window);
    std::unique_ptr<Control> made = source.copy(loaded.nextId);
    if (!made)
        runtimeError("component " + std::to_string(templ.component) + " cannot be copied");
    slot = made->ref();
    loaded.controls.emplace(loaded.nextId++, std::move(made));
}

int Toolkit::run()
{
    if (!m_windows.empty())
        QApplication::exec();
    destroyAll();
    callExitRoutine();
    return 0;
}

void Toolkit::destroyAll()
{
    for (auto& [id, loaded] : m_windows) {
        if (loaded.desc.onDestroyed)
            loaded.desc.onDestroyed();
        MainWindow* widget = loaded.widget;
        loaded.controls.clear();   // controls first: they may refer to their widgets
        delete widget;
    }
    m_windows.clear();
}

void Toolkit::callExitRoutine()
{
    if (m_exitRoutineCalled || !m_exitRoutine)
        return;
    m_exitRoutineCalled = true;
    m_exitRoutine();
}

} // namespace ui
