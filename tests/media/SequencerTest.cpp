#include "platform/audio/OfflineOutput.h"
#include "platform/media/MediaService.h"
#include "tests/media/SmfBuilder.h"
#include "tests/media/Signal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace media::testing;

namespace {

constexpr int kRate = 44100;
const std::string kAlias = "fedcba9876543210fedcba9876543210";

std::string writeFile(const std::string& name, const Bytes& bytes)
{
    const auto dir = std::filesystem::temp_directory_path() / "piano-media-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// One engine for the whole suite: the first sequencer open loads the SoundFont.
class SequencerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_output = new audio::OfflineOutput(kRate, 512);
        s_engine = media::createMediaEngine(s_output).release();
    }
    static void TearDownTestSuite()
    {
        delete s_engine;
        delete s_output;
    }
    void TearDown() override { (void)send("close " + kAlias); }

    static uint32_t send(const std::string& command)
    {
        std::string reply;
        return s_engine->sendString(command, reply);
    }
    static long long status(const std::string& what)
    {
        std::string reply;
        EXPECT_EQ(s_engine->sendString("status " + kAlias + " " + what, reply), 0u);
        return std::stoll(reply);
    }
    static std::string mode()
    {
        std::string reply;
        EXPECT_EQ(s_engine->sendString("status " + kAlias + " mode", reply), 0u);
        return reply;
    }
    static std::vector<float> pullMs(int ms)
    {
        std::vector<float> out(static_cast<size_t>(ms) * kRate / 1000 * 2);
        s_output->pull(out.data(), static_cast<int>(out.size() / 2));
        return out;
    }
    static uint32_t open(const std::string& path) { return s_engine->open("Sequencer", path, kAlias); }

    static inline audio::OfflineOutput* s_output = nullptr;
    static inline media::MediaService* s_engine = nullptr;
};

TEST_F(SequencerTest, PlaysTheScaleAndKeepsTime)
{
    ASSERT_EQ(open(PIANO_CORPUS_DIR "/midi/jazz-soft-test-midi-files/midi/test-c-major-scale.mid"), 0u);
    EXPECT_EQ(status("length"), 4000);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    EXPECT_GT(rms(pullMs(1000)), 0.005);
    EXPECT_EQ(status("position"), 1000);

    ASSERT_EQ(send("pause " + kAlias), 0u);
    pullMs(300);
    EXPECT_EQ(status("position"), 1000);
    ASSERT_EQ(send("resume " + kAlias), 0u);
    pullMs(2500);
    EXPECT_EQ(status("position"), 3500);
    pullMs(1000);
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(status("position"), 4000);
}

// Channel volume 20 set at the start must still hold after a seek past it: the note after the
// seek sounds as quiet as when the song is played through, and far quieter than at full volume.
TEST_F(SequencerTest, SeekRestoresControllers)
{
    const Bytes note = concat({vlq(2000), {0x90, 0x3C, 0x64}, vlq(500), {0x80, 0x3C, 0x40}, kEndOfTrack});
    const std::string quiet = writeFile("quiet.mid", smf(0, kMillisecondTicks, {concat({{0x00, 0xB0, 0x07, 20}, note})}));
    const std::string loud = writeFile("loud.mid", smf(0, kMillisecondTicks, {concat({{0x00, 0xB0, 0x07, 127}, note})}));

    auto seekAndRender = [&](const std::string& path) {
        EXPECT_EQ(open(path), 0u);
        EXPECT_EQ(send("play " + kAlias + " from 1900"), 0u);
        const double level = rms(pullMs(600));
        EXPECT_EQ(send("close " + kAlias), 0u);
        return level;
    };
    const double quietAfterSeek = seekAndRender(quiet);
    const double loudAfterSeek = seekAndRender(loud);

    ASSERT_EQ(open(quiet), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    pullMs(1900);
    const double quietPlayedThrough = rms(pullMs(600));

    EXPECT_GT(quietAfterSeek, 0.0);
    EXPECT_LT(quietAfterSeek, loudAfterSeek * 0.3);
    EXPECT_NEAR(quietAfterSeek, quietPlayedThrough, quietPlayedThrough * 0.25);
}

// An organ note held for ten seconds: after a seek into the middle of it, the old note is silenced
// and, since it began before the new position, not struck again.
TEST_F(SequencerTest, SeekSilencesOldNotes)
{
    const std::string organ = writeFile(
        "organ.mid", smf(0, kMillisecondTicks,
                         {concat({{0x00, 0xC0, 19, 0x00, 0x90, 0x3C, 0x64}, vlq(10000), {0x80, 0x3C, 0x40}, kEndOfTrack})}));
    ASSERT_EQ(open(organ), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    const double sounding = rms(pullMs(500));
    ASSERT_GT(sounding, 0.005);
    ASSERT_EQ(send("play " + kAlias + " from 5000"), 0u);
    const auto after = pullMs(3000);
    EXPECT_LT(rms(after, after.size() * 9 / 10), sounding * 0.01);
    EXPECT_EQ(status("position"), 8000);
}

TEST_F(SequencerTest, VolumeZeroSilencesTheSynth)
{
    ASSERT_EQ(open(PIANO_CORPUS_DIR "/midi/jazz-soft-test-midi-files/midi/test-c-major-scale.mid"), 0u);
    ASSERT_EQ(send("setaudio " + kAlias + " left volume to 0"), 0u);
    ASSERT_EQ(send("setaudio " + kAlias + " right volume to 0"), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    EXPECT_EQ(rms(pullMs(500)), 0.0);
}

} // namespace
