// How fast MIDI messages reach the ports, how soon the built-in synthesizer sounds, what it costs to run
// and to load. Prints numbers; never fails.

#include "ProcessPeer.h"
#include "SoundAnalysis.h"

#include "platform/audio/OfflineOutput.h"
#include "platform/midi/JackServerWatch.h"
#include "platform/midi/RtMidiPort.h"
#include "platform/midi/SystemOutputs.h"
#include "platform/midi/testing/RecordingPort.h"

#include <RtMidi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRate = 48000;

double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

void printPercentiles(const char* what, std::vector<double> values, const char* unit)
{
    if (values.empty())
        return;
    std::sort(values.begin(), values.end());
    const auto at = [&](double q) { return values[std::min(values.size() - 1, static_cast<std::size_t>(q * values.size()))]; };
    std::printf("  %-44s median %9.3f  p99 %9.3f  max %9.3f %s  (n=%zu)\n", what, at(0.5), at(0.99), values.back(), unit,
        values.size());
}

double residentMegabytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Per-call cost of send() on `port`; `between` runs untimed after each call (to drain a queue).
template <typename Between>
std::vector<double> sendTimes(midi::MidiPort& port, int calls, Between between)
{
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(calls));
    for (int i = 0; i < calls; ++i) {
        const std::uint32_t message = 0x7F0090u | (static_cast<std::uint32_t>(48 + i % 36) << 8);
        const auto start = Clock::now();
        const bool sent = port.send(message);
        times.push_back(microseconds(Clock::now() - start));
        (void)sent;
        between(i);
    }
    return times;
}

void benchSends()
{
    std::printf("\nKey press to short message handed to the port (one send() call):\n");
    midi::RecordingPort recording;
    printPercentiles("recording port", sendTimes(recording, 100000, [](int) {}), "us");

    audio::OfflineOutput output(kRate, 256);
    auto outputs = midi::SystemOutputs::create(&output);
    if (outputs->builtinSynth() && outputs->builtinSynth()->waitUntilLoaded() == midi::BuiltinSynth::State::Ready) {
        auto port = outputs->open(0);
        std::vector<float> block(512);
        // Pull a block now and then, as the audio thread would, so the queue never fills.
        printPercentiles("built-in synthesizer (queue push)", sendTimes(*port, 20000, [&](int i) {
            if (i % 16 == 15)
                output.pull(block.data(), 256);
        }), "us");
    }
}

// A private JACK server and an RtMidi input in this process, so that the time from send() to arrival
// is measured on one clock.
void benchJack()
{
    std::printf("\nJACK port (jackd -d dummy -r 48000 -p 256, receiver in this process):\n");
    if (!peer::onPath("jackd")) {
        std::printf("  skipped: jackd is not installed\n");
        return;
    }
    const std::string server = "piano-bench-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
    setenv("JACK_NO_AUDIO_RESERVATION", "1", 1);
    const std::filesystem::path log = std::filesystem::temp_directory_path() / (server + ".log");
    pid_t jackd = peer::spawn({"jackd", "--no-realtime", "-n", server, "-d", "dummy", "-r", "48000", "-p", "256"}, log);
    if (!jackd || !peer::waitFor([] { return midi::JackServerWatch::start() != nullptr; })) {
        std::printf("  skipped: jackd did not start\n");
        peer::stop(jackd);
        return;
    }
    {
        struct Arrivals {
            std::atomic<long long> lastArrival{0};
        } arrivals;
        RtMidiIn receiver(RtMidi::UNIX_JACK, "bench-receiver");
        receiver.setCallback(
            [](double, std::vector<unsigned char>*, void* data) {
                static_cast<Arrivals*>(data)->lastArrival.store(Clock::now().time_since_epoch().count());
            },
            &arrivals);
        receiver.openVirtualPort("input");
        std::string target;
        peer::waitFor([&] {
            for (const std::string& name : midi::RtMidiPort::listPorts(midi::RtMidiPort::Api::Jack)) {
                if (name.find("bench-receiver") != std::string::npos)
                    target = name;
            }
            return !target.empty();
        });
        auto t0 = Clock::now();
        auto port = midi::RtMidiPort::open(midi::RtMidiPort::Api::Jack, target);
        std::printf("  open the port (client, watch, connection):   %.1f ms\n", microseconds(Clock::now() - t0) / 1000);
        if (!port) {
            std::printf("  skipped: the port did not open\n");
        } else {
            printPercentiles("send() call", sendTimes(*port, 2000, [](int) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }), "us");
            std::vector<double> endToEnd;
            int lost = 0;
            for (int i = 0; i < 300; ++i) {
                arrivals.lastArrival.store(0);
                const auto sent = Clock::now();
                (void)port->send(0x7F3190);
                // A cycle the server drops (an xrun on a busy machine) loses its events.
                while (arrivals.lastArrival.load() == 0 && Clock::now() - sent < std::chrono::milliseconds(200))
                    std::this_thread::sleep_for(std::chrono::microseconds(50));
                if (arrivals.lastArrival.load() == 0) {
                    ++lost;
                    continue;
                }
                const Clock::time_point arrived{Clock::duration(arrivals.lastArrival.load())};
                endToEnd.push_back(microseconds(arrived - sent) / 1000);
                std::this_thread::sleep_for(std::chrono::microseconds(1700 + 331 * (i % 7)));
            }
            printPercentiles("send() to arrival at a JACK client", endToEnd, "ms");
            std::printf("  messages that never arrived (dropped cycles): %d of 300\n", lost);
        }
    }
    peer::stop(jackd);
    std::filesystem::remove(log);
}

