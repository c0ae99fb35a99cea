#include "platform/audio/OfflineOutput.h"
#include "platform/media/MediaService.h"
#include "tests/media/Signal.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

using media::MediaError;
using media::code;

using media::testing::rms;

namespace {

constexpr int kRate = 44100;
constexpr int kBuffer = 512;
const std::string kAlias = "0123456789abcdef0123456789abcdef";
const std::string kCorpus = PIANO_CORPUS_DIR;


std::filesystem::path tempDir()
{
    auto dir = std::filesystem::temp_directory_path() / "piano-media-test";
    std::filesystem::create_directories(dir);
    return dir;
}

// A stereo sine file: left at amplitude 0.5, right at 0.25.
std::string writeSine(const std::string& name, int rate, double seconds, double hz = 440.0)
{
    const std::string path = (tempDir() / name).string();
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    const auto frames = static_cast<sf_count_t>(rate * seconds);
    std::vector<float> data(static_cast<size_t>(frames) * 2);
    for (sf_count_t i = 0; i < frames; ++i) {
        const double v = std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate);
        data[2 * i] = static_cast<float>(0.5 * v);
        data[2 * i + 1] = static_cast<float>(0.25 * v);
    }
    sf_writef_float(f, data.data(), frames);
    sf_close(f);
    return path;
}


class MediaEngineTest : public ::testing::Test {
protected:
    audio::OfflineOutput output{kRate, kBuffer};
    std::unique_ptr<media::MediaService> engine = media::createMediaEngine(&output);

    uint32_t send(const std::string& command)
    {
        std::string reply;
        return engine->sendString(command, reply);
    }
    std::string ask(const std::string& command)
    {
        std::string reply;
        EXPECT_EQ(engine->sendString(command, reply), 0u) << command;
        return reply;
    }
    long long position(const std::string& alias = kAlias) { return std::stoll(ask("status " + alias + " position")); }
    long long length(const std::string& alias = kAlias) { return std::stoll(ask("status " + alias + " length")); }
    std::string mode(const std::string& alias = kAlias) { return ask("status " + alias + " mode"); }

    // Pulls frames through the output as the audio device would, returning them interleaved.
    std::vector<float> pull(int frames)
    {
        std::vector<float> out(static_cast<size_t>(frames) * 2);
        output.pull(out.data(), frames);
        return out;
    }
    std::vector<float> pullMs(int ms) { return pull(static_cast<int>(int64_t{ms} * kRate / 1000)); }
};

// The command language: spacing and case, every error code, and replies.
TEST_F(MediaEngineTest, CommandsGiveTheirCodes)
{
    ASSERT_EQ(engine->open("waveaudio", writeSine("two-seconds.wav", kRate, 2.0), kAlias), 0u);
    const std::string a = kAlias;
    struct Case {
        std::string command;
        MediaError expected;
    };
    const Case cases[] = {
        {"status " + a + " length", MediaError::None},
        {"  STATUS\t" + a + "   Length  ", MediaError::None},
        {"status 0123456789ABCDEF0123456789ABCDEF length", MediaError::None},
        {"set " + a + " time format milliseconds", MediaError::None},
        {"set " + a + " time format frames", MediaError::UnsupportedParameter},
        {"set " + a + " time", MediaError::BadSyntax},
        {"play " + a + " from 0", MediaError::None},
        {"play " + a, MediaError::None},
        {"play " + a + " from", MediaError::BadSyntax},
        {"play " + a + " from 10 to 20", MediaError::BadSyntax},
        {"play " + a + " from -5", MediaError::BadNumber},
        {"play " + a + " from 12x", MediaError::BadNumber},
        {"play " + a + " from 2147483648", MediaError::BadNumber},
        {"play " + a + " from 99999999999999999999", MediaError::BadNumber},
        {"play " + a + " from 2147483647", MediaError::None},
        {"pause " + a, MediaError::None},
        {"resume " + a, MediaError::None},
        {"stop " + a, MediaError::None},
        {"seek " + a + " to start", MediaError::None},
        {"seek " + a + " to 1000", MediaError::None},
        {"seek " + a + " to middle", MediaError::BadNumber},
        {"seek " + a, MediaError::BadSyntax},
        {"status " + a + " position", MediaError::None},
        {"status " + a, MediaError::BadSyntax},
        {"status " + a + " colour", MediaError::UnsupportedParameter},
        {"setaudio " + a + " left volume to 0", MediaError::None},
        {"setaudio " + a + " right volume to 1000", MediaError::None},
        {"setaudio " + a + " volume to 460", MediaError::None},
        {"setaudio " + a + " left volume to 1001", MediaError::OutOfRange},
        {"setaudio " + a + " left volume to -1", MediaError::BadNumber},
        {"setaudio " + a + " left volume 5", MediaError::BadSyntax},
        {"setaudio " + a + " up volume to 5", MediaError::BadSyntax},
        {"stop ffffffffffffffffffffffffffffffff", MediaError::UnknownAlias},
        {"play  from 0", MediaError::BadSyntax}, // the empty alias of a failed GUID
        {"stop", MediaError::BadSyntax},
        {"stop " + a + " now", MediaError::BadSyntax},
        {"jump " + a, MediaError::UnknownCommand},
        {"open " + a, MediaError::UnknownCommand},
        {"", MediaError::UnknownCommand},
        {" \t ", MediaError::UnknownCommand},
    };
    for (const Case& c : cases)
        EXPECT_EQ(send(c.command), code(c.expected)) << '"' << c.command << '"';

    EXPECT_EQ(ask("status " + a + " length"), "2000");
    EXPECT_EQ(send("close " + a), 0u);
    EXPECT_EQ(send("status " + a + " length"), code(MediaError::UnknownAlias));
    EXPECT_EQ(send("close " + a), code(MediaError::UnknownAlias));
}

