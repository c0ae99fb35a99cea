#include "platform/audio/OfflineOutput.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

namespace {

// Adds a constant to both channels and remembers the block sizes it was asked for.
class ConstantSource : public audio::AudioSource {
public:
    explicit ConstantSource(float value) : m_value(value) {}
    void render(float* out, int frames) noexcept override
    {
        for (int i = 0; i < frames * 2; ++i)
            out[i] += m_value;
        if (m_blocks.size() < m_blocks.capacity())
            m_blocks.push_back(frames);
    }
    std::vector<int> m_blocks = std::vector<int>();
    float m_value;
};

std::vector<float> pull(audio::OfflineOutput& output, int frames)
{
    std::vector<float> buffer(static_cast<size_t>(frames) * 2, 123.0f);
    output.pull(buffer.data(), frames);
    return buffer;
}

TEST(OfflineOutput, MixesEverySourceAndClampsTheSum)
{
    struct Case {
        std::vector<float> values;
        float expected;
    };
    const Case cases[] = {
        {{}, 0.0f},                          // no source: the stale buffer is overwritten with silence
        {{0.25f}, 0.25f},
        {{0.25f, 0.5f}, 0.75f},
        {{0.75f, 0.5f}, 1.0f},               // clipped, not wrapped
        {{-0.75f, -0.5f}, -1.0f},
        {{std::numeric_limits<float>::quiet_NaN()}, 0.0f},
        {{std::numeric_limits<float>::infinity()}, 1.0f},
    };
    for (const Case& c : cases) {
        audio::OfflineOutput output;
        std::vector<std::unique_ptr<ConstantSource>> sources;
        for (float v : c.values) {
            sources.push_back(std::make_unique<ConstantSource>(v));
            output.addSource(sources.back().get());
        }
        for (float sample : pull(output, 100))
            ASSERT_EQ(sample, c.expected) << "sources " << c.values.size();
    }
}

TEST(OfflineOutput, AddIsIdempotentAndRemoveStopsRendering)
{
    audio::OfflineOutput output;
    ConstantSource a(0.25f);
    ConstantSource b(0.125f);
    output.addSource(&a);
    output.addSource(&a);
    output.addSource(&b);
    EXPECT_EQ(pull(output, 4)[0], 0.375f);
    output.removeSource(&a);
    EXPECT_EQ(pull(output, 4)[0], 0.125f);
    output.removeSource(&a); // not present any more: nothing happens
    output.removeSource(nullptr);
    output.addSource(nullptr);
    output.removeSource(&b);
    EXPECT_EQ(pull(output, 4)[0], 0.0f);
}

TEST(OfflineOutput, PullsInDeviceSizedBlocksAndCountsFrames)
{
    audio::OfflineOutput output(44100, 64);
    ConstantSource source(0.5f);
    source.m_blocks.reserve(16);
    output.addSource(&source);
    pull(output, 150);
    EXPECT_EQ(source.m_blocks, (std::vector<int>{64, 64, 22}));
    EXPECT_EQ(output.framesPulled(), 150);
    EXPECT_EQ(output.sampleRate(), 44100);
    EXPECT_EQ(output.bufferFrames(), 64);
}

TEST(SourceMixer, FullTableRefusesFurtherSources)
{
    audio::SourceMixer mixer;
    std::vector<ConstantSource> sources(audio::SourceMixer::kMaxSources + 1, ConstantSource(0.0f));
    for (int i = 0; i < audio::SourceMixer::kMaxSources; ++i)
        EXPECT_TRUE(mixer.add(&sources[i]));
    EXPECT_FALSE(mixer.add(&sources.back()));
    mixer.remove(&sources[3]);
    EXPECT_TRUE(mixer.add(&sources.back()));
}

// A source that notices being rendered after it was declared dead (its memory is kept alive so the fault
// shows as a flag instead of a use-after-free).
class WatchedSource : public audio::AudioSource {
public:
    void render(float* out, int frames) noexcept override
    {
        if (m_dead.load())
            m_renderedWhileDead.store(true);
        for (int i = 0; i < frames * 2; ++i)
            out[i] += 0.001f;
    }
    std::atomic<bool> m_dead{false};
    std::atomic<bool> m_renderedWhileDead{false};
};

TEST(SourceMixer, RemovedSourceIsNeverRenderedAgainWhileAnotherThreadMixes)
{
    audio::SourceMixer mixer;
    std::atomic<bool> stop{false};
    std::thread audioThread([&] {
        float buffer[2 * 64];
        while (!stop.load())
            mixer.mix(buffer, 64);
    });
    constexpr int kRounds = 2000;
    std::vector<WatchedSource> sources(kRounds);
    for (WatchedSource& source : sources) {
        ASSERT_TRUE(mixer.add(&source));
        std::this_thread::yield();
        mixer.remove(&source);
        source.m_dead.store(true);
    }
    stop.store(true);
    audioThread.join();
    for (const WatchedSource& source : sources)
        ASSERT_FALSE(source.m_renderedWhileDead.load());
}

} // namespace
