#pragma once
// Plays a decoded audio file, resampled to the output rate; render() on the audio thread, transport
// on the GUI thread while held (see DevicePlayer).

#include "platform/media/DecodedAudio.h"
#include "platform/media/DevicePlayer.h"

namespace media {

class AudioFilePlayer final : public DevicePlayer {
public:
    AudioFilePlayer(DecodedAudio audio, int outputRate);

    void render(float* out, int frames) noexcept override;
    [[nodiscard]] int64_t lengthMs() const override { return m_audio.lengthMs(); }
    void seek(int64_t ms) override;
    void play() override;
    void pause() override;
    void stop() override;

private:
    void publishPosition() noexcept;

    DecodedAudio m_audio;
    int64_t m_frames;
    // Read position in source frames, 32.32 fixed point, and the step per output frame: linear
    // interpolation between neighbouring source frames.
    uint64_t m_pos = 0;
    uint64_t m_step;
};

} // namespace media
