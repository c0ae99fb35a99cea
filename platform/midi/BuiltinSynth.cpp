#include "platform/midi/BuiltinSynth.h"

#include "platform/audio/SoundFontLibrary.h"
#include "platform/midi/ShortMessage.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace midi {

namespace {

void silenceFluidLog()
{
    // FluidSynth prints warnings about SoundFont quirks to stderr; a failed load is reported as a state.
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

bool configure(fluid_settings_t* settings, int sampleRate, int polyphony, double gain)
{
    bool ok = fluid_settings_setnum(settings, "synth.sample-rate", sampleRate) == FLUID_OK;
    ok = ok && fluid_settings_setint(settings, "synth.polyphony", polyphony) == FLUID_OK;
    ok = ok && fluid_settings_setnum(settings, "synth.gain", gain) == FLUID_OK;
    // One rendering thread (ours), no locks inside the synthesizer, and the whole SoundFont read in at
    // load time, so that the audio thread never reads a file when a program changes.
    ok = ok && fluid_settings_setint(settings, "synth.cpu-cores", 1) == FLUID_OK;
    ok = ok && fluid_settings_setint(settings, "synth.threadsafe-api", 0) == FLUID_OK;
    ok = ok && fluid_settings_setint(settings, "synth.dynamic-sample-loading", 0) == FLUID_OK;
    // Pinning 150 MB of samples in RAM is a cost to the whole system we do not impose.
    ok = ok && fluid_settings_setint(settings, "synth.lock-memory", 0) == FLUID_OK;
    ok = ok && fluid_settings_setint(settings, "synth.reverb.active", 1) == FLUID_OK;
    // Chorus detunes: a piano that should sound at a key's exact pitch does without it.
    ok = ok && fluid_settings_setint(settings, "synth.chorus.active", 0) == FLUID_OK;
    return ok;
}

} // namespace

std::vector<std::string> BuiltinSynth::defaultSoundFonts()
{
    return audio::SoundFontLibrary::defaultSoundFonts();
}

std::shared_ptr<BuiltinSynth> BuiltinSynth::create(audio::AudioOutput& output)
{
    return create(output, Options{});
}

std::shared_ptr<BuiltinSynth> BuiltinSynth::create(audio::AudioOutput& output, Options options)
{
    // FluidSynth's range of sample rates.
    if (output.sampleRate() < 8000 || output.sampleRate() > 96000 || options.polyphony < 1)
        return nullptr;
    if (options.soundFonts.empty())
        options.soundFonts = defaultSoundFonts();
    for (const std::string& path : options.soundFonts) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            std::shared_ptr<BuiltinSynth> synth(new BuiltinSynth(output, path, options));
            synth->m_loader = std::thread([raw = synth.get()] { raw->load(); });
            return synth;
        }
    }
    return nullptr;
}

BuiltinSynth::BuiltinSynth(audio::AudioOutput& output, std::string soundFont, const Options& options)
    : m_output(output)
    , m_soundFont(std::move(soundFont))
    , m_polyphony(options.polyphony)
    , m_gain(options.gain)
{
    m_pendingProgram.fill(-1);
}

BuiltinSynth::~BuiltinSynth()
{
    if (m_attachCount > 0) {
        m_attachCount = 1;
        detach();
    }
    // A SoundFont load cannot be interrupted; closing during it waits for the rest of the load.
    if (m_loader.joinable())
        m_loader.join();
    if (fluid_synth_t* synth = m_synth.load()) {
        audio::SoundFontLibrary::deleteSynth(synth);
        delete_fluid_settings(m_settings);
    }
}

