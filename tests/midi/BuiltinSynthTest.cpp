#include "SoundAnalysis.h"

#include "platform/audio/OfflineOutput.h"
#include "platform/audio/SdlOutput.h"
#include "platform/midi/SystemOutputs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

constexpr int kRate = 48000;

std::vector<float> render(audio::OfflineOutput& output, double seconds)
{
    std::vector<float> stereo(static_cast<std::size_t>(seconds * output.sampleRate()) * 2);
    output.pull(stereo.data(), static_cast<int>(stereo.size() / 2));
    return stereo;
}

// A device list over an offline output whose synthesizer has finished loading.
struct LoadedSynth {
    audio::OfflineOutput output{kRate, 256};
    std::unique_ptr<midi::SystemOutputs> outputs = midi::SystemOutputs::create(&output);

    bool ready() { return outputs->builtinSynth() && outputs->builtinSynth()->waitUntilLoaded() == midi::BuiltinSynth::State::Ready; }
};

// Plays `message` and returns the left channel from 0.1 s to 0.6 s after it, past the attack.
std::vector<float> playAndListen(LoadedSynth& synth, midi::MidiPort& port, std::uint32_t message)
{
    EXPECT_TRUE(port.send(message));
    render(synth.output, 0.1);
    return sound::leftChannel(render(synth.output, 0.5));
}

TEST(BuiltinSynth, KeysSoundAtTheirPitch)
{
    struct Case {
        std::uint32_t noteOn;
        double hertz;
    };
    const Case cases[] = {{0x7F3190, 138.59}, {0x7F3090, 130.81}, {0x7F3C90, 261.63}, {0x7F5390, 987.77}};
    for (const Case& c : cases) {
        LoadedSynth synth;
        ASSERT_TRUE(synth.ready());
        std::unique_ptr<midi::MidiPort> port = synth.outputs->open(0);
        ASSERT_NE(port, nullptr);
        const std::vector<float> sound = playAndListen(synth, *port, c.noteOn);
        EXPECT_GT(sound::rms(sound), 0.01) << std::hex << c.noteOn;
        const double f0 = sound::fundamental(sound, kRate, 60, 1200);
        EXPECT_NEAR(sound::cents(f0, c.hertz), 0.0, 5.0) << std::hex << c.noteOn << std::dec << ": " << f0 << " Hz";
    }
}

TEST(BuiltinSynth, ProgramChangeSentWhileLoadingGivesAnotherInstrument)
{
    LoadedSynth piano;
    LoadedSynth guitar;
    std::unique_ptr<midi::MidiPort> pianoPort = piano.outputs->open(0);
    std::unique_ptr<midi::MidiPort> guitarPort = guitar.outputs->open(0);
    ASSERT_NE(pianoPort, nullptr);
    ASSERT_NE(guitarPort, nullptr);
    // Most likely still loading: the program is kept and applied when the SoundFont is in.
    ASSERT_TRUE(guitarPort->send(0x0019C0));
    render(guitar.output, 0.01);
    ASSERT_TRUE(piano.ready());
    ASSERT_TRUE(guitar.ready());

    const std::vector<float> pianoSound = playAndListen(piano, *pianoPort, 0x7F3190);
    const std::vector<float> guitarSound = playAndListen(guitar, *guitarPort, 0x7F3190);
    EXPECT_NEAR(sound::cents(sound::fundamental(guitarSound, kRate), 138.59), 0.0, 5.0);
    const std::vector<double> a = sound::partialProfile(pianoSound, kRate, 138.59);
    const std::vector<double> b = sound::partialProfile(guitarSound, kRate, 138.59);
    double distance = 0;
    for (std::size_t k = 0; k < a.size(); ++k)
        distance += std::abs(a[k] - b[k]);
    EXPECT_GT(distance, 0.2) << "the partials of both notes are alike: the program change was lost";
}

TEST(BuiltinSynth, NoteSentWhileLoadingIsDroppedNotPlayedLate)
{
    LoadedSynth synth;
    std::unique_ptr<midi::MidiPort> port = synth.outputs->open(0);
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->send(0x7F3190));
    render(synth.output, 0.01);
    if (synth.outputs->builtinSynth()->state() != midi::BuiltinSynth::State::Loading)
        GTEST_SKIP() << "the SoundFont loaded before the first block was rendered";
    ASSERT_TRUE(synth.ready());
    EXPECT_LT(sound::rms(render(synth.output, 0.3)), 1e-4); // an idle synthesizer is not bit-exact silence
}

