#include "platform/media/AudioFilePlayer.h"

#include <algorithm>

namespace media {

AudioFilePlayer::AudioFilePlayer(DecodedAudio audio, int outputRate)
    : m_audio(std::move(audio)),
      m_frames(m_audio.frames()),
      m_step((static_cast<uint64_t>(m_audio.sampleRate()) << 32) / static_cast<uint64_t>(outputRate))
{
}

void AudioFilePlayer::publishPosition() noexcept
{
    const int64_t frame = static_cast<int64_t>(m_pos >> 32);
    const int64_t ms = frame >= m_frames ? lengthMs() : frame * 1000 / m_audio.sampleRate();
    m_positionMs.store(ms, std::memory_order_release);
}

void AudioFilePlayer::render(float* out, int frames) noexcept
{
    if (m_mode.load(std::memory_order_relaxed) != Mode::Playing)
        return;
    const float gainLeft = m_gainLeft.load(std::memory_order_relaxed) / 32768.0f;
    const float gainRight = m_gainRight.load(std::memory_order_relaxed) / 32768.0f;
    const int16_t* s = m_audio.samples().data();
    const int64_t last = m_frames - 1;
    constexpr float kFraction = 1.0f / 4294967296.0f;
    for (int i = 0; i < frames; ++i) {
        const int64_t idx = static_cast<int64_t>(m_pos >> 32);
        if (idx >= m_frames) {
            m_pos = static_cast<uint64_t>(m_frames) << 32;
            m_mode.store(Mode::Stopped, std::memory_order_release);
            break;
        }
        const float t = static_cast<float>(m_pos & 0xFFFFFFFFu) * kFraction;
        const int64_t next = std::min(idx + 1, last);
        float left, right;
        if (m_audio.channels() == 1) {
            left = right = s[idx] + (s[next] - s[idx]) * t;
        } else {
            left = s[2 * idx] + (s[2 * next] - s[2 * idx]) * t;
            right = s[2 * idx + 1] + (s[2 * next + 1] - s[2 * idx + 1]) * t;
        }
        out[2 * i] += left * gainLeft;
        out[2 * i + 1] += right * gainRight;
        m_pos += m_step;
    }
    publishPosition();
}

void AudioFilePlayer::seek(int64_t ms)
{
    ms = std::clamp<int64_t>(ms, 0, lengthMs());
    // Rounded up, so that the position read back is the one asked for.
    const int64_t frame = std::min(m_frames, (ms * m_audio.sampleRate() + 999) / 1000);
    m_pos = static_cast<uint64_t>(frame) << 32;
    publishPosition();
}

void AudioFilePlayer::play() { m_mode.store(Mode::Playing, std::memory_order_release); }

void AudioFilePlayer::pause() { m_mode.store(Mode::Paused, std::memory_order_release); }

void AudioFilePlayer::stop() { m_mode.store(Mode::Stopped, std::memory_order_release); }

} // namespace media
