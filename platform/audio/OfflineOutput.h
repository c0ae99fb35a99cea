#pragma once
// An audio output without a device whose clock advances only when a test pulls frames; owned by the test's thread.

#include "platform/audio/AudioOutput.h"
#include "platform/audio/SourceMixer.h"

namespace audio {

class OfflineOutput final : public AudioOutput {
public:
    explicit OfflineOutput(int sampleRate = 48000, int bufferFrames = 256);

    int sampleRate() const override { return m_sampleRate; }
    int bufferFrames() const override { return m_bufferFrames; }
    void addSource(AudioSource* source) override;
    void removeSource(AudioSource* source) override;

    // Mixes `frames` stereo frames into `out` (which it overwrites), in blocks of bufferFrames() as a
    // device would, so sources see the same block boundaries as under a real callback.
    void pull(float* out, int frames);

    // Frames pulled since construction: the output's clock.
    long long framesPulled() const { return m_framesPulled; }

private:
    int m_sampleRate;
    int m_bufferFrames;
    long long m_framesPulled = 0;
    SourceMixer m_mixer;
};

} // namespace audio
