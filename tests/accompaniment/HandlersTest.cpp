// The accompaniment's handlers on the real main window, with a recording media service behind the
// player: start-up, loading, transport, the progress bar and its title, seeking and the volume.

#include "accompaniment/MediaPlayer.h"
#include "accompaniment/Progress.h"
#include "accompaniment/Transport.h"
#include "accompaniment/VolumeSlider.h"
#include "app/FormIds.h"
#include "platform/media/testing/RecordingMediaService.h"
#include "platform/ui/Ui.h"
#include "tests/support/MainWindowFixture.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using accompaniment::媒体播放1;
using media::RecordingMediaService;
using Strings = std::vector<std::string>;

constexpr uint32_t kFailure = 6;
constexpr const char* kStoredTitle = "电脑钢琴 - 用键盘弹奏";

class Accompaniment : public testing_support::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        auto service = std::make_unique<RecordingMediaService>();
        m_service = service.get();
        媒体播放1.attach(std::move(service));
        loadWindow();
        m_startUpCalls = m_service->calls();
        // The player lives as long as the program: every test begins with its pause flag clear.
        媒体播放1.playFrom(0);
        m_service->clearCalls();
    }

    void TearDown() override
    {
        ui::setDialogDriver({});
        MainWindowFixture::TearDown();
        媒体播放1.attach(nullptr);
    }

    static std::string cmd(std::string pattern)
    {
        for (size_t at; (at = pattern.find("%s")) != std::string::npos;)
            pattern.replace(at, 2, 媒体播放1.alias());
        return pattern;
    }

    // The dialog answers with `chosen` (nothing: cancel) and remembers what it was shown.
    void scriptDialog(std::optional<std::string> chosen)
    {
        ui::setDialogDriver([this, chosen](const ui::DialogRequest& request) {
            m_dialogRequests.push_back(request);
            return chosen;
        });
    }

    void play(const std::string& lengthReply)
    {
        m_service->script("status %s length", lengthReply);
        accompaniment::onPlayClicked();
    }

    void tickAt(const std::string& positionReply, uint32_t code = 0)
    {
        m_service->script("status %s position", positionReply, code);
        accompaniment::onProgressTick();
    }

    static int fill() { return ui::readInt(app::标签4, ui::Width); }
    static int scale() { return ui::readInt(app::标签4, ui::label::GradientBorderWidth); }
    static int period() { return ui::readInt(app::时钟1, ui::timer::Period); }
    static std::string windowCaption() { return ui::readText(app::主窗口, ui::window::Caption); }

    RecordingMediaService* m_service = nullptr;
    std::vector<RecordingMediaService::Call> m_startUpCalls;
    std::vector<ui::DialogRequest> m_dialogRequests;
};

TEST_F(Accompaniment, StartUpSetsTheVolumeThenOpensTheDefaultTuneWithoutPlayingIt)
{
    ASSERT_EQ(m_startUpCalls.size(), 4u);
    EXPECT_EQ(m_startUpCalls[0].command, cmd("setaudio %s left volume to 460"));
    EXPECT_EQ(m_startUpCalls[1].command, cmd("setaudio %s right volume to 460"));
    EXPECT_EQ(m_startUpCalls[2].command, cmd("close %s"));
    EXPECT_EQ(m_startUpCalls[3].kind, RecordingMediaService::Call::Kind::Open);
    EXPECT_EQ(m_startUpCalls[3].deviceType, "Sequencer");
    EXPECT_EQ(m_startUpCalls[3].element, ui::tempFolder() + "/苍海一声笑.mid");
    EXPECT_EQ(m_startUpCalls[3].alias, 媒体播放1.alias());
    EXPECT_EQ(ui::readInt(app::滑块条1, ui::slider::Position), 46) << "75 × 100 / 160, truncated";
    EXPECT_EQ(period(), 0);
    EXPECT_EQ(ui::readText(app::按钮2, ui::button::Caption), "载入伴奏");
    EXPECT_EQ(windowCaption(), "电脑钢琴");
}

