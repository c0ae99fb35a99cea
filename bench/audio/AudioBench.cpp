// What the audio output costs: mixing per callback, opening the device (or failing to), and the buffer
// the device gives. Prints numbers; never fails.

#include "platform/audio/OfflineOutput.h"
#include "platform/audio/SdlOutput.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class ConstantSource : public audio::AudioSource {
public:
    void render(float* out, int frames) noexcept override
    {
        for (int i = 0; i < 2 * frames; ++i)
            out[i] += 0.01f;
    }
};

// One callback's mixing: zeroing, every source adding in, clamping.
void mixBlock(benchmark::State& state)
{
    const int sources = static_cast<int>(state.range(0));
    const int frames = static_cast<int>(state.range(1));
    audio::OfflineOutput output(48000, frames);
    std::vector<ConstantSource> all(static_cast<std::size_t>(sources));
    for (ConstantSource& source : all)
        output.addSource(&source);
    std::vector<float> buffer(static_cast<std::size_t>(frames) * 2);
    for (auto _ : state) {
        output.pull(buffer.data(), frames);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetLabel(std::to_string(frames) + " frames = " + std::to_string(frames * 1000.0 / 48000).substr(0, 4) + " ms of sound");
}
BENCHMARK(mixBlock)->ArgsProduct({{0, 1, 4}, {128, 256}});

// Adding and removing a source while a mixing thread runs: the GUI side's cost, waiting included.
void addRemoveWhileMixing(benchmark::State& state)
{
    audio::SourceMixer mixer;
    std::atomic<bool> stop{false};
    std::thread audioThread([&] {
        float buffer[512];
        while (!stop.load())
            mixer.mix(buffer, 256);
    });
    ConstantSource source;
    for (auto _ : state) {
        (void)mixer.add(&source);
        mixer.remove(&source);
    }
    stop.store(true);
    audioThread.join();
}
BENCHMARK(addRemoveWhileMixing);

void reportDevice()
{
    std::printf("\nOpening the default device:\n");
    auto start = Clock::now();
    std::unique_ptr<audio::AudioOutput> output = audio::openDefaultOutput();
    std::printf("  default driver: %s after %.1f ms", output ? "opened" : "no device (nullptr)",
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    if (output)
        std::printf(", %d Hz, %d frames per callback", output->sampleRate(), output->bufferFrames());
    std::printf("\n");
    output.reset();

    // SDL's disk driver stands in for a device here: it shows what SDL grants for each request.
    const std::filesystem::path file = std::filesystem::temp_directory_path() / ("piano-audio-bench-" + std::to_string(getpid()));
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    for (int frames : {64, 128, 256, 512}) {
        start = Clock::now();
        auto disk = audio::SdlOutput::open({48000, frames});
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (disk)
            std::printf("  disk driver, asked %3d frames: got %d Hz, %d frames (%.2f ms), opened in %.1f ms\n", frames,
                disk->sampleRate(), disk->bufferFrames(), disk->bufferFrames() * 1000.0 / disk->sampleRate(), ms);
    }
    std::filesystem::remove(file);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    reportDevice();
    return 0;
}
