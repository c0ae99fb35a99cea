#include "platform/midi/ShortMessage.h"

namespace midi {

int shortMessageLength(std::uint32_t shortMessage) noexcept
{
    const auto bytes = shortMessageBytes(shortMessage);
    const std::uint8_t status = bytes[0];
    int length = 0;
    if (status < 0x80)
        return 0; // running status is not accepted: every message carries its own status
    if (status < 0xF0)
        length = (status & 0xE0) == 0xC0 ? 2 : 3;
    else if (status == 0xF1 || status == 0xF3)
        length = 2;
    else if (status == 0xF2)
        length = 3;
    else if (status == 0xF6 || status == 0xF8 || status == 0xFA || status == 0xFB || status == 0xFC
        || status == 0xFE || status == 0xFF)
        length = 1;
    else
        return 0; // F0/F7 frame a system-exclusive dump; F4, F5, F9 and FD are undefined
    for (int i = 1; i < length; ++i) {
        if (bytes[static_cast<std::size_t>(i)] & 0x80)
            return 0;
    }
    return length;
}

} // namespace midi
