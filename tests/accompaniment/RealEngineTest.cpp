// The default tune through the handlers and the real media engine, its output pulled offline: the
// bar follows what has been rendered, and the sound is not silent.

#include "accompaniment/MediaPlayer.h"
#include "accompaniment/Progress.h"
#include "accompaniment/Transport.h"
#include "app/FormIds.h"
#include "platform/audio/OfflineOutput.h"
#include "platform/ui/Ui.h"
#include "tests/support/MainWindowFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using accompaniment::媒体播放1;

constexpr int kRate = 48000;
constexpr int kBuffer = 256;

class RealEngine : public testing_support::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        媒体播放1.attach(media::createMediaEngine(&m_output));
        loadWindow();   // start-up opens the default tune
    }

    void TearDown() override
    {
        MainWindowFixture::TearDown();
        媒体播放1.attach(nullptr);   // the engine mixes into m_output, so it goes first
    }

    // Renders `seconds` of sound, as the device's callback would; returns its RMS level.
    double pull(double seconds)
    {
        std::vector<float> block(size_t(kBuffer) * 2);
        double sum = 0;
        const int blocks = static_cast<int>(seconds * kRate / kBuffer);
        for (int i = 0; i < blocks; ++i) {
            m_output.pull(block.data(), kBuffer);
            for (float s : block)
                sum += double(s) * s;
        }
        return std::sqrt(sum / (double(blocks) * kBuffer * 2));
    }

    audio::OfflineOutput m_output{kRate, kBuffer};
};

TEST_F(RealEngine, TheDefaultTunePlaysOnPlayAndTheBarFollowsIt)
{
    accompaniment::onPlayClicked();
    const int scale = ui::readInt(app::标签4, ui::label::GradientBorderWidth);
    EXPECT_GT(scale, 600) << "a tune of about two minutes over 160 pixels";
    EXPECT_LT(scale, 1000);

    const double level = pull(8.0);
    EXPECT_GT(level, 1e-3) << "the tune sounds";
    const int32_t position = 媒体播放1.mediaPosition();
    // 8 seconds rendered, within one buffer of the device.
    EXPECT_NEAR(position, 8000, 1000.0 * kBuffer / kRate + 1);
    accompaniment::onProgressTick();
    EXPECT_EQ(ui::readInt(app::标签4, ui::Width), position / scale);

    // Paused, the position holds however much is rendered.
    accompaniment::onPauseClicked();
    const int32_t paused = 媒体播放1.mediaPosition();
    pull(1.0);
    EXPECT_EQ(媒体播放1.mediaPosition(), paused);

    // A release at x = 80 seeks to 80 pixels' worth of the tune.
    accompaniment::onProgressFrameReleased(80, 8, 0);
    EXPECT_NEAR(媒体播放1.mediaPosition(), 80 * scale, 1000.0 * kBuffer / kRate + 1);
    pull(1.0);
    EXPECT_GT(媒体播放1.mediaPosition(), 80 * scale);
}

} // namespace
