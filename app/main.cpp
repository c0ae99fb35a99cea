// The program's entry: prepares the run time and the key arrays, loads the main window, runs it.

#include "app/MainForm.h"
#include "app/StartUp.h"
#include "keyboard/KeyArrays.h"
#include "platform/ui/Ui.h"

int main(int argc, char** argv)
{
    if (ui::initialise(argc, argv) != ui::StartResult::Ok)
        return 1;
    keyboard::keyWidgets.allocate();
    keyboard::degreeLabels.allocate();
    ui::registerExitRoutine(app::releaseKeyArrays);
    ui::loadWindow(app::mainForm());
    return ui::runEventLoop();
}