// Frames from the start of the block that takes the message until the output first exceeds `threshold`.
int onsetFrames(int bufferFrames, float threshold)
{
    audio::OfflineOutput output(kRate, bufferFrames);
    auto outputs = midi::SystemOutputs::create(&output);
    if (!outputs->builtinSynth() || outputs->builtinSynth()->waitUntilLoaded() != midi::BuiltinSynth::State::Ready)
        return -1;
    auto port = outputs->open(0);
    std::vector<float> silence(static_cast<std::size_t>(bufferFrames) * 2);
    output.pull(silence.data(), bufferFrames);
    (void)port->send(0x7F3190);
    std::vector<float> sound(static_cast<std::size_t>(kRate / 5) * 2);
    output.pull(sound.data(), kRate / 5);
    for (std::size_t i = 0; i < sound.size() / 2; ++i) {
        if (std::abs(sound[2 * i]) > threshold || std::abs(sound[2 * i + 1]) > threshold)
            return static_cast<int>(i);
    }
    return -1;
}

void benchOnset()
{
    std::printf("\nNote On to first sound of the built-in synthesizer at 48 kHz (note 49, velocity 127):\n");
    std::printf("  %-8s %-22s %-22s %s\n", "buffer", "onset > -60 dBFS", "onset > -40 dBFS", "wait for the block + the block itself");
    for (int buffer : {64, 128, 256, 512}) {
        const int quiet = onsetFrames(buffer, 0.001f);
        const int loud = onsetFrames(buffer, 0.01f);
        // The message waits for the next callback (0 to 1 buffer, half on average), is rendered into
        // that block, and the block is heard after the device has played what is queued before it
        // (at least one more buffer with SDL's double buffering).
        std::printf("  %-8d %5d fr (%5.2f ms)     %5d fr (%5.2f ms)     %.2f ms on average, %.2f ms at worst\n", buffer,
            quiet, quiet * 1000.0 / kRate, loud, loud * 1000.0 / kRate, (0.5 * buffer + buffer + quiet) * 1000.0 / kRate,
            (2.0 * buffer + quiet) * 1000.0 / kRate);
    }
}

void benchRenderCost()
{
    std::printf("\nRendering cost of the built-in synthesizer per 256-frame block (5.33 ms of sound):\n");
    audio::OfflineOutput output(kRate, 256);
    auto outputs = midi::SystemOutputs::create(&output);
    if (!outputs->builtinSynth() || outputs->builtinSynth()->waitUntilLoaded() != midi::BuiltinSynth::State::Ready)
        return;
    auto port = outputs->open(0);
    std::vector<float> block(512);
    for (int voices : {0, 1, 8, 36}) {
        for (int v = 0; v < voices; ++v)
            (void)port->send(0x7F0090u | (static_cast<std::uint32_t>(48 + v) << 8));
        std::vector<double> times;
        for (int i = 0; i < 400; ++i) {
            const auto start = Clock::now();
            output.pull(block.data(), 256);
            times.push_back(microseconds(Clock::now() - start));
        }
        char label[64];
        std::snprintf(label, sizeof label, "%d notes struck together", voices);
        printPercentiles(label, times, "us");
        port.reset(); // silences every voice
        port = outputs->open(0);
    }
}

void benchStartUp()
{
    std::printf("\nStart-up of the device list (SoundFont in the page cache):\n");
    for (int run = 0; run < 3; ++run) {
        const double before = residentMegabytes();
        audio::OfflineOutput output(kRate, 256);
        const auto start = Clock::now();
        auto outputs = midi::createSystemOutputs(&output);
        const double listed = microseconds(Clock::now() - start) / 1000;
        auto port = outputs->open(0);
        std::vector<float> block(512);
        Clock::time_point sounded{};
        // Keys pressed in the meantime are dropped: play one every millisecond until one sounds.
        for (int tries = 0; tries < 20000 && port; ++tries) {
            (void)port->send(0x7F3190);
            output.pull(block.data(), 256);
            if (sound::rms(block) > 0.0001) {
                sounded = Clock::now();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        const double after = residentMegabytes();
        std::printf("  run %d: createSystemOutputs returned after %.1f ms; first note sounded after %.0f ms; "
                    "resident memory +%.0f MB\n",
            run + 1, listed, microseconds(sounded - start) / 1000, after - before);
        port.reset();
        outputs.reset();
        std::printf("         after closing: resident memory %+.0f MB against before\n", residentMegabytes() - before);
    }
}

} // namespace

int main()
{
    std::printf("MIDI output benchmarks\n");
    benchSends();
    benchJack();
    benchOnset();
    benchRenderCost();
    benchStartUp();
    return 0;
}
