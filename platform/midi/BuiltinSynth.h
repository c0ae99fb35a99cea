#pragma once
// The built-in General MIDI synthesizer (FluidSynth) mixed into an audio output; owned by the GUI thread.
// It renders on the audio thread and loads its SoundFont on a worker thread of its own.

#include "platform/audio/AudioOutput.h"
#include "platform/audio/AudioSource.h"
#include "platform/midi/MessageRing.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_hashtable_t fluid_settings_t;

namespace midi {

class BuiltinSynth final : public audio::AudioSource {
public:
    enum class State { Loading, Ready, Failed };

    struct Options {
        // SoundFont files to try, in order; the first that exists is loaded. Empty means defaultSoundFonts().
        std::vector<std::string> soundFonts;
        int polyphony = 64;
        double gain = 0.5;
    };

    // Debian's General MIDI SoundFonts, the complete one first, the small one last.
    static std::vector<std::string> defaultSoundFonts();

    // Starts loading the first SoundFont that exists and returns at once; nullptr when none exists or
    // the output's rate is one the synthesizer cannot run at. `output` must outlive the synthesizer.
    [[nodiscard]] static std::shared_ptr<BuiltinSynth> create(audio::AudioOutput& output, Options options);
    [[nodiscard]] static std::shared_ptr<BuiltinSynth> create(audio::AudioOutput& output);
    ~BuiltinSynth() override;

    BuiltinSynth(const BuiltinSynth&) = delete;
    BuiltinSynth& operator=(const BuiltinSynth&) = delete;

    State state() const { return m_state.load(); }
    // Blocks until loading has ended and tells how.
    State waitUntilLoaded();
    const std::string& soundFont() const { return m_soundFont; }

    // Puts the synthesizer into (and takes it out of) the output's mix; counted, so two open ports may
    // share it. Taking it out silences every sounding note and drops messages not yet played.
    void attach();
    void detach();

    // Hands a short message to the audio thread, which plays it at the start of its next block. False
    // when the message is malformed, the queue is full or the SoundFont failed to load. Until the
    // SoundFont is loaded notes are dropped (a late burst of stale notes would be worse than silence),
    // while program changes are kept and applied once it is.
    [[nodiscard]] bool post(std::uint32_t shortMessage);

    void render(float* out, int frames) noexcept override;

private:
    BuiltinSynth(audio::AudioOutput& output, std::string soundFont, const Options& options);
    void load();
    void setState(State state);
    void play(fluid_synth_t* synth, std::uint32_t shortMessage) noexcept;
    void keepForLater(std::uint32_t shortMessage) noexcept;

    static constexpr int kScratchFrames = 256;

    audio::AudioOutput& m_output;
    const std::string m_soundFont;
    const int m_polyphony;
    const double m_gain;
    int m_attachCount = 0;
    MessageRing m_ring;

    std::thread m_loader;
    std::mutex m_stateMutex;
    std::condition_variable m_stateChanged;
    std::atomic<State> m_state{State::Loading};
    // Published by the loader once the SoundFont is in; from then on only the audio thread (or the GUI
    // thread while the synthesizer is out of the mix) touches it, so FluidSynth's own locking is off.
    std::atomic<fluid_synth_t*> m_synth{nullptr};
    fluid_settings_t* m_settings = nullptr;

    // Audio thread only.
    std::array<int, 16> m_pendingProgram;
    bool m_pendingApplied = false;
    std::array<float, 2 * kScratchFrames> m_scratch{};
};

} // namespace midi
