#pragma once
// Plays a parsed MIDI song through its own FluidSynth instance; render() on the audio thread,
// transport on the GUI thread while held (see DevicePlayer).

#include "platform/media/DevicePlayer.h"
#include "platform/media/MidiSong.h"

#include <fluidsynth/types.h>

#include <memory>
#include <vector>

namespace media {

class SequencerPlayer final : public DevicePlayer {
public:
    // The synth comes later through attachSynth(); until then, or when it stays null, the song runs
    // silently.
    SequencerPlayer(std::unique_ptr<const MidiSong> song, int outputRate);

    void render(float* out, int frames) noexcept override;
    [[nodiscard]] int64_t lengthMs() const override { return m_song->lengthMs(); }
    void seek(int64_t ms) override;
    void play() override;
    void pause() override;
    void stop() override;

    // GUI thread, held. `synth` is lent by the caller (a SynthPool) and must outlive the player.
    void attachSynth(fluid_synth_t* synth);

    // Whether a system-exclusive message is one the sequencer passes to the synth: the GM, GS and
    // XG resets and the GS drum-part switch. Others (tunings above all) would make FluidSynth
    // allocate on the audio thread, so they are left out.
    [[nodiscard]] static bool isForwardedSysEx(const uint8_t* data, size_t length) noexcept;

private:
    [[nodiscard]] int64_t eventFrame(size_t index) const noexcept;
    void dispatch(const MidiSong::Event& e) noexcept;
    void chase();
    void renderSynth(float* out, int frames) noexcept;
    void publishPosition() noexcept;

    static constexpr int kChunkFrames = 256;

    std::unique_ptr<const MidiSong> m_song;
    fluid_synth_t* m_synth = nullptr;
    int m_rate;
    int64_t m_lengthFrames;
    int64_t m_cursor = 0;  // output frames since the start of the song
    size_t m_next = 0;     // first event not yet sent
    bool m_needsChase = true;
    std::vector<float> m_left;
    std::vector<float> m_right;
};

} // namespace media
