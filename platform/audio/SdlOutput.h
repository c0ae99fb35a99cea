#pragma once
// The sound card's output through SDL's audio subsystem (float stereo, small buffers); owned by the GUI thread.

#include "platform/audio/AudioOutput.h"
#include "platform/audio/SourceMixer.h"

#include <cstdint>
#include <memory>
#include <string>

namespace audio {

class SdlOutput final : public AudioOutput {
public:
    struct Options {
        int sampleRate = 48000;
        // What we ask for; the driver may give another size, which bufferFrames() then reports.
        int bufferFrames = 256;
    };

    // Opens the default device and starts it (mixing silence until a source is added); nullptr when SDL
    // has no working audio driver or device. Never blocks for long: no device means a quick failure.
    [[nodiscard]] static std::unique_ptr<SdlOutput> open(const Options& options);
    ~SdlOutput() override;

    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    int sampleRate() const override { return m_sampleRate; }
    int bufferFrames() const override { return m_bufferFrames; }
    void addSource(AudioSource* source) override;
    void removeSource(AudioSource* source) override;

    // The SDL driver in use ("pulseaudio", "alsa", "disk", ...).
    std::string driverName() const { return m_driverName; }

private:
    SdlOutput() = default;
    static void callback(void* self, std::uint8_t* stream, int bytes);

    std::uint32_t m_device = 0;
    int m_sampleRate = 0;
    int m_bufferFrames = 0;
    std::string m_driverName;
    SourceMixer m_mixer;
};

// The program's sound output: the default SDL device at 48 kHz with a 256-frame buffer, or nullptr when the
// machine has no usable audio device (the program then plays silently).
[[nodiscard]] std::unique_ptr<AudioOutput> openDefaultOutput();

} // namespace audio
