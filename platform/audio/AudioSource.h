#pragma once
// A producer of sound, mixed by an AudioOutput; render() runs on the audio callback thread.

namespace audio {

class AudioSource {
public:
    virtual ~AudioSource() = default;

    // Adds `frames` stereo frames (interleaved left, right; floats around -1..1) to `out`.
    // This is real-time code: no allocation, no blocking lock, no file I/O, no logging, no throw.
    virtual void render(float* out, int frames) noexcept = 0;
};

} // namespace audio
