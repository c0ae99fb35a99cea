#include "platform/audio/OfflineOutput.h"
#include "platform/audio/SoundFontLibrary.h"
#include "platform/media/MediaService.h"
#include "platform/midi/SystemOutputs.h"
#include "tests/media/SmfBuilder.h"
#include "tests/midi/SoundAnalysis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace media::testing;

namespace {

constexpr int kRate = 44100;
const std::string kAlias = "accompaniment";

std::vector<float> pullMs(audio::OfflineOutput& output, int ms)
{
    std::vector<float> stereo(static_cast<size_t>(ms) * kRate / 1000 * 2);
    output.pull(stereo.data(), static_cast<int>(stereo.size() / 2));
    return stereo;
}

// The sound from 0.1 s to 0.6 s after now, past the attack, at `hertz`.
void expectPitch(audio::OfflineOutput& output, double hertz)
{
    pullMs(output, 100);
    const std::vector<float> sound = sound::leftChannel(pullMs(output, 500));
    EXPECT_GT(sound::rms(sound), 0.005) << hertz;
    const double f0 = sound::fundamental(sound, kRate, 60, 1200);
    EXPECT_NEAR(sound::cents(f0, hertz), 0.0, 5.0) << hertz << ": " << f0 << " Hz";
}

// The keyboard's synthesizer and the accompaniment's sequencer start loading the SoundFont together,
// as at start-up, yet read its samples once; each plays at its pitch from that copy, and either may be
// closed first while the other plays on.
TEST(SharedSoundFontSynths, KeyboardAndSequencerPlayFromOneLoad)
{
    const std::string font = audio::SoundFontLibrary::find();
    if (font.empty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    const double fileBytes = static_cast<double>(std::filesystem::file_size(font));

    // A3 for the first second of the song.
    const std::string song =
        (std::filesystem::temp_directory_path() / ("piano-shared-sf-" + std::to_string(getpid()) + ".mid")).string();
    {
        const Bytes bytes = smf(0, kMillisecondTicks,
            {concat({{0x00, 0x90, 57, 100}, vlq(1000), {0x80, 57, 64}, vlq(500), {0xB0, 0x07, 100}, kEndOfTrack})});
        std::ofstream(song, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    }

    for (const bool keyboardGoesFirst : {true, false}) {
        SCOPED_TRACE(keyboardGoesFirst ? "keyboard closed first" : "sequencer closed first");
        const std::uint64_t before = audio::SoundFontLibrary::bytesRead();
        audio::OfflineOutput output(kRate, 512);
        std::unique_ptr<midi::SystemOutputs> keyboard = midi::SystemOutputs::create(&output);
        std::unique_ptr<media::MediaService> media = media::createMediaEngine(&output);
        ASSERT_NE(keyboard->builtinSynth(), nullptr);
        std::string reply;
        ASSERT_EQ(media->open("Sequencer", song, kAlias), 0u);
        // Play waits for the sequencer's synth; the keyboard's loads alongside it.
        ASSERT_EQ(media->sendString("play " + kAlias + " from 0", reply), 0u);
        ASSERT_EQ(keyboard->builtinSynth()->waitUntilLoaded(), midi::BuiltinSynth::State::Ready);
        const double read = static_cast<double>(audio::SoundFontLibrary::bytesRead() - before);
        EXPECT_GT(read, 0.9 * fileBytes);
        EXPECT_LT(read, 1.5 * fileBytes);

        expectPitch(output, 220.0);
        pullMs(output, 1500); // the song ends and its note rings out
        std::unique_ptr<midi::MidiPort> port = keyboard->open(0);
        ASSERT_NE(port, nullptr);
        ASSERT_TRUE(port->send(0x644890)); // C5
        expectPitch(output, 523.25);
        ASSERT_TRUE(port->send(0x004890));
        pullMs(output, 1500);

        if (keyboardGoesFirst) {
            port.reset();
            keyboard.reset();
            ASSERT_EQ(media->sendString("play " + kAlias + " from 0", reply), 0u);
            expectPitch(output, 220.0);
        } else {
            media.reset();
            ASSERT_TRUE(port->send(0x644590)); // A4
            expectPitch(output, 440.0);
        }
    }
    std::filesystem::remove(song);
}

} // namespace
