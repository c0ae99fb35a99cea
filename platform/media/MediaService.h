#pragma once
// The media command service: takes command strings that name devices by alias and plays them; GUI thread.

#include "platform/media/MediaError.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace audio {
class AudioOutput;
}

namespace media {

class MediaService {
public:
    virtual ~MediaService() = default;

    // Opens `element` (a file path) as a device of `deviceType` under `alias`.
    // 0 on success, otherwise a MediaError code.
    [[nodiscard]] virtual uint32_t open(std::string_view deviceType, std::string_view element,
                                        std::string_view alias) = 0;

    // Runs one command such as "play <alias> from 0"; `reply` receives the answer of a status
    // command and is cleared otherwise. 0 on success, otherwise a MediaError code.
    [[nodiscard]] virtual uint32_t sendString(std::string_view command, std::string& reply) = 0;
};

// The real engine. Playback is mixed into `output`. With a null `output` the engine runs its own
// silent clock, so every command still works and positions advance in real time.
[[nodiscard]] std::unique_ptr<MediaService> createMediaEngine(audio::AudioOutput* output);

} // namespace media