TEST_F(Accompaniment, PlayPausePauseStopSendTheirCommandsInOrder)
{
    play("240000");
    EXPECT_EQ(scale(), 1500);
    EXPECT_EQ(fill(), 0);
    EXPECT_EQ(period(), 998);
    accompaniment::onPauseClicked();
    EXPECT_EQ(period(), 0);
    accompaniment::onPauseClicked();
    EXPECT_EQ(period(), 0) << "resuming leaves the bar still";
    accompaniment::onStopClicked();
    accompaniment::onPauseClicked();   // the flag survived the stop: this one resumes
    EXPECT_EQ(m_service->commands(),
              (Strings{cmd("set %s time format milliseconds"), cmd("status %s length"), cmd("play %s from 0"),
                       cmd("pause %s"), cmd("resume %s"), cmd("stop %s"), cmd("seek %s to start"), cmd("pause %s")}));
}

TEST_F(Accompaniment, PlayWithNothingOpenGetsTheSmallestScaleAndStillStartsTheTimer)
{
    m_service->script("status %s length", "", kFailure);
    accompaniment::onPlayClicked();
    EXPECT_EQ(scale(), 5);
    EXPECT_EQ(period(), 998);
    tickAt("", kFailure);
    EXPECT_EQ(fill(), 0);
    EXPECT_EQ(period(), 998) << "a position of -1 never reaches the end";
}

TEST_F(Accompaniment, LoadOpensTheChosenFileAndPlaysIt)
{
    const std::string path = m_tempDir.string() + "/伴奏/Song.MP3";
    scriptDialog(path);
    accompaniment::onLoadAccompanimentClicked();
    ASSERT_EQ(m_dialogRequests.size(), 1u);
    EXPECT_EQ(m_dialogRequests[0].filter, "音乐文件|*.mp3;*.wav;*.mid");
    EXPECT_EQ(ui::readText(app::按钮2, ui::button::Caption), "Song.MP3");
    EXPECT_EQ(windowCaption(), "墨弦生的36键MIDI电子琴正在打开" + path);
    EXPECT_EQ(period(), 998);
    const auto& calls = m_service->calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[0].command, cmd("close %s"));
    EXPECT_EQ(calls[1].deviceType, "MPEGvideo");
    EXPECT_EQ(calls[1].element, path);
    EXPECT_EQ(calls[4].command, cmd("play %s from 0"));

    tickAt("0");
    EXPECT_EQ(windowCaption(), kStoredTitle) << "the first tick puts the stored title back";
}

TEST_F(Accompaniment, FailedLoadNamesNoFileAndPlaysNothing)
{
    const std::string path = m_tempDir.string() + "/noise.wav";
    m_service->setOpenResult(kFailure);
    scriptDialog(path);
    accompaniment::onLoadAccompanimentClicked();
    EXPECT_EQ(ui::readText(app::按钮2, ui::button::Caption), "伴奏音乐文件");
    EXPECT_EQ(windowCaption(), "墨弦生的36键MIDI电子琴正在打开" + path);
    EXPECT_EQ(period(), 0) << "the timer keeps its state";
    EXPECT_EQ(m_service->commands(), Strings{cmd("close %s")}) << "the old file is closed all the same";
}

TEST_F(Accompaniment, CancelledLoadChangesNothing)
{
    play("240000");
    m_service->clearCalls();
    scriptDialog(std::nullopt);
    accompaniment::onLoadAccompanimentClicked();
    EXPECT_TRUE(m_service->calls().empty());
    EXPECT_EQ(ui::readText(app::按钮2, ui::button::Caption), "载入伴奏");
    EXPECT_EQ(windowCaption(), "电脑钢琴");
    EXPECT_EQ(period(), 998);
}

