#pragma once
// The windowing toolkit as the program's handlers see it: numbered properties of controls named by
// component references, plus a few operations. GUI thread only.

#include "platform/ui/FormTypes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// Property numbers that mean the same for every kind.
enum : int { Left = 0, Top = 1, Width = 2, Height = 3, Tag = 4, Visible = 5, Disabled = 6 };

// Each kind's own property numbers.
namespace label { enum : int { Caption = 8, GradientBorderWidth = 11, GradientMode = 20 }; }
namespace button { enum : int { Caption = 10 }; }
namespace slider { enum : int { PageSize = 15, Minimum = 17, Maximum = 18, Position = 19 }; }
namespace timer { enum : int { Period = 8 }; }
namespace listBox { enum : int { Selected = 16 }; }
namespace comboBox { enum : int { Selected = 19 }; }
namespace picBox { enum : int { Picture = 10 }; }
namespace dialog { enum : int { Title = 9, FileName = 10, Filter = 11 }; }
namespace window { enum : int { Caption = 8, TitleData = 13 }; }

enum class StartResult { Ok, NoDisplay };

// Prepares the run time. Without a display it prints one line that says so and how to use a virtual
// display, and returns NoDisplay.
[[nodiscard]] StartResult initialise(int& argc, char** argv);

// The routine the run time calls once when the program ends, normally or through a run-time error.
void registerExitRoutine(std::function<void()> routine);

// Creates the window hidden, its controls, stacks and shows them, raises the created event, then
// shows the window with the focus. A window that cannot be loaded is a run-time error.
void loadWindow(const WindowDesc& desc);

// Runs until no window of the program is open; then calls the exit routine. Returns 0.
int runEventLoop();

// Destroys every window and its controls without ending the program (tests load windows again).
void destroyAllWindows();

// Ends the program with a run-time error message, after calling the exit routine.
[[noreturn]] void runtimeError(std::string_view message);

int32_t readInt(ComponentRef ref, int property);
void writeInt(ComponentRef ref, int property, int32_t value);
std::string readText(ComponentRef ref, int property);
void writeText(ComponentRef ref, int property, std::string_view text);
std::vector<uint8_t> readBytes(ComponentRef ref, int property);
void writeBytes(ComponentRef ref, int property, const std::vector<uint8_t>& bytes);

// Appends an item to a list box or combo box.
void appendItem(ComponentRef ref, std::string_view text);
int itemCount(ComponentRef ref);
std::string itemText(ComponentRef ref, int index);

// Copies a control at run time: same kind, window and settings, no event handlers, a fresh id,
// stacked directly beneath the template and hidden. The new reference goes into `slot`.
void copyControl(ComponentRef templ, ComponentRef& slot);

// Gives the keyboard focus to the window (or a control).
void setFocus(ComponentRef ref);

// Dispatches every event already waiting, then returns.
void processPendingEvents();

// Shows an open-file dialog modally; true when the user confirmed a file (its path is then the
// dialog's file name), false when cancelled.
[[nodiscard]] bool openFileDialog(ComponentRef dialog);

// Tests put a scripted dialog here: it gets the title, the filter and the initial file name and
// returns the chosen path, or nothing for a cancel. An empty function restores the real dialog.
struct DialogRequest {
    std::string title, filter, fileName;
};
using DialogDriver = std::function<std::optional<std::string>(const DialogRequest&)>;
void setDialogDriver(DialogDriver driver);

// The temporary folder with a trailing separator, or an empty text when the system gives none.
std::string tempFolder();

// Restyles buttons, edit boxes, combo boxes and up-down controls of every window, also later ones.
// Schemes 1, 2, 3 differ in the border colour.
void enableVisualStyle(int scheme);

} // namespace ui
