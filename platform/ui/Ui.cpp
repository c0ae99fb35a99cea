#include "platform/ui/Ui.h"

#include "platform/ui/DialogControl.h"
#include "platform/ui/ListControl.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/Toolkit.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace ui {
namespace {

bool hasDisplay()
{
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

const char* g_programName = "piano";

void printNoDisplay(const char* why)
{
    std::fprintf(stderr, "piano: no display (%s); start it on a desktop, or under a virtual display: "
                         "xvfb-run -a %s\n", why, g_programName);
}

// While the run time starts, the platform's own complaints are held back: a display that cannot be
// reached becomes one clear line instead of a stack of messages and an abort.
void quietStartMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        printNoDisplay("the display cannot be reached");
        std::_Exit(1);
    }
    const bool platformChatter = context.category && std::string_view(context.category).starts_with("qt.qpa");
    if (!platformChatter)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// Esc without modifiers closes the window from whichever of its controls holds the focus.
class EscapeCloses : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier || !widget)
            return false;
        auto* window = dynamic_cast<MainWindow*>(widget->window());
        if (!window)
            return false;
        window->close();
        return true;
    }
};

ListControl& listControl(ComponentRef ref)
{
    Control& control = Toolkit::instance().find(ref);
    if (control.kind() != Kind::ListBox && control.kind() != Kind::ComboBox)
        runtimeError("component " + std::to_string(ref.component) + " holds no items");
    return static_cast<ListControl&>(control);
}

} // namespace

StartResult initialise(int& argc, char** argv)
{
    if (argc > 0 && argv[0])
        g_programName = argv[0];
    if (!hasDisplay()) {
        printNoDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
        return StartResult::NoDisplay;
    }
    if (!QApplication::instance()) {
        const QtMessageHandler previous = qInstallMessageHandler(quietStartMessages);
        new QApplication(argc, argv);
        qInstallMessageHandler(previous);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        // The default GUI font: a CJK-capable sans of 12 pixels.
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(12);
        QApplication::setFont(font);
        qApp->installEventFilter(new EscapeCloses);
    }
    return StartResult::Ok;
}

void registerExitRoutine(std::function<void()> routine) { Toolkit::instance().setExitRoutine(std::move(routine)); }

void loadWindow(const WindowDesc& desc) { Toolkit::instance().load(desc); }

int runEventLoop() { return Toolkit::instance().run(); }

void destroyAllWindows() { Toolkit::instance().destroyAll(); }

void runtimeError(std::string_view message)
{
    std::fprintf(stderr, "piano: run-time error: %.*s\n", static_cast<int>(message.size()), message.data());
    std::fflush(stderr);
    Toolkit::instance().callExitRoutine();
    std::_Exit(1);
}

int32_t readInt(ComponentRef ref, int property) { return Toolkit::instance().find(ref).readInt(property); }
void writeInt(ComponentRef ref, int property, int32_t value) { Toolkit::instance().find(ref).writeInt(property, value); }
std::string readText(ComponentRef ref, int property) { return Toolkit::instance().find(ref).readText(property); }
void writeText(ComponentRef ref, int property, std::string_view text) { Toolkit::instance().find(ref).writeText(property, text); }
std::vector<uint8_t> readBytes(ComponentRef ref, int property) { return Toolkit::instance().find(ref).readBytes(property); }
void writeBytes(ComponentRef ref, int property, const std::vector<uint8_t>& bytes) { Toolkit::instance().find(ref).writeBytes(property, bytes); }

void appendItem(ComponentRef ref, std::string_view text) { listControl(ref).append(text); }
int itemCount(ComponentRef ref) { return listControl(ref).count(); }
std::string itemText(ComponentRef ref, int index) { return listControl(ref).item(index); }

void copyControl(ComponentRef templ, ComponentRef& slot) { Toolkit::instance().copy(templ, slot); }

void setFocus(ComponentRef ref)
{
    Control& control = Toolkit::instance().find(ref);
    if (QWidget* widget = control.widget()) {
        if (control.kind() == Kind::Window)
            widget->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool openFileDialog(ComponentRef dialog)
{
    Control& control = Toolkit::instance().find(dialog);
    if (control.kind() != Kind::CommonDlg)
        runtimeError("component " + std::to_string(dialog.component) + " is no file dialog");
    return static_cast<DialogControl&>(control).open(Toolkit::instance().dialogDriver());
}

void setDialogDriver(DialogDriver driver) { Toolkit::instance().dialogDriver() = std::move(driver); }

std::string tempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? tmp : "/tmp";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace ui
