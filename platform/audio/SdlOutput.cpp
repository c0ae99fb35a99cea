#include "platform/audio/SdlOutput.h"

#include <SDL.h>
#include <alsa/asoundlib.h>

#include <cstdarg>

namespace audio {

namespace {

// libasound, which SDL loads for its ALSA driver, prints every failed lookup of a missing card to stderr.
// A machine without a sound card is an expected case here, so those lines are kept quiet while we open.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

class QuietAlsaScope {
public:
    QuietAlsaScope() { snd_lib_error_set_handler(quietAlsa); }
    ~QuietAlsaScope() { snd_lib_error_set_handler(nullptr); }
    QuietAlsaScope(const QuietAlsaScope&) = delete;
    QuietAlsaScope& operator=(const QuietAlsaScope&) = delete;
};

} // namespace

std::unique_ptr<SdlOutput> SdlOutput::open(const Options& options)
{
    QuietAlsaScope quiet;
    // SDL would otherwise take SIGINT and SIGTERM for itself, and the program would ignore them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return nullptr;

    std::unique_ptr<SdlOutput> output(new SdlOutput);
    SDL_AudioSpec wanted{};
    wanted.freq = options.sampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 2;
    wanted.samples = static_cast<Uint16>(options.bufferFrames);
    wanted.callback = &SdlOutput::callback;
    wanted.userdata = output.get();
    SDL_AudioSpec obtained{};
    // Format and channel count stay ours (SDL converts if the device differs); rate and buffer size
    // follow the device so that no resampling or extra buffering is added behind our back.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
        SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    output->m_device = device;
    output->m_sampleRate = obtained.freq;
    output->m_bufferFrames = obtained.samples;
    if (const char* driver = SDL_GetCurrentAudioDriver())
        output->m_driverName = driver;
    SDL_PauseAudioDevice(device, 0);
    return output;
}

SdlOutput::~SdlOutput()
{
    if (m_device != 0) {
        SDL_CloseAudioDevice(m_device);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlOutput::addSource(AudioSource* source)
{
    (void)m_mixer.add(source);
}

void SdlOutput::removeSource(AudioSource* source)
{
    m_mixer.remove(source);
}

void SdlOutput::callback(void* self, std::uint8_t* stream, int bytes)
{
    auto* output = static_cast<SdlOutput*>(self);
    output->m_mixer.mix(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

std::unique_ptr<AudioOutput> openDefaultOutput()
{
    return SdlOutput::open(SdlOutput::Options{});
}

} // namespace audio