TEST_F(MediaEngineTest, OpenFailsWithItsReason)
{
    const std::string mid = kCorpus + "/midi/jazz-soft-test-midi-files/midi/test-c-major-scale.mid";
    const std::string mp3 = kCorpus + "/mp3/taglib-tests-data/xing.mp3";
    const std::string wav = writeSine("short.wav", kRate, 0.1);
    const std::string mp3NamedMid = (tempDir() / "song.mid").string();
    std::filesystem::copy_file(mp3, mp3NamedMid, std::filesystem::copy_options::overwrite_existing);
    struct Case {
        std::string type, path, alias;
        MediaError expected;
    };
    const Case cases[] = {
        {"avivideo", wav, kAlias, MediaError::UnsupportedDeviceType},
        {"cdaudio", wav, kAlias, MediaError::UnsupportedDeviceType},
        {"MPEGvideo2", mp3, kAlias, MediaError::UnsupportedDeviceType},
        {"", wav, kAlias, MediaError::UnsupportedDeviceType},
        {"Sequencer", "/nonexistent/tune.mid", kAlias, MediaError::CannotOpenFile},
        {"waveaudio", tempDir().string(), kAlias, MediaError::CannotOpenFile},
        {"MPEGvideo", "", kAlias, MediaError::CannotOpenFile},
        {"Sequencer", mp3NamedMid, kAlias, MediaError::BadFileFormat},
        {"Sequencer", kCorpus + "/midi/jazz-soft-test-midi-files/midi/test-not-a-midi-file.mid", kAlias,
         MediaError::BadFileFormat},
        {"waveaudio", mid, kAlias, MediaError::BadFileFormat},
        {"waveaudio", wav, "", MediaError::BadAlias},
        {"waveaudio", wav, "two words", MediaError::BadAlias},
    };
    for (const Case& c : cases)
        EXPECT_EQ(engine->open(c.type, c.path, c.alias), code(c.expected)) << c.type << " " << c.path;

    ASSERT_EQ(engine->open("WAVEAUDIO", wav, kAlias), 0u); // device types compare without case
    EXPECT_EQ(engine->open("waveaudio", wav, kAlias), code(MediaError::AliasInUse));
    EXPECT_EQ(send("close " + kAlias), 0u);
}

TEST_F(MediaEngineTest, SeveralDevicesUpToTheSlotCount)
{
    const std::string wav = writeSine("short.wav", kRate, 0.1);
    int opened = 0;
    uint32_t result = 0;
    while ((result = engine->open("waveaudio", wav, "dev" + std::to_string(opened))) == 0 && opened < 100)
        ++opened;
    EXPECT_EQ(opened, 16);
    EXPECT_EQ(result, code(MediaError::TooManyDevices));
    EXPECT_EQ(send("play dev3 from 0"), 0u);
    EXPECT_EQ(send("close dev0"), 0u);
    pullMs(50);
    EXPECT_EQ(position("dev3"), 50);
    EXPECT_EQ(position("dev4"), 0);
    EXPECT_EQ(engine->open("waveaudio", wav, "again"), 0u);
}