void BuiltinSynth::load()
{
    silenceFluidLog();
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    if (settings && configure(settings, m_output.sampleRate(), m_polyphony, m_gain))
        synth = new_fluid_synth(settings);
    // Through the library, so that the sequencer's synth, loading at the same time, shares the samples.
    if (!synth || audio::SoundFontLibrary::load(synth, m_soundFont) == FLUID_FAILED) {
        if (synth)
            audio::SoundFontLibrary::deleteSynth(synth);
        if (settings)
            delete_fluid_settings(settings);
        setState(State::Failed);
        return;
    }
    m_settings = settings;
    m_synth.store(synth, std::memory_order_release);
    setState(State::Ready);
}

void BuiltinSynth::setState(State state)
{
    {
        std::lock_guard lock(m_stateMutex);
        m_state.store(state);
    }
    m_stateChanged.notify_all();
}

BuiltinSynth::State BuiltinSynth::waitUntilLoaded()
{
    std::unique_lock lock(m_stateMutex);
    m_stateChanged.wait(lock, [this] { return m_state.load() != State::Loading; });
    return m_state.load();
}

void BuiltinSynth::attach()
{
    if (m_attachCount++ == 0)
        m_output.addSource(this);
}

void BuiltinSynth::detach()
{
    if (m_attachCount == 0 || --m_attachCount > 0)
        return;
    m_output.removeSource(this);
    // The audio thread no longer runs render(), so its side of the state is ours until the next attach.
    m_ring.clear();
    if (fluid_synth_t* synth = m_synth.load(std::memory_order_acquire))
        fluid_synth_all_sounds_off(synth, -1);
}

bool BuiltinSynth::post(std::uint32_t shortMessage)
{
    if (shortMessageLength(shortMessage) == 0 || m_state.load() == State::Failed)
        return false;
    return m_ring.push(shortMessage);
}

void BuiltinSynth::render(float* out, int frames) noexcept
{
    fluid_synth_t* synth = m_synth.load(std::memory_order_acquire);
    if (synth && !m_pendingApplied) {
        for (int channel = 0; channel < 16; ++channel) {
            if (m_pendingProgram[static_cast<std::size_t>(channel)] >= 0)
                fluid_synth_program_change(synth, channel, m_pendingProgram[static_cast<std::size_t>(channel)]);
        }
        m_pendingApplied = true;
    }
    std::uint32_t message = 0;
    while (m_ring.pop(message)) {
        if (synth)
            play(synth, message);
        else
            keepForLater(message);
    }
    if (!synth)
        return;
    while (frames > 0) {
        const int block = std::min(frames, kScratchFrames);
        fluid_synth_write_float(synth, block, m_scratch.data(), 0, 2, m_scratch.data(), 1, 2);
        for (int i = 0; i < 2 * block; ++i)
            out[i] += m_scratch[static_cast<std::size_t>(i)];
        out += 2 * block;
        frames -= block;
    }
}

void BuiltinSynth::play(fluid_synth_t* synth, std::uint32_t shortMessage) noexcept
{
    const auto bytes = shortMessageBytes(shortMessage);
    const int channel = bytes[0] & 0x0F;
    switch (bytes[0] & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, channel, bytes[1]);
        break;
    case 0x90:
        fluid_synth_noteon(synth, channel, bytes[1], bytes[2]); // velocity 0 is a note-off
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, channel, bytes[1], bytes[2]);
        break;
    case 0xB0:
        fluid_synth_cc(synth, channel, bytes[1], bytes[2]);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, channel, bytes[1]);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, channel, bytes[1]);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, channel, bytes[1] | (bytes[2] << 7));
        break;
    default:
        if (bytes[0] == 0xFF)
            fluid_synth_system_reset(synth);
        break;
    }
}

void BuiltinSynth::keepForLater(std::uint32_t shortMessage) noexcept
{
    const auto bytes = shortMessageBytes(shortMessage);
    if ((bytes[0] & 0xF0) == 0xC0)
        m_pendingProgram[bytes[0] & 0x0Fu] = bytes[1];
    else if (bytes[0] == 0xFF)
        m_pendingProgram.fill(-1);
}

} // namespace midi
