#pragma once
// One command string taken apart into verb, alias and number; a value, made and used on the GUI thread.

#include "platform/media/MediaError.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace media {

class MediaCommand {
public:
    enum class Verb {
        Play,            // play <alias> [from <ms>]
        Pause,           // pause <alias>
        Resume,          // resume <alias>
        Stop,            // stop <alias>
        Seek,            // seek <alias> to start | end | <ms>
        StatusLength,    // status <alias> length
        StatusPosition,  // status <alias> position
        StatusMode,      // status <alias> mode
        SetTimeFormat,   // set <alias> time format milliseconds | ms
        SetVolume,       // setaudio <alias> [left | right] volume to <0..1000>
        Close,           // close <alias>
    };
    enum class Channels { Both, Left, Right };

    // Words are separated by any run of blanks; keywords are matched without regard to case, and
    // the alias is lowered so that aliases compare without case too. Numbers are plain decimal
    // digits up to 2^31 - 1. Returns MediaError::None and fills `out`, or the reason it cannot.
    [[nodiscard]] static MediaError parse(std::string_view text, MediaCommand& out);

    static constexpr int64_t kSeekToEnd = -1;

    Verb verb = Verb::Close;
    std::string alias;
    // play: the start in ms, or -1 for "from where it is"; seek: the target in ms or kSeekToEnd;
    // setaudio: the volume 0..1000.
    int64_t value = -1;
    Channels channels = Channels::Both;
};

} // namespace media
