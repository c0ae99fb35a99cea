// Open-to-first-sample time and CPU time per second of playback, for a MIDI file and an mp3.
#include "platform/audio/AudioOutput.h"
#include "platform/media/MediaService.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 48000;
constexpr int kBuffer = 256;
const std::string kMidi = PIANO_CORPUS_DIR "/midi/jazz-soft-test-midi-files/midi/test-all-gm-sounds.mid";
const std::string kMp3 = PIANO_CORPUS_DIR "/mp3/taglib-tests-data/bladeenc.mp3";
const std::string kAlias = "0123456789abcdef0123456789abcdef";

// Holds the engine's source and renders it on demand, as a device callback would.
class BenchOutput final : public audio::AudioOutput {
public:
    int sampleRate() const override { return kRate; }
    int bufferFrames() const override { return kBuffer; }
    void addSource(audio::AudioSource* s) override { m_source = s; }
    void removeSource(audio::AudioSource*) override { m_source = nullptr; }
    // Renders one buffer; true when any sample is not zero.
    bool pull()
    {
        std::fill(m_buffer.begin(), m_buffer.end(), 0.0f);
        if (m_source != nullptr)
            m_source->render(m_buffer.data(), kBuffer);
        for (float v : m_buffer)
            if (v != 0.0f)
                return true;
        return false;
    }

private:
    audio::AudioSource* m_source = nullptr;
    std::vector<float> m_buffer = std::vector<float>(2 * kBuffer);
};

void openPlayUntilSound(benchmark::State& state, media::MediaService& engine, BenchOutput& out, const char* type,
                        const std::string& path)
{
    std::string reply;
    if (engine.open(type, path, kAlias) != 0 || engine.sendString("play " + kAlias + " from 0", reply) != 0) {
        state.SkipWithError("open failed");
        return;
    }
    for (int i = 0; i < kRate / kBuffer * 5 && !out.pull(); ++i) {
    }
}

// The first sequencer open of an engine starts loading the SoundFont on a worker thread and returns;
// the first play waits for the load.
void BM_MidiOpenReturnsColdEngine(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        BenchOutput out;
        auto engine = media::createMediaEngine(&out);
        state.ResumeTiming();
        if (engine->open("Sequencer", kMidi, kAlias) != 0)
            state.SkipWithError("open failed");
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MidiOpenReturnsColdEngine)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MidiOpenToFirstSampleColdEngine(benchmark::State& state)
{
    for (auto _ : state) {
        BenchOutput out;
        auto engine = media::createMediaEngine(&out);
        openPlayUntilSound(state, *engine, out, "Sequencer", kMidi);
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MidiOpenToFirstSampleColdEngine)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenToFirstSample(benchmark::State& state, const char* type, const std::string& path)
{
    BenchOutput out;
    auto engine = media::createMediaEngine(&out);
    std::string reply;
    openPlayUntilSound(state, *engine, out, type, path); // warms the SoundFont
    (void)engine->sendString("close " + kAlias, reply);
    for (auto _ : state) {
        openPlayUntilSound(state, *engine, out, type, path);
        state.PauseTiming();
        (void)engine->sendString("close " + kAlias, reply);
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_OpenToFirstSample, midi, "Sequencer", kMidi)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenToFirstSample, mp3, "MPEGvideo", kMp3)->Unit(benchmark::kMillisecond);

// Time to render one second of playback: the CPU share of one core that playback costs.
void BM_RenderOneSecond(benchmark::State& state, const char* type, const std::string& path)
{
    BenchOutput out;
    auto engine = media::createMediaEngine(&out);
    std::string reply;
    if (engine->open(type, path, kAlias) != 0) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        (void)engine->sendString("play " + kAlias + " from 1000", reply);
        state.ResumeTiming();
        for (int i = 0; i < kRate / kBuffer; ++i)
            benchmark::DoNotOptimize(out.pull());
    }
}
BENCHMARK_CAPTURE(BM_RenderOneSecond, midi, "Sequencer", kMidi)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RenderOneSecond, mp3, "MPEGvideo", kMp3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
