#pragma once
// Builds small Standard MIDI Files in memory for the media tests.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace media::testing {

using Bytes = std::vector<uint8_t>;

inline void appendBe(Bytes& out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// A whole file from track bodies; every body gets its chunk header with its true length.
inline Bytes smf(int format, uint16_t division, const std::vector<Bytes>& tracks)
{
    Bytes out{'M', 'T', 'h', 'd', 0, 0, 0, 6};
    appendBe(out, static_cast<uint32_t>(format), 2);
    appendBe(out, static_cast<uint32_t>(tracks.size()), 2);
    appendBe(out, division, 2);
    for (const Bytes& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        appendBe(out, static_cast<uint32_t>(t.size()), 4);
        out.insert(out.end(), t.begin(), t.end());
    }
    return out;
}

inline Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A variable-length number, as delta times are written.
inline Bytes vlq(uint32_t v)
{
    Bytes out{static_cast<uint8_t>(v & 0x7F)};
    while (v >>= 7)
        out.insert(out.begin(), static_cast<uint8_t>(0x80 | (v & 0x7F)));
    return out;
}

// Division 0xE728 (25 frames of 40 ticks a second): one tick is one millisecond.
inline constexpr uint16_t kMillisecondTicks = 0xE728;

inline const Bytes kEndOfTrack{0x00, 0xFF, 0x2F, 0x00};

} // namespace media::testing