// Lengths against the lengths their suites state (mp3) or sox reports (wav); the tolerance is one
// output buffer, or one mp3 frame of 1152 samples where the decoder's padding counts.
TEST_F(MediaEngineTest, LengthsMatchTheirReferences)
{
    struct Case {
        const char* type;
        std::string path;
        long long lengthMs;
        long long toleranceMs;
    };
    const long long buffer = kBuffer * 1000 / kRate + 1;
    const std::string wav = kCorpus + "/wav/taglib-tests-data/";
    const std::string mp3 = kCorpus + "/mp3/taglib-tests-data/";
    const Case cases[] = {
        {"waveaudio", wav + "alaw.wav", 3550, buffer},
        {"waveaudio", wav + "pcm_with_fact_chunk.wav", 3675, buffer},
        {"waveaudio", wav + "empty.wav", 3675, buffer},
        {"waveaudio", wav + "float64.wav", 97, buffer},
        {"waveaudio", wav + "rf64.wav", 50, buffer},
        {"waveaudio", wav + "uint8we.wav", 2936, buffer},
        {"MPEGvideo", mp3 + "bladeenc.mp3", 3553, 27},
        {"MPEGvideo", mp3 + "xing.mp3", 2064, 27},
        {"MPEGvideo", mp3 + "invalid-frames1.mp3", 392, 27},
        {"MPEGvideo", mp3 + "invalid-frames2.mp3", 314, 27},
        {"MPEGvideo", mp3 + "invalid-frames3.mp3", 183, 27},
        {"Sequencer", kCorpus + "/midi/jazz-soft-test-midi-files/midi/test-c-major-scale.mid", 4000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ASSERT_EQ(engine->open(c.type, c.path, kAlias), 0u);
        EXPECT_NEAR(length(), c.lengthMs, c.toleranceMs);
        EXPECT_EQ(send("close " + kAlias), 0u);
    }
}

// Position follows the frames pulled, pause holds it, a seek moves it, and the end leaves the
// device stopped at its end.
TEST_F(MediaEngineTest, TransportFollowsTheOutputClock)
{
    ASSERT_EQ(engine->open("waveaudio", writeSine("two-seconds.wav", kRate, 2.0), kAlias), 0u);
    EXPECT_EQ(ask("status " + kAlias + " length"), "2000");
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(position(), 0);

    pullMs(100); // a stopped device does not move
    EXPECT_EQ(position(), 0);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    EXPECT_EQ(mode(), "playing");
    pullMs(300);
    EXPECT_EQ(position(), 300);

    ASSERT_EQ(send("pause " + kAlias), 0u);
    EXPECT_EQ(mode(), "paused");
    pullMs(500);
    EXPECT_EQ(position(), 300);
    ASSERT_EQ(send("resume " + kAlias), 0u);
    pullMs(200);
    EXPECT_EQ(position(), 500);

    ASSERT_EQ(send("play " + kAlias + " from 1500"), 0u);
    EXPECT_EQ(position(), 1500);
    pullMs(100);
    EXPECT_EQ(position(), 1600);

    pullMs(1000); // runs off the end
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(position(), 2000);

    ASSERT_EQ(send("stop " + kAlias), 0u);
    ASSERT_EQ(send("seek " + kAlias + " to start"), 0u);
    EXPECT_EQ(position(), 0);
    EXPECT_EQ(mode(), "stopped");
}

TEST_F(MediaEngineTest, PlayFromPastTheEndStopsAtTheEnd)
{
    ASSERT_EQ(engine->open("waveaudio", writeSine("two-seconds.wav", kRate, 2.0), kAlias), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 90000"), 0u);
    EXPECT_EQ(position(), 2000);
    const auto out = pullMs(50);
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(position(), 2000);
    EXPECT_EQ(rms(out), 0.0);
}

// Harmless transport commands: nothing moves and nothing fails.
TEST_F(MediaEngineTest, PauseWhenStoppedAndResumeWhenPlayingChangeNothing)
{
    ASSERT_EQ(engine->open("waveaudio", writeSine("two-seconds.wav", kRate, 2.0), kAlias), 0u);
    EXPECT_EQ(send("pause " + kAlias), 0u);
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(send("resume " + kAlias), 0u);
    EXPECT_EQ(mode(), "stopped");
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    EXPECT_EQ(send("resume " + kAlias), 0u);
    EXPECT_EQ(mode(), "playing");
    pullMs(100);
    EXPECT_EQ(position(), 100);
}

TEST_F(MediaEngineTest, VolumeScalesEachChannel)
{
    ASSERT_EQ(engine->open("waveaudio", writeSine("two-seconds.wav", kRate, 2.0), kAlias), 0u);
    auto render = [&](int left, int right) {
        EXPECT_EQ(send("setaudio " + kAlias + " left volume to " + std::to_string(left)), 0u);
        EXPECT_EQ(send("setaudio " + kAlias + " right volume to " + std::to_string(right)), 0u);
        EXPECT_EQ(send("play " + kAlias + " from 500"), 0u);
        return pullMs(200);
    };
    const auto full = render(1000, 1000);
    EXPECT_NEAR(rms(full), std::sqrt((0.25 + 0.0625) / 4), 0.01); // sines of 0.5 and 0.25
    const auto half = render(500, 500);
    const auto silent = render(0, 0);
    const auto leftOnly = render(1000, 0);
    ASSERT_EQ(full.size(), half.size());
    for (size_t i = 0; i < full.size(); ++i) {
        ASSERT_FLOAT_EQ(half[i], full[i] * 0.5f) << i;
        ASSERT_EQ(silent[i], 0.0f) << i;
        ASSERT_FLOAT_EQ(leftOnly[i], i % 2 == 0 ? full[i] : 0.0f) << i;
    }
}

// A 22.05 kHz file played at 44.1 kHz: the same sine at the same pitch, and the clock still in ms.
TEST_F(MediaEngineTest, OtherRatesAreResampledCleanly)
{
    ASSERT_EQ(engine->open("waveaudio", writeSine("low-rate.wav", 22050, 1.0, 441.0), kAlias), 0u);
    EXPECT_EQ(length(), 1000);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    const auto out = pullMs(500);
    EXPECT_EQ(position(), 500);
    double worst = 0;
    for (size_t i = 0; i < out.size() / 2; ++i) {
        const double ideal = 0.5 * std::sin(2 * std::numbers::pi * 441.0 * static_cast<double>(i) / kRate);
        worst = std::max(worst, std::abs(out[2 * i] - ideal));
    }
    EXPECT_LT(worst, 0.01); // linear interpolation of a 441 Hz sine sampled 50 times a period
}

TEST_F(MediaEngineTest, MonoFilesPlayOnBothChannels)
{
    ASSERT_EQ(engine->open("waveaudio", kCorpus + "/wav/taglib-tests-data/infloop.wav", kAlias), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 200"), 0u);
    const auto out = pullMs(300);
    ASSERT_GT(rms(out), 0.0);
    for (size_t i = 0; i < out.size(); i += 2)
        ASSERT_EQ(out[i], out[i + 1]);
}

TEST_F(MediaEngineTest, Mp3PlaysAndSeeks)
{
    ASSERT_EQ(engine->open("MPEGvideo", kCorpus + "/mp3/taglib-tests-data/bladeenc.mp3", kAlias), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 1000"), 0u);
    const auto out = pullMs(500);
    EXPECT_GT(rms(out), 0.001);
    EXPECT_EQ(position(), 1500);
}

TEST_F(MediaEngineTest, FileDeletedWhilePlayingGoesOnFromMemory)
{
    const std::string path = writeSine("deleted.wav", kRate, 1.0);
    ASSERT_EQ(engine->open("waveaudio", path, kAlias), 0u);
    ASSERT_EQ(send("play " + kAlias + " from 0"), 0u);
    pullMs(100);
    std::filesystem::remove(path);
    const auto out = pullMs(2000);
    EXPECT_GT(rms(out), 0.0);
    EXPECT_EQ(mode(), "stopped");
    EXPECT_EQ(position(), 1000);
}

// Damaged files from other suites: each either fails to open or plays, seeks past its end and
// closes; none crashes or hangs.
TEST_F(MediaEngineTest, DamagedCorpusFilesNeverCrash)
{
    struct Folder {
        const char* type;
        std::string path;
    };
    const Folder folders[] = {
        {"MPEGvideo", kCorpus + "/mp3/taglib-tests-data"},
        {"waveaudio", kCorpus + "/wav/taglib-tests-data"},
        {"Sequencer", kCorpus + "/midi/jazz-soft-test-midi-files/midi"},
        {"Sequencer", kCorpus + "/midi/jazz-soft-test-midi-files/midi2"},
        {"MPEGvideo", kCorpus + "/midi/jazz-soft-test-midi-files/midi"},
    };
    int opened = 0;
    for (const Folder& f : folders) {
        for (const auto& entry : std::filesystem::directory_iterator(f.path)) {
            SCOPED_TRACE(entry.path().string());
            if (engine->open(f.type, entry.path().string(), kAlias) != 0)
                continue;
            ++opened;
            EXPECT_EQ(send("play " + kAlias + " from 0"), 0u);
            pull(kBuffer * 4);
            EXPECT_EQ(send("play " + kAlias + " from 100000000"), 0u);
            pull(kBuffer);
            EXPECT_EQ(mode(), "stopped");
            EXPECT_EQ(position(), length());
            EXPECT_EQ(send("close " + kAlias), 0u);
        }
    }
    EXPECT_GT(opened, 80);
}

// Without an audio device the engine keeps time itself: commands work and report sane values.
TEST(MediaEngineNoOutputTest, CommandsWorkAgainstItsOwnClock)
{
    auto engine = media::createMediaEngine(nullptr);
    ASSERT_EQ(engine->open("waveaudio", writeSine("two-seconds.wav", kRate, 2.0), kAlias), 0u);
    std::string reply;
    EXPECT_EQ(engine->sendString("status " + kAlias + " length", reply), 0u);
    EXPECT_EQ(reply, "2000");
    EXPECT_EQ(engine->sendString("play " + kAlias + " from 1000", reply), 0u);
    EXPECT_EQ(engine->sendString("status " + kAlias + " position", reply), 0u);
    EXPECT_GE(std::stoll(reply), 1000);
    EXPECT_LE(std::stoll(reply), 2000);
    EXPECT_EQ(engine->sendString("close " + kAlias, reply), 0u);
}

// The engine's own clock thread renders while this thread drives both device kinds as hard as it
// can: the handover between the threads must keep every answer sane (and is what the sanitizer
// builds check for races and freed memory).
TEST(MediaEngineNoOutputTest, CommandsRaceTheClockThreadSafely)
{
    auto engine = media::createMediaEngine(nullptr);
    const std::string wav = writeSine("two-seconds.wav", kRate, 2.0);
    const std::string mid = kCorpus + "/midi/jazz-soft-test-midi-files/midi/test-c-major-scale.mid";
    const std::string aliases[] = {"wave", "midi"};
    auto openBoth = [&] {
        EXPECT_EQ(engine->open("waveaudio", wav, aliases[0]), 0u);
        EXPECT_EQ(engine->open("Sequencer", mid, aliases[1]), 0u);
    };
    openBoth();
    std::string reply;
    for (int i = 0; i < 3000; ++i) {
        const std::string& a = aliases[i % 2];
        const std::string commands[] = {
            "play " + a + " from " + std::to_string(i % 2500),
            "pause " + a,
            "resume " + a,
            "setaudio " + a + " left volume to " + std::to_string(i % 1001),
            "seek " + a + " to start",
            "play " + a,
        };
        ASSERT_EQ(engine->sendString(commands[i % 6], reply), 0u) << commands[i % 6];
        ASSERT_EQ(engine->sendString("status " + a + " position", reply), 0u);
        const long long pos = std::stoll(reply);
        ASSERT_GE(pos, 0);
        ASSERT_LE(pos, a == "wave" ? 2000 : 4000);
        if (i % 500 == 499) {
            ASSERT_EQ(engine->sendString("close wave", reply), 0u);
            ASSERT_EQ(engine->sendString("close midi", reply), 0u);
            openBoth();
        }
    }
}

} // namespace
