#pragma once
// The list of sources an output mixes, shared between the GUI thread (add, remove) and the audio thread (mix).

#include "platform/audio/AudioSource.h"

#include <array>
#include <atomic>
#include <cstdint>

namespace audio {

class SourceMixer {
public:
    static constexpr int kMaxSources = 32;

    // GUI thread. Adding a source that is already present does nothing; false when every slot is taken.
    [[nodiscard]] bool add(AudioSource* source);
    // GUI thread. Waits (spinning) while a mix that may still hold the source is running, so that the
    // caller may destroy the source as soon as this returns. Never call it from a source's render().
    void remove(AudioSource* source);

    // Audio thread. Zeroes `out`, lets every source add its frames, then clamps the sum to -1..1
    // (a NaN becomes silence). This is real-time code: it never waits, allocates or throws.
    void mix(float* out, int frames) noexcept;

private:
    // A null slot is free. Slots are only written by the GUI thread; the audio thread only reads them.
    std::array<std::atomic<AudioSource*>, kMaxSources> m_slots{};
    // Incremented when a mix starts and when it ends, so an odd value means "mixing now".
    std::atomic<std::uint64_t> m_mixCount{0};
};

} // namespace audio
