// The system's MIDI ports against real peers: a private JACK server on its dummy driver and the
// jack_midi_dump client, which prints every MIDI event that reaches its input.

#include "ProcessPeer.h"

#include "platform/midi/JackServerWatch.h"
#include "platform/midi/RtMidiPort.h"
#include "platform/midi/SystemOutputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

using peer::onPath;
using peer::spawn;
using peer::stop;
using peer::waitFor;
using peer::dumpedEvents;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class JackPeers : public testing::Test {
protected:
    // 11 + 7 * 3 bytes: the port's full name is 38 bytes, and its seventh character straddles byte 31.
    const std::string m_dumpClient = "piano-dump-\xE9\x92\xA2\xE7\x90\xB4\xE9\x94\xAE\xE7\x9B\x98\xE9\x92\xA2\xE7\x90\xB4\xE7\x90\xB4";

    void SetUp() override
    {
        if (!onPath("jackd") || !onPath("jack_midi_dump"))
            GTEST_SKIP() << "jackd or jack_midi_dump is not installed";
        const std::string server = "piano-test-" + std::to_string(getpid());
        // Our own server name, so that nothing here meets another JACK server on the machine.
        setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
        setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
        m_dir = std::filesystem::temp_directory_path() / server;
        std::filesystem::create_directories(m_dir);
        m_jackd = spawn({"jackd", "--no-realtime", "-n", server, "-d", "dummy", "-r", "48000", "-p", "2048"},
            m_dir / "jackd.log");
        ASSERT_NE(m_jackd, 0);
        ASSERT_TRUE(waitFor([] { return midi::JackServerWatch::start() != nullptr; })) << readFile(m_dir / "jackd.log");
        m_dump = spawn({"jack_midi_dump", m_dumpClient}, m_dir / "dump.log");
        ASSERT_NE(m_dump, 0);
        ASSERT_TRUE(waitFor([this] {
            const auto ports = midi::RtMidiPort::listPorts(midi::RtMidiPort::Api::Jack);
            return std::find(ports.begin(), ports.end(), dumpPort()) != ports.end();
        })) << readFile(m_dir / "dump.log");
    }

    void TearDown() override
    {
        // The server first: a client killed while the server runs leaves it waiting seconds for the dead one.
        stop(m_jackd);
        stop(m_dump);
        if (!m_dir.empty())
            std::filesystem::remove_all(m_dir);
    }

    std::string dumpPort() const { return m_dumpClient + ":input"; }

    // The dump client's place in the device list, found by the name the list shows.
    int findDumpDevice(const midi::MidiOutputs& outputs) const
    {
        for (int i = 0; i < outputs.count(); ++i) {
            if (outputs.name(i) == "piano-dump-\xE9\x92\xA2\xE7\x90\xB4\xE9\x94\xAE\xE7\x9B\x98\xE9\x92\xA2\xE7\x90\xB4")
                return i;
        }
        return -1;
    }

    std::filesystem::path m_dir;
    pid_t m_jackd = 0;
    pid_t m_dump = 0;
};

TEST_F(JackPeers, ClientReceivesTheExactBytes)
{
    std::unique_ptr<midi::MidiOutputs> outputs = midi::createSystemOutputs(nullptr);
    const int device = findDumpDevice(*outputs);
    ASSERT_GE(device, 1) << "the JACK port is listed after the built-in synthesizer, its name cut to 29 bytes";
    std::unique_ptr<midi::MidiPort> port = outputs->open(device);
    ASSERT_NE(port, nullptr);

    // jack_midi_dump shows its port before it is active, and what reaches it before that is lost: knock
    // with Active Sensing (FE) until one gets through. The queue keeps its order, so whatever follows the
    // last FE printed is ours. A machine too busy for the dummy driver's period drops a late client's
    // events now and then (an xrun), so a round that lost some is tried again.
    const std::vector<std::string> expected = {"90 31 7f", "c0 19", "90 30 7f"};
    const auto afterKnocks = [this] {
        std::vector<std::string> events = dumpedEvents(readFile(m_dir / "dump.log"));
        const auto lastKnock = std::find(events.rbegin(), events.rend(), "fe").base();
        return std::vector<std::string>(lastKnock, events.end());
    };
    for (int round = 0; round < 5; ++round) {
        const auto knocks = [this] {
            const auto events = dumpedEvents(readFile(m_dir / "dump.log"));
            return std::count(events.begin(), events.end(), "fe");
        };
        const auto knocksBefore = knocks();
        ASSERT_TRUE(waitFor([&] {
            EXPECT_TRUE(port->send(0xFE));
            return knocks() > knocksBefore;
        }));
        EXPECT_TRUE(port->send(0x7F3190));
        EXPECT_TRUE(port->send(0x0019C0));
        EXPECT_FALSE(port->send(0x7F3110)); // no status byte: refused, never put on the wire
        EXPECT_TRUE(port->send(0x7F3090));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (afterKnocks().size() < expected.size() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (afterKnocks() == expected)
            break;
    }
    EXPECT_EQ(afterKnocks(), expected);
}

TEST_F(JackPeers, SendsFailWithoutHangingOnceTheServerIsGone)
{
    std::unique_ptr<midi::MidiPort> port = midi::RtMidiPort::open(midi::RtMidiPort::Api::Jack, dumpPort());
    ASSERT_NE(port, nullptr);
    EXPECT_TRUE(port->send(0x7F3190));
    stop(m_jackd);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // More messages than RtMidi's JACK queue holds: with nobody emptying it a send would wait forever.
    int accepted = 0;
    for (int i = 0; i < 10000; ++i)
        accepted += port->send(0x7F3190) ? 1 : 0;
    EXPECT_LT(accepted, 100);
    EXPECT_FALSE(port->send(0x7F3190));
    port.reset();
}

TEST(JackPorts, NoServerMeansNoPortsAndNoServerStarted)
{
    setenv("JACK_DEFAULT_SERVER", ("piano-absent-" + std::to_string(getpid())).c_str(), 1);
    EXPECT_TRUE(midi::RtMidiPort::listPorts(midi::RtMidiPort::Api::Jack).empty());
    EXPECT_EQ(midi::RtMidiPort::open(midi::RtMidiPort::Api::Jack, "system:midi_playback_1"), nullptr);
    EXPECT_EQ(midi::JackServerWatch::start(), nullptr) << "a server was started as a side effect";
}

} // namespace
