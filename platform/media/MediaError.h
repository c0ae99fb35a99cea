#pragma once
// The result codes of the media command service; plain values shared by every thread.

#include <cstdint>

namespace media {

// Zero is success; every failure has its own code so that callers and tests can tell them apart.
enum class MediaError : uint32_t {
    None = 0,
    UnknownCommand = 1,        // the first word names no command
    BadSyntax = 2,             // a known command with missing, extra or wrong words
    UnknownAlias = 3,          // no device is open under that alias
    BadNumber = 4,             // a number that is not plain decimal digits or does not fit
    OutOfRange = 5,            // a well-formed number outside the values the command takes
    CannotOpenFile = 6,        // the file is missing, unreadable or too large
    UnsupportedDeviceType = 7, // a device type this service does not play
    BadFileFormat = 8,         // the file's content cannot be decoded as that device type
    AliasInUse = 9,            // open() with an alias that is already open
    TooManyDevices = 10,       // every device slot is taken
    UnsupportedParameter = 11, // e.g. a time format other than milliseconds
    BadAlias = 12,             // open() with an empty alias or one holding blanks
};

[[nodiscard]] constexpr uint32_t code(MediaError e) { return static_cast<uint32_t>(e); }

} // namespace media
