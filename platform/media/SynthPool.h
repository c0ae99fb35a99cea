#pragma once
// FluidSynth instances for the sequencer devices, all sharing one loaded SoundFont; GUI thread.

#include <fluidsynth/types.h>

#include <future>
#include <string>
#include <vector>

namespace media {

// Loading the General MIDI SoundFont takes most of a second, so the first synth is made on a worker
// thread and the GUI thread waits for it only when it needs the sound (at play). Every load goes
// through audio::SoundFontLibrary, so the samples are shared with every other synth of the process
// that holds the same file (the keyboard's built-in synthesizer above all), and later synths cost a few
// tens of milliseconds; the pool keeps released synths and lends them out again after a reset.
class SynthPool {
public:
    // An empty path means the first General MIDI SoundFont found in the usual places.
    explicit SynthPool(int sampleRate, std::string soundFontPath = {});
    ~SynthPool();
    SynthPool(const SynthPool&) = delete;
    SynthPool& operator=(const SynthPool&) = delete;

    // A reset synth at the pool's sample rate, ready at once when one is idle and otherwise on its
    // way. It is silent when no SoundFont could be loaded, and null only when FluidSynth cannot make
    // a synth at all. Every synth acquired must come back through release().
    [[nodiscard]] std::shared_future<fluid_synth_t*> acquire();
    // Takes a synth back; it must no longer be rendered anywhere.
    void release(fluid_synth_t* synth);

    [[nodiscard]] static std::string findSoundFont();

private:
    fluid_synth_t* create();

    fluid_settings_t* m_settings = nullptr;
    std::string m_soundFont;
    std::vector<fluid_synth_t*> m_idle;
    std::shared_future<fluid_synth_t*> m_first; // the synth that loads the SoundFont
};

} // namespace media
