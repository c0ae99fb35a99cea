// The keyboard against real peers: a JACK MIDI client that prints what reaches it, and the built-in
// synthesizer rendering offline.

#include "platform/audio/OfflineOutput.h"
#include "platform/midi/JackServerWatch.h"
#include "platform/midi/SystemOutputs.h"
#include "tests/keyboard/KeyboardFixture.h"
#include "tests/keyboard/Peers.h"
#include "tests/midi/SoundAnalysis.h"

#include <gtest/gtest.h>

namespace keyboard_testing {
namespace {

class JackKeyboard : public KeyboardFixture {
protected:
    void SetUp() override
    {
        KeyboardFixture::SetUp();
        if (!onPath("jackd") || !onPath("jack_midi_dump"))
            GTEST_SKIP() << "jackd or jack_midi_dump is not installed";
        const std::string server = "piano-keyboard-" + std::to_string(getpid());
        // A server of our own, so that nothing here meets another JACK server on the machine; its long
        // period leaves a busy machine's clients time to finish each cycle (a late client's events are lost).
        setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        m_jackd = Peer({"jackd", "--no-realtime", "-n", server, "-d", "dummy", "-r", "48000", "-p", "2048"},
                       m_tempDir / "jackd.log");
        ASSERT_TRUE(m_jackd.running());
        ASSERT_TRUE(waitUntil([] { return midi::JackServerWatch::start() != nullptr; })) << m_jackd.output();
        m_dump = Peer({"jack_midi_dump", m_client}, m_tempDir / "dump.log");
        ASSERT_TRUE(m_dump.running());
        ASSERT_TRUE(waitUntil([this] {
            const auto ports = midi::RtMidiPort::listPorts(midi::RtMidiPort::Api::Jack);
            return std::find(ports.begin(), ports.end(), m_client + ":input") != ports.end();
        })) << m_dump.output();
    }

    void TearDown() override
    {
        KeyboardFixture::TearDown();
        // The server first: a client killed while the server runs leaves it waiting for the dead one.
        m_jackd.stop();
        m_dump.stop();
    }

    std::vector<std::string> received() const { return dumpedEvents(m_dump.output()); }

    const std::string m_client = "keyboard-dump";
    Peer m_jackd;
    Peer m_dump;
};

TEST_F(JackKeyboard, PickedPortReceivesTheKeysAndTheInstrument)
{
    keyboard::attachSystemOutputs(nullptr);
    start();
    const int device = deviceIndex(m_client + ":input");
    ASSERT_GE(device, 1) << "listed after the built-in synthesizer";
    pickDevice(device);
    // The port opens connected; a user's key press comes a moment later, by which time JACK carries
    // what goes through the connection (a message sent within a cycle or two of the opening can be lost).
    ASSERT_TRUE(waitUntil([this] { return commandOutput("jack_lsp -c " + m_client + ":input").find("piano:") != std::string::npos; }));
    runEventsFor(200);

    press(Qt::Key_Z, scan::Z);
    EXPECT_TRUE(waitUntil([this] { return received().size() >= 1; }));
    release(Qt::Key_Z, scan::Z);
    pickInstrument(25);
    EXPECT_TRUE(waitUntil([this] { return received().size() >= 2; }));
    EXPECT_EQ(received(), (std::vector<std::string>{"90 31 7f", "c0 19"}));
}

// Renders `seconds` of the output and returns its left channel.
std::vector<float> render(audio::OfflineOutput& output, double seconds)
{
    std::vector<float> stereo(static_cast<size_t>(seconds * output.sampleRate()) * 2);
    output.pull(stereo.data(), static_cast<int>(stereo.size() / 2));
    return sound::leftChannel(stereo);
}

class SynthKeyboard : public KeyboardFixture {
protected:
    // Outlives the devices, which the fixture's tear-down closes.
    audio::OfflineOutput output{48000, 256};
};

TEST_F(SynthKeyboard, KeysSoundTheirNotesOnTheBuiltInSynthesizer)
{
    auto outputs = midi::SystemOutputs::create(&output);
    const std::shared_ptr<midi::BuiltinSynth> synth = outputs->builtinSynth();
    if (!synth)
        GTEST_SKIP() << "no General MIDI SoundFont is installed";
    ASSERT_EQ(synth->waitUntilLoaded(), midi::BuiltinSynth::State::Ready);
    keyboard::MIDI演奏.attach(std::move(outputs));
    start();

    const struct {
        int qtKey;
        quint32 scanCode;
        double hertz;
    } cases[] = {{Qt::Key_Z, scan::Z, 138.59}, {Qt::Key_A, scan::A, 130.81}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hertz);
        // Picking the device again closes and reopens it, which silences the notes still sounding (no
        // Note Off ever comes) once their release has faded.
        pickDevice(0);
        for (int block = 0; block < 50 && sound::rms(render(output, 0.1)) > 1e-4; ++block) {
        }
        ASSERT_LT(sound::rms(render(output, 0.1)), 1e-4);
        press(c.qtKey, c.scanCode);
        const std::vector<float> sound = render(output, 0.6);
        const std::vector<float> steady(sound.begin() + 4800, sound.end());
        EXPECT_GT(sound::rms(steady), 1e-3);
        // The SoundFont's own samples are tuned within a few cents (FluidR3 gives -3.6 and -3.3 here).
        EXPECT_NEAR(sound::cents(sound::fundamental(steady, 48000), c.hertz), 0.0, 8.0);
        release(c.qtKey, c.scanCode);
    }
}

} // namespace
} // namespace keyboard_testing
