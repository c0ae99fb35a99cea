#include "platform/audio/SoundFontLibrary.h"
#include "tests/midi/SoundAnalysis.h"

#include <fluidsynth.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kRate = 44100;

struct Synth {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;

    Synth()
    {
        fluid_settings_setnum(settings, "synth.sample-rate", kRate);
        fluid_settings_setint(settings, "synth.chorus.active", 0);
        synth = new_fluid_synth(settings);
    }
    ~Synth()
    {
        audio::SoundFontLibrary::deleteSynth(synth);
        delete_fluid_settings(settings);
    }
    Synth(const Synth&) = delete;
    Synth& operator=(const Synth&) = delete;
};

double keyHertz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

// Strikes `key` on the piano and returns the left channel from 0.1 s to 0.6 s after it.
std::vector<float> playKey(fluid_synth_t* synth, int key)
{
    const int frames = kRate * 6 / 10;
    std::vector<float> left(frames), right(frames);
    fluid_synth_noteon(synth, 0, key, 100);
    fluid_synth_write_float(synth, frames, left.data(), 0, 1, right.data(), 0, 1);
    fluid_synth_all_sounds_off(synth, -1);
    return {left.begin() + kRate / 10, left.end()};
}

void expectPitch(fluid_synth_t* synth, int key)
{
    const std::vector<float> sound = playKey(synth, key);
    EXPECT_GT(sound::rms(sound), 0.005) << key;
    const double f0 = sound::fundamental(sound, kRate, 60, 1200);
    EXPECT_NEAR(sound::cents(f0, keyHertz(key)), 0.0, 5.0) << key << ": " << f0 << " Hz";
}

std::filesystem::path tempPath(const std::string& name)
{
    return std::filesystem::temp_directory_path() / ("piano-sf-" + std::to_string(getpid()) + "-" + name);
}

// Two synths loading the General MIDI SoundFont at the same moment, as the keyboard's and the
// sequencer's do at start-up, read its samples once between them; both play from that one copy, and
// it stays whichever of them goes first.
TEST(SoundFontSynths, TwoLoadsAtOnceReadTheSamplesOnceAndEitherMayGoFirst)
{
    const std::string font = audio::SoundFontLibrary::find();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    const double fileBytes = static_cast<double>(std::filesystem::file_size(font));

    for (const bool firstGoesFirst : {true, false}) {
        SCOPED_TRACE(firstGoesFirst ? "first loaded goes first" : "second loaded goes first");
        auto first = std::make_unique<Synth>();
        auto second = std::make_unique<Synth>();
        const std::uint64_t before = audio::SoundFontLibrary::bytesRead();
        int firstId = -1, secondId = -1;
        std::thread a([&] { firstId = audio::SoundFontLibrary::load(first->synth, font); });
        std::thread b([&] { secondId = audio::SoundFontLibrary::load(second->synth, font); });
        a.join();
        b.join();
        ASSERT_GE(firstId, 0);
        ASSERT_GE(secondId, 0);
        const double read = static_cast<double>(audio::SoundFontLibrary::bytesRead() - before);
        EXPECT_GT(read, 0.9 * fileBytes);
        EXPECT_LT(read, 1.5 * fileBytes);

        expectPitch(first->synth, 60);
        expectPitch(second->synth, 69);
        (firstGoesFirst ? first : second).reset();
        expectPitch((firstGoesFirst ? second : first)->synth, 72);
    }
}

// The Debian names are links to one file; a load by a link's name finds the samples loaded by the
// file's own name.
TEST(SoundFontSynths, ALinkSharesTheSamplesOfTheFileItNames)
{
    const std::string font = audio::SoundFontLibrary::find();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    const std::filesystem::path link = tempPath("link.sf2");
    std::filesystem::remove(link);
    std::filesystem::create_symlink(std::filesystem::canonical(font), link);

    Synth holder;
    ASSERT_GE(audio::SoundFontLibrary::load(holder.synth, font), 0);
    const std::uint64_t before = audio::SoundFontLibrary::bytesRead();
    Synth viaLink;
    ASSERT_GE(audio::SoundFontLibrary::load(viaLink.synth, link.string()), 0);
    EXPECT_LT(static_cast<double>(audio::SoundFontLibrary::bytesRead() - before),
        0.5 * static_cast<double>(std::filesystem::file_size(font)));
    expectPitch(viaLink.synth, 64);
    std::filesystem::remove(link);
}

TEST(SoundFontSynths, MissingOrDamagedFilesFailAndLeaveTheSynthUsable)
{
    const std::filesystem::path garbage = tempPath("garbage.sf2");
    std::ofstream(garbage) << "RIFF this is not a SoundFont";
    const std::filesystem::path truncated = tempPath("truncated.sf2");
    const std::string font = audio::SoundFontLibrary::find();
    if (!font.empty()) {
        // The headers promise a sample chunk that the file then lacks.
        std::vector<char> head(64 * 1024);
        std::ifstream(font, std::ios::binary).read(head.data(), static_cast<std::streamsize>(head.size()));
        std::ofstream(truncated, std::ios::binary).write(head.data(), static_cast<std::streamsize>(head.size()));
    }

    for (const std::string& path : {std::string("/nonexistent/none.sf2"), std::string(), garbage.string(),
             truncated.string(), std::filesystem::temp_directory_path().string()}) {
        Synth synth;
        EXPECT_EQ(audio::SoundFontLibrary::load(synth.synth, path), FLUID_FAILED) << path;
        EXPECT_EQ(fluid_synth_sfcount(synth.synth), 0) << path;
        if (!font.empty() && path == garbage.string()) {
            // A failed load leaves the synth free to load a good file afterwards.
            EXPECT_GE(audio::SoundFontLibrary::load(synth.synth, font), 0);
            expectPitch(synth.synth, 62);
        }
    }
    EXPECT_EQ(audio::SoundFontLibrary::load(nullptr, font), FLUID_FAILED);
    std::filesystem::remove(garbage);
    std::filesystem::remove(truncated);
}

TEST(SoundFontSynths, FindsTheFirstCandidateThatIsAFile)
{
    const std::filesystem::path file = tempPath("present.sf2");
    std::ofstream(file) << "x";
    EXPECT_EQ(audio::SoundFontLibrary::find({"/nonexistent/a.sf2", std::filesystem::temp_directory_path().string(),
                  file.string(), "/nonexistent/b.sf2"}),
        file.string());
    EXPECT_EQ(audio::SoundFontLibrary::find({"/nonexistent/a.sf2"}), "");
    std::filesystem::remove(file);
}

} // namespace
