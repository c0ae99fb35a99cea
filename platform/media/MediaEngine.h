#pragma once
// The media command service over real devices: audio files and a MIDI sequencer; GUI thread.
// Playback runs in a DeviceMixer rendered by the audio output's callback.

#include "platform/media/ClockOutput.h"
#include "platform/media/DeviceMixer.h"
#include "platform/media/MediaCommand.h"
#include "platform/media/MediaService.h"
#include "platform/media/SynthPool.h"

#include <map>
#include <memory>
#include <string>

namespace media {

class MediaEngine final : public MediaService {
public:
    // `output` may be null: the engine then plays against a ClockOutput of its own.
    explicit MediaEngine(audio::AudioOutput* output);
    ~MediaEngine() override;
    MediaEngine(const MediaEngine&) = delete;
    MediaEngine& operator=(const MediaEngine&) = delete;

    [[nodiscard]] uint32_t open(std::string_view deviceType, std::string_view element, std::string_view alias) override;
    [[nodiscard]] uint32_t sendString(std::string_view command, std::string& reply) override;

    // The source that the engine adds to its output while a device is open; tests render it directly.
    [[nodiscard]] audio::AudioSource& source() { return m_mixer; }

private:
    struct Device {
        int slot = -1;
        std::unique_ptr<DevicePlayer> player;
        // Sequencer devices: the synth lent by m_synths, given to the player at the first play.
        std::shared_future<fluid_synth_t*> synth;
        bool synthAttached = false;
        int volumeLeft = 1000;
        int volumeRight = 1000;
    };

    [[nodiscard]] MediaError run(const MediaCommand& c, Device& d, std::string& reply);
    void close(const std::string& alias);
    [[nodiscard]] MediaError openSequencer(std::string_view path, Device& d);
    [[nodiscard]] MediaError openAudioFile(std::string_view path, Device& d);

    std::unique_ptr<ClockOutput> m_clock;
    audio::AudioOutput* m_output;
    DeviceMixer m_mixer;
    std::unique_ptr<SynthPool> m_synths; // made at the first sequencer open
    std::map<std::string, Device> m_devices;
    bool m_sourceAdded = false;
};

} // namespace media
