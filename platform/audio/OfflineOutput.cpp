#include "platform/audio/OfflineOutput.h"

#include <algorithm>

namespace audio {

OfflineOutput::OfflineOutput(int sampleRate, int bufferFrames)
    : m_sampleRate(std::max(sampleRate, 1))
    , m_bufferFrames(std::max(bufferFrames, 1))
{
}

void OfflineOutput::addSource(AudioSource* source)
{
    (void)m_mixer.add(source);
}

void OfflineOutput::removeSource(AudioSource* source)
{
    m_mixer.remove(source);
}

void OfflineOutput::pull(float* out, int frames)
{
    while (frames > 0) {
        const int block = std::min(frames, m_bufferFrames);
        m_mixer.mix(out, block);
        out += static_cast<std::ptrdiff_t>(block) * 2;
        frames -= block;
        m_framesPulled += block;
    }
}

} // namespace audio
