#include "platform/media/SynthPool.h"

#include "platform/audio/SoundFontLibrary.h"

#include <fluidsynth.h>

#include <mutex>

namespace media {

namespace {

// Keeps the pool's memory bounded when many sequencer devices were open at once.
constexpr size_t kMaxIdle = 2;

// FluidSynth prints to stderr, also from inside the audio callback (a program change to a bank the
// SoundFont lacks warns and substitutes); the callback must do no I/O, so its log goes nowhere.
void silenceFluidLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

} // namespace

SynthPool::SynthPool(int sampleRate, std::string soundFontPath)
    : m_settings(new_fluid_settings()), m_soundFont(soundFontPath.empty() ? findSoundFont() : std::move(soundFontPath))
{
    silenceFluidLog();
    fluid_settings_setnum(m_settings, "synth.sample-rate", sampleRate);
    // Each synth is driven by one thread at a time (see DeviceMixer), so FluidSynth's own API
    // mutex would only add a lock to the audio callback.
    fluid_settings_setint(m_settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(m_settings, "synth.cpu-cores", 1);
    // Every sample is read at load time, never from the callback; and 140 MB are not pinned in RAM.
    fluid_settings_setint(m_settings, "synth.dynamic-sample-loading", 0);
    fluid_settings_setint(m_settings, "synth.lock-memory", 0);
    fluid_settings_setnum(m_settings, "synth.gain", 0.4);
}

SynthPool::~SynthPool()
{
    if (m_first.valid())
        m_first.wait(); // the worker uses the settings
    for (fluid_synth_t* s : m_idle)
        audio::SoundFontLibrary::deleteSynth(s);
    delete_fluid_settings(m_settings);
}

std::string SynthPool::findSoundFont()
{
    return audio::SoundFontLibrary::find();
}

fluid_synth_t* SynthPool::create()
{
    fluid_synth_t* synth = new_fluid_synth(m_settings);
    if (synth != nullptr && !m_soundFont.empty())
        (void)audio::SoundFontLibrary::load(synth, m_soundFont);
    return synth;
}

std::shared_future<fluid_synth_t*> SynthPool::acquire()
{
    if (!m_idle.empty()) {
        std::promise<fluid_synth_t*> ready;
        ready.set_value(m_idle.back());
        m_idle.pop_back();
        return ready.get_future().share();
    }
    if (!m_first.valid()) {
        m_first = std::async(std::launch::async, [this] { return create(); }).share();
        return m_first;
    }
    // Made when first needed, once the first synth holds the samples that this one will share.
    return std::async(std::launch::deferred, [this, first = m_first] {
               first.wait();
               return create();
           }).share();
}

void SynthPool::release(fluid_synth_t* synth)
{
    if (synth == nullptr)
        return;
    fluid_synth_all_sounds_off(synth, -1);
    fluid_synth_system_reset(synth);
    if (m_idle.size() < kMaxIdle)
        m_idle.push_back(synth);
    else
        audio::SoundFontLibrary::deleteSynth(synth);
}

} // namespace media
