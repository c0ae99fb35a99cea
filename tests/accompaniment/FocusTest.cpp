// Every click and release handler gives the keyboard focus back to the window, so that the next key
// press plays at once; the timer's tick leaves the focus where it is.

#include "accompaniment/MediaPlayer.h"
#include "accompaniment/Progress.h"
#include "accompaniment/Transport.h"
#include "accompaniment/VolumeSlider.h"
#include "app/FormIds.h"
#include "platform/media/testing/RecordingMediaService.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Ui.h"
#include "score/ScoreLoading.h"
#include "tests/support/MainWindowFixture.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

QWidget* widgetOf(ui::ComponentRef ref) { return ui::Toolkit::instance().find(ref).widget(); }

class HandlerFocus : public testing_support::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        accompaniment::媒体播放1.attach(std::make_unique<media::RecordingMediaService>());
        loadWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(widgetOf(app::主窗口)));
        ui::setDialogDriver([](const ui::DialogRequest&) { return std::nullopt; });   // every dialog is cancelled
    }

    void TearDown() override
    {
        ui::setDialogDriver({});
        MainWindowFixture::TearDown();
        accompaniment::媒体播放1.attach(nullptr);
    }
};

TEST_F(HandlerFocus, HandlersGiveTheFocusBackToTheWindow)
{
    const std::pair<const char*, std::function<void()>> handlers[] = {
        {"load accompaniment (cancelled)", accompaniment::onLoadAccompanimentClicked},
        {"play", accompaniment::onPlayClicked},
        {"pause", accompaniment::onPauseClicked},
        {"stop", accompaniment::onStopClicked},
        {"release on the bar", [] { accompaniment::onProgressFrameReleased(80, 3, 0); }},
        {"release on the fill", [] { accompaniment::onProgressFillReleased(5, 3, 0); }},
        {"release on the slider", [] { accompaniment::onVolumeSliderReleased(80, 3, 0); }},
        {"load score (cancelled)", score::onLoadScoreClicked},
    };
    QWidget* window = widgetOf(app::主窗口);
    for (const auto& [what, handler] : handlers) {
        ui::setFocus(app::列表框1);
        ASSERT_FALSE(window->hasFocus()) << what;
        handler();
        EXPECT_TRUE(window->hasFocus()) << what;
    }
}

TEST_F(HandlerFocus, TheTickLeavesTheFocusWhereItIs)
{
    ui::setFocus(app::列表框1);
    accompaniment::onProgressTick();
    EXPECT_TRUE(widgetOf(app::列表框1)->hasFocus());
}

} // namespace
