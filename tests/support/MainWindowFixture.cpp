#include "tests/support/MainWindowFixture.h"

#include "app/MainForm.h"
#include "keyboard/KeyArrays.h"
#include "platform/ui/Ui.h"

#include <cstdlib>
#include <random>
#include <string>

namespace testing_support {

void startToolkit()
{
    static int argc = 1;
    static char name[] = "piano-test";
    static char* argv[] = {name, nullptr};
    static const bool started = ui::initialise(argc, argv) == ui::StartResult::Ok;
    ASSERT_TRUE(started);
}

void MainWindowFixture::SetUp()
{
    startToolkit();
    // Tests move TMPDIR about; every test's folder lies in the one the process started with.
    static const std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    m_tempDir = base / ("piano-test-" + std::to_string(random()));
    std::filesystem::create_directories(m_tempDir);
    setenv("TMPDIR", m_tempDir.c_str(), 1);
    keyboard::keyWidgets.allocate();
    keyboard::degreeLabels.allocate();
}

void MainWindowFixture::loadWindow() { ui::loadWindow(app::mainForm()); }

void MainWindowFixture::TearDown()
{
    ui::destroyAllWindows();
    keyboard::keyWidgets.release();
    keyboard::degreeLabels.release();
    std::error_code ignored;
    std::filesystem::remove_all(m_tempDir, ignored);
}

} // namespace testing_support
