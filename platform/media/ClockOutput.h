#pragma once
// An audio output for a machine with no sound device: a thread of its own pulls the sources at
// real-time pace and throws the sound away, so playback advances as it would on a device. Owned by
// the GUI thread; the pulling thread runs only while a source is added.

#include "platform/audio/AudioOutput.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace media {

class ClockOutput final : public audio::AudioOutput {
public:
    explicit ClockOutput(int sampleRate = 48000, int bufferFrames = 480);
    ~ClockOutput() override;
    ClockOutput(const ClockOutput&) = delete;
    ClockOutput& operator=(const ClockOutput&) = delete;

    int sampleRate() const override { return m_sampleRate; }
    int bufferFrames() const override { return m_bufferFrames; }
    void addSource(audio::AudioSource* source) override;
    void removeSource(audio::AudioSource* source) override;

private:
    void run();

    int m_sampleRate;
    int m_bufferFrames;
    std::mutex m_mutex; // guards m_sources and m_stop; held by the pulling thread while it renders
    std::condition_variable m_wake;
    std::vector<audio::AudioSource*> m_sources;
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace media
