#include "platform/audio/SdlOutput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

// Each test runs in its own process (CTest runs the cases one by one), so setting SDL's variables here
// does not leak into other cases.
void useDriver(const char* driver)
{
    setenv("SDL_AUDIODRIVER", driver, 1);
}

TEST(SdlOutput, UnusableDriverGivesNoOutput)
{
    useDriver("no-such-driver");
    EXPECT_EQ(audio::openDefaultOutput(), nullptr);
    // A second attempt after the failure behaves the same (SDL's subsystem count stays balanced).
    EXPECT_EQ(audio::SdlOutput::open({}), nullptr);
}

TEST(SdlOutput, DefaultDeviceOpensOrFailsCleanly)
{
    std::unique_ptr<audio::AudioOutput> output = audio::openDefaultOutput();
    if (!output)
        GTEST_SKIP() << "no audio device on this machine";
    EXPECT_GT(output->sampleRate(), 0);
    EXPECT_GT(output->bufferFrames(), 0);
}

// A 441 Hz cosine at half scale (not zero at its first frame), numbered from the first frame this source renders.
class CosineSource : public audio::AudioSource {
public:
    explicit CosineSource(int rate) : m_rate(rate) {}
    static float sample(long long frame, int rate)
    {
        return 0.5f * static_cast<float>(std::cos(2.0 * M_PI * 441.0 * static_cast<double>(frame) / rate));
    }
    void render(float* out, int frames) noexcept override
    {
        long long frame = m_frames.load();
        for (int i = 0; i < frames; ++i, ++frame) {
            out[2 * i] += sample(frame, m_rate);
            out[2 * i + 1] -= sample(frame, m_rate);
        }
        m_frames.store(frame);
    }
    std::atomic<long long> m_frames{0};
    int m_rate;
};

TEST(SdlOutput, DiskDriverRecordsExactlyWhatTheSourcePlays)
{
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("piano-sdl-disk-" + std::to_string(getpid()) + ".raw");
    useDriver("disk");
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);

    std::unique_ptr<audio::SdlOutput> output = audio::SdlOutput::open({48000, 256});
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->driverName(), "disk");
    EXPECT_EQ(output->sampleRate(), 48000);
    EXPECT_EQ(output->bufferFrames(), 256);

    CosineSource source(output->sampleRate());
    output->addSource(&source);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (source.m_frames.load() < 4800 && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    output->removeSource(&source);
    output.reset(); // closing flushes the driver's file
    ASSERT_GE(source.m_frames.load(), 4800);

    std::ifstream in(file, std::ios::binary);
    std::vector<float> samples;
    float value;
    while (in.read(reinterpret_cast<char*>(&value), sizeof value))
        samples.push_back(value);
    std::filesystem::remove(file);
    ASSERT_EQ(samples.size() % 2, 0u);

    // The device starts before the source is added, so the file may begin with silence.
    size_t first = 0;
    while (first < samples.size() && samples[first] == 0.0f)
        ++first;
    first -= first % 2;
    const size_t frames = (samples.size() - first) / 2;
    ASSERT_GE(frames, 4800u);
    // The file holds whole callbacks; only the frames the source rendered before removal are its own.
    for (size_t i = 0; i < 4800; ++i) {
        ASSERT_EQ(samples[first + 2 * i], CosineSource::sample(static_cast<long long>(i), 48000)) << "frame " << i;
        ASSERT_EQ(samples[first + 2 * i + 1], -CosineSource::sample(static_cast<long long>(i), 48000));
    }
}

} // namespace
