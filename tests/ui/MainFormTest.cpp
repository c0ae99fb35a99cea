// The stored main window as start-up loads it.

#include "app/FormIds.h"
#include "app/StartUp.h"
#include "platform/ui/PictureControl.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Ui.h"
#include "resources/Resources.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using testing_support::MainWindowFixture;

QWidget* widgetOf(ui::ComponentRef ref) { return ui::Toolkit::instance().find(ref).widget(); }

std::vector<uint8_t> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MainForm : public MainWindowFixture {};

TEST_F(MainForm, WindowHasItsCaptionSizeAndColour)
{
    loadWindow();
    QWidget* window = widgetOf(app::主窗口);
    EXPECT_EQ(window->windowTitle().toStdString(), "电脑钢琴");
    EXPECT_EQ(window->frameGeometry().size(), QSize(696, 696));
    EXPECT_EQ(window->grab().toImage().pixelColor(150, 680), QColor(0, 136, 255));
    EXPECT_EQ(ui::readInt(app::标签4, ui::label::GradientBorderWidth), 1024);
    EXPECT_EQ(ui::readText(app::通用对话框1, ui::dialog::Title), "墨弦生的36键MIDI电子琴");
    EXPECT_EQ(ui::readText(app::按钮2, ui::button::Caption), "载入伴奏");
    const auto title = resources::titleData();
    EXPECT_EQ(ui::readBytes(app::主窗口, ui::window::TitleData), std::vector<uint8_t>(title.begin(), title.end()));
    EXPECT_TRUE(qApp->styleSheet().contains("rgb(123, 158, 189)")) << "the visual style is on";
}

TEST_F(MainForm, ControlsAreStackedInFormOrderWithTemplatesHidden)
{
    loadWindow();
    // Bottom to top: the reverse of the form order, counting only controls the window shows or hides.
    const std::vector<ui::ComponentRef> bottomToTop{
        app::标签1, app::标签2, app::组合框1, app::标签3, app::列表框1, app::图片框1, app::按钮1,
        app::按钮2, app::外形框1, app::滑块条1, app::按钮3, app::按钮4, app::按钮5};
    const QObjectList children = widgetOf(app::主窗口)->children();
    int previous = -1;
    for (ui::ComponentRef ref : bottomToTop) {
        const int at = static_cast<int>(children.indexOf(widgetOf(ref)));
        EXPECT_GT(at, previous) << "component " << ref.component;
        previous = at;
    }
    for (ui::ComponentRef templ : {app::标签1, app::标签2, app::标签3})
        EXPECT_EQ(ui::readInt(templ, ui::Visible), 0);
    EXPECT_EQ(widgetOf(app::标签4)->parentWidget(), widgetOf(app::外形框1));
    EXPECT_EQ(ui::readInt(app::按钮5, ui::Left), 88);
    EXPECT_EQ(ui::readInt(app::图片框1, ui::Width), 504);
}

TEST_F(MainForm, StoredScorePictureShowsStretched)
{
    loadWindow();
    auto& box = static_cast<ui::PictureControl&>(ui::Toolkit::instance().find(app::图片框1));
    EXPECT_EQ(box.frameCount(), 1);
    const QImage shown = widgetOf(app::图片框1)->grab().toImage();
    EXPECT_EQ(shown.size(), QSize(504, 512));
    EXPECT_NE(shown.pixelColor(10, 10), QColor(0, 136, 255)) << "the picture covers the background";
}

TEST_F(MainForm, TuneFileIsRewrittenAtEveryStart)
{
    const std::filesystem::path tune = app::tempTunePath();
    EXPECT_NE(app::tempTunePath().find("//苍海一声笑.mid"), std::string::npos);
    std::ofstream(tune, std::ios::binary) << std::string(50000, 'x');
    loadWindow();
    const auto embedded = resources::embeddedTune();
    EXPECT_EQ(readFile(tune), std::vector<uint8_t>(embedded.begin(), embedded.end()));
}

TEST_F(MainForm, StartGoesOnWhenTheTuneCannotBeWritten)
{
    setenv("TMPDIR", (m_tempDir / "missing" / "deeper").c_str(), 1);
    loadWindow();
    EXPECT_TRUE(widgetOf(app::主窗口)->isVisible());
}

} // namespace
