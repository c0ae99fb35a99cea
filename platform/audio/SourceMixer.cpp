#include "platform/audio/SourceMixer.h"

#include <cstring>
#include <thread>

namespace audio {

bool SourceMixer::add(AudioSource* source)
{
    if (!source)
        return false;
    for (auto& slot : m_slots) {
        if (slot.load() == source)
            return true;
    }
    for (auto& slot : m_slots) {
        if (!slot.load()) {
            slot.store(source);
            return true;
        }
    }
    return false;
}

void SourceMixer::remove(AudioSource* source)
{
    if (!source)
        return;
    bool found = false;
    for (auto& slot : m_slots) {
        if (slot.load() == source) {
            slot.store(nullptr);
            found = true;
        }
    }
    if (!found)
        return;
    // All operations here are sequentially consistent. A mix that read the old pointer incremented the
    // counter before reading it, and that read came before our store above; so if the counter is even
    // now, that mix has ended, and if it is odd we wait for the mix that is running to end.
    const std::uint64_t seen = m_mixCount.load();
    if (seen % 2 == 0)
        return;
    while (m_mixCount.load() == seen)
        std::this_thread::yield();
}

void SourceMixer::mix(float* out, int frames) noexcept
{
    if (frames <= 0)
        return;
    const std::size_t samples = static_cast<std::size_t>(frames) * 2;
    std::memset(out, 0, samples * sizeof(float));
    m_mixCount.fetch_add(1);
    for (auto& slot : m_slots) {
        if (AudioSource* source = slot.load())
            source->render(out, frames);
    }
    m_mixCount.fetch_add(1);
    for (std::size_t i = 0; i < samples; ++i) {
        const float v = out[i];
        out[i] = v > 1.0f ? 1.0f : v < -1.0f ? -1.0f : v == v ? v : 0.0f;
    }
}

} // namespace audio