TEST_F(Accompaniment, TicksMoveTheFillAndStopTheTimerAtTheLastPixel)
{
    struct Tick {
        const char* position;
        int fill;
        bool running;
    };
    const struct {
        const char* length;
        int scale;
        std::vector<Tick> ticks;
    } cases[] = {
        // Four minutes: 1500 ms a pixel; the timer stops once 238,500 ms are reached.
        {"240000", 1500, {{"60000", 40, true}, {"238499", 158, true}, {"238500", 159, false}}},
        // 100,500 ms: the scale is 628, not 628.125, so the bar is full 648 ms early.
        {"100500", 628, {{"99851", 158, true}, {"99852", 159, false}}},
        // Shorter than 800 ms: the smallest scale, and the bar never fills.
        {"500", 5, {{"250", 50, true}, {"500", 100, true}}},
    };
    for (const auto& c : cases) {
        play(c.length);
        EXPECT_EQ(scale(), c.scale) << c.length;
        for (const Tick& t : c.ticks) {
            tickAt(t.position);
            EXPECT_EQ(fill(), t.fill) << c.length << " at " << t.position;
            EXPECT_EQ(period() != 0, t.running) << c.length << " at " << t.position;
            EXPECT_EQ(windowCaption(), kStoredTitle) << "every tick, the stopping one too";
        }
    }
}

TEST_F(Accompaniment, ReleasingOverTheBarPlaysFromThatPlace)
{
    // Before ▲ the scale is the label's stored 1024, counted in the device's own time format.
    accompaniment::onProgressFrameReleased(80, 8, 0);
    play("240000");
    m_service->clearCalls();
    accompaniment::onProgressFrameReleased(80, 8, 0);
    accompaniment::onProgressFillReleased(80, 3, 1);
    accompaniment::onPauseClicked();
    accompaniment::onProgressFrameReleased(0, 0, 0);   // a seek while paused plays again
    accompaniment::onPauseClicked();
    EXPECT_EQ(m_service->commands(), (Strings{cmd("play %s from 120000"), cmd("play %s from 120000"),
                                              cmd("pause %s"), cmd("play %s from 0"), cmd("pause %s")}));
    EXPECT_EQ(period(), 0);

    // An absurd scale times the farthest release still gives a defined number.
    ui::writeInt(app::标签4, ui::label::GradientBorderWidth, 2147483647);
    m_service->clearCalls();
    accompaniment::onProgressFrameReleased(65535, 0, 0);
    EXPECT_EQ(m_service->commands(), Strings{cmd("play %s from 2147483647")});
}

TEST_F(Accompaniment, ReleaseBeforeAnyPlayUsesTheStoredScale)
{
    accompaniment::onProgressFrameReleased(80, 8, 0);
    EXPECT_EQ(m_service->commands(), Strings{cmd("play %s from 81920")});
}

TEST_F(Accompaniment, SliderPositionFollowsTheReleaseAndSetsBothVolumes)
{
    const struct {
        int x, position;
        const char* volume;   // nullptr: nothing sent
    } cases[] = {
        {0, 0, "0"},     {80, 50, "500"},  {159, 99, "990"}, {160, 100, "1000"},
        {200, 125, nullptr},                  // right of the slider: the thumb shows 100
        {65531, 32767, nullptr},              // left of it, as an unsigned 16-bit number
    };
    for (const auto& c : cases) {
        m_service->clearCalls();
        accompaniment::onVolumeSliderReleased(c.x, 16, 0);
        EXPECT_EQ(ui::readInt(app::滑块条1, ui::slider::Position), c.position) << c.x;
        const Strings expected = c.volume ? Strings{cmd("setaudio %s left volume to ") + c.volume,
                                                    cmd("setaudio %s right volume to ") + c.volume}
                                          : Strings{};
        EXPECT_EQ(m_service->commands(), expected) << c.x;
    }
}

TEST_F(Accompaniment, ClosingTheWindowClosesTheDevice)
{
    ui::destroyAllWindows();
    EXPECT_EQ(m_service->commands(), Strings{cmd("close %s")});
}

} // namespace
