#pragma once
// Loads SoundFonts into FluidSynth synths so that the process reads each file's samples only once; any thread.
//
// FluidSynth keeps the sample data of a SoundFont file in a process-wide cache, and a synth that loads
// a file already held by another synth of the process shares that copy instead of reading its own. But
// two loads of the same file that run at the same time both miss the cache and each read a full copy,
// which for the General MIDI SoundFont is 140 MB. The built-in synthesizer and the sequencer start
// loading together at start-up, so their loads go through here, one after the other: the second finds
// the first's samples and only reads the file's preset headers.
//
// FluidSynth counts a cached file's users outside its cache lock when a load finds the file there, so
// a synth deleted on one thread while another thread loads the same file could free the samples under
// the load. Synths that load through here are therefore deleted through here too, under the same lock.
//
// Each synth still owns its own SoundFont object (presets, zones, sample headers); only the 16-bit
// sample data, which nothing writes after loading, is shared. Sharing one SoundFont object between
// synths instead would share FluidSynth's per-sample reference counts, which voices change without a
// lock on whichever thread drives each synth.

#include <cstdint>
#include <string>
#include <vector>

typedef struct _fluid_synth_t fluid_synth_t;

namespace audio {

class SoundFontLibrary {
public:
    SoundFontLibrary() = delete;

    // Debian's General MIDI SoundFonts, the complete one first, the small one last.
    [[nodiscard]] static std::vector<std::string> defaultSoundFonts();
    // The first of `candidates` that is a regular file (defaultSoundFonts() when empty), or "".
    [[nodiscard]] static std::string find(const std::vector<std::string>& candidates = {});

    // Loads `path` into `synth` and selects its presets; the font id, or -1 when it could not be loaded.
    // Blocks while another load runs. Call it before the synth is rendered anywhere.
    [[nodiscard]] static int load(fluid_synth_t* synth, const std::string& path);

    // Deletes a synth whose SoundFont came from load() (null is ignored); blocks while a load runs.
    static void deleteSynth(fluid_synth_t* synth);

    // Bytes load() has read from SoundFont files so far, for tests and benchmarks to tell a load
    // that read the samples from one that found them in the cache.
    [[nodiscard]] static std::uint64_t bytesRead();
};

} // namespace audio
