#pragma once
// Helpers for the packed short-message format that every MIDI port takes; pure functions, any thread.

#include <array>
#include <cstdint>

namespace midi {

// Bytes the packed message stands for: 3 for note, key pressure, controller and pitch-bend messages and
// song position; 2 for program change, channel pressure, time code and song select; 1 for the one-byte
// system messages. 0 when it is not a complete short message: no status byte in bits 0-7, a data byte
// with its top bit set, or a status that begins or ends a system-exclusive dump or is undefined.
[[nodiscard]] int shortMessageLength(std::uint32_t shortMessage) noexcept;

// The message's bytes in sending order; only the first shortMessageLength() of them are meaningful.
[[nodiscard]] constexpr std::array<std::uint8_t, 3> shortMessageBytes(std::uint32_t shortMessage) noexcept
{
    return {static_cast<std::uint8_t>(shortMessage & 0xFF), static_cast<std::uint8_t>((shortMessage >> 8) & 0xFF),
        static_cast<std::uint8_t>((shortMessage >> 16) & 0xFF)};
}

} // namespace midi
