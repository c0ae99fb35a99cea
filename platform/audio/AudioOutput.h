#pragma once
// The audio output that mixes every AudioSource of the program; owned by the GUI thread.

#include "platform/audio/AudioSource.h"

#include <memory>

namespace audio {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    virtual int sampleRate() const = 0;
    // Frames per callback (the device's buffer); the latency floor of everything mixed here.
    virtual int bufferFrames() const = 0;

    // Both may be called from the GUI thread while sound runs. After removeSource() returns the
    // callback no longer touches the source, so it may then be destroyed.
    virtual void addSource(AudioSource* source) = 0;
    virtual void removeSource(AudioSource* source) = 0;
};

} // namespace audio