TEST(BuiltinSynth, ClosingThePortTakesTheSynthOutOfTheMix)
{
    LoadedSynth synth;
    ASSERT_TRUE(synth.ready());
    std::unique_ptr<midi::MidiPort> port = synth.outputs->open(0);
    EXPECT_FALSE(port->send(0x7F3110)); // malformed: refused, not played
    EXPECT_GT(sound::rms(playAndListen(synth, *port, 0x7F3190)), 0.01);
    port.reset();
    for (float sample : render(synth.output, 0.2))
        ASSERT_EQ(sample, 0.0f);
    port = synth.outputs->open(0);
    ASSERT_NE(port, nullptr);
    EXPECT_GT(sound::rms(playAndListen(synth, *port, 0x7F3C90)), 0.01);
}

TEST(BuiltinSynth, DeviceZeroIsListedButCannotOpenWithoutAudioOrSoundFont)
{
    const std::filesystem::path garbage =
        std::filesystem::temp_directory_path() / ("piano-garbage-" + std::to_string(getpid()) + ".sf2");
    std::ofstream(garbage) << "RIFF this is not a SoundFont";
    audio::OfflineOutput output;
    midi::BuiltinSynth::Options missing;
    missing.soundFonts = {"/nonexistent/none.sf2"};
    midi::BuiltinSynth::Options damaged;
    damaged.soundFonts = {"/nonexistent/none.sf2", garbage.string()};

    std::vector<std::unique_ptr<midi::MidiOutputs>> lists;
    lists.push_back(midi::createSystemOutputs(nullptr));
    lists.push_back(midi::SystemOutputs::create(&output, missing));
    auto damagedList = midi::SystemOutputs::create(&output, damaged);
    ASSERT_NE(damagedList->builtinSynth(), nullptr);
    EXPECT_EQ(damagedList->builtinSynth()->waitUntilLoaded(), midi::BuiltinSynth::State::Failed);
    lists.push_back(std::move(damagedList));
    std::filesystem::remove(garbage);

    for (auto& outputs : lists) {
        ASSERT_GE(outputs->count(), 1);
        EXPECT_EQ(outputs->name(0), "Built-in Synthesizer");
        EXPECT_EQ(outputs->open(0), nullptr);
        EXPECT_EQ(outputs->name(-1), "");
        EXPECT_EQ(outputs->name(outputs->count()), "");
        EXPECT_EQ(outputs->open(-1), nullptr);
        EXPECT_EQ(outputs->open(outputs->count()), nullptr);
        for (int i = 0; i < outputs->count(); ++i)
            EXPECT_LE(outputs->name(i).size(), 31u);
    }
}

TEST(BuiltinSynth, PlaysThroughTheRealOutputIntoSdlsDiskDriver)
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("piano-synth-disk-" + std::to_string(getpid()) + ".raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    std::unique_ptr<audio::AudioOutput> output = audio::openDefaultOutput();
    ASSERT_NE(output, nullptr);
    std::unique_ptr<midi::SystemOutputs> outputs = midi::SystemOutputs::create(output.get());
    ASSERT_NE(outputs->builtinSynth(), nullptr);
    ASSERT_EQ(outputs->builtinSynth()->waitUntilLoaded(), midi::BuiltinSynth::State::Ready);
    std::unique_ptr<midi::MidiPort> port = outputs->open(0);
    ASSERT_TRUE(port->send(0x7F3190));

    // Let the driver write a good 0.3 s after the note went in.
    const auto bytesPerSecond = static_cast<std::uintmax_t>(output->sampleRate()) * 2 * sizeof(float);
    const std::uintmax_t wanted = std::filesystem::file_size(file) + bytesPerSecond * 3 / 10;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::filesystem::file_size(file) < wanted && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    port.reset();
    outputs.reset();
    output.reset();

    std::ifstream in(file, std::ios::binary);
    std::vector<float> samples;
    float value;
    while (in.read(reinterpret_cast<char*>(&value), sizeof value))
        samples.push_back(value);
    std::filesystem::remove(file);
    ASSERT_GE(samples.size() * sizeof(float), wanted);
    float peak = 0;
    for (float s : samples) {
        ASSERT_TRUE(s >= -1.0f && s <= 1.0f);
        peak = std::max(peak, std::abs(s));
    }
    EXPECT_GT(peak, 0.05f);
}

} // namespace
