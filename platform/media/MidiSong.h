#pragma once
// A Standard MIDI File parsed into one time-ordered list of timed events; built on the GUI thread,
// read-only afterwards (the sequencer on the audio thread reads it through a pointer).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace media {

class MidiSong {
public:
    // A channel message (status 0x80..0xEF) or a system-exclusive message (status 0xF0, its bytes,
    // without the leading F0, in sysexData()).
    struct Event {
        int64_t timeUs = 0;
        uint8_t status = 0;
        uint8_t data1 = 0;
        uint8_t data2 = 0;
        uint32_t sysexOffset = 0;
        uint32_t sysexLength = 0;
    };

    // Bounds that keep a hostile file from allocating without limit: events past the count are
    // dropped, and so is everything past the length (the song then ends there).
    static constexpr size_t kMaxEvents = 1'000'000;
    static constexpr int64_t kMaxLengthUs = int64_t{4} * 3600 * 1'000'000;
    static constexpr size_t kMaxFileBytes = size_t{64} << 20;

    // Format 0 and 1 tracks are merged by time; format 2 tracks are independent patterns and play
    // one after another. A RIFF "RMID" wrapper is unwrapped. Returns nothing for data that holds no
    // MIDI file (no header, bad division, unknown format, no track).
    [[nodiscard]] static std::optional<MidiSong> parse(std::span<const uint8_t> bytes);

    [[nodiscard]] int format() const { return m_format; }
    [[nodiscard]] int trackCount() const { return m_trackCount; }
    [[nodiscard]] int64_t lengthUs() const { return m_lengthUs; }
    [[nodiscard]] int64_t lengthMs() const { return m_lengthUs / 1000; }
    [[nodiscard]] const std::vector<Event>& events() const { return m_events; }
    [[nodiscard]] std::span<const uint8_t> sysexData(const Event& e) const
    {
        return std::span<const uint8_t>(m_sysex).subspan(e.sysexOffset, e.sysexLength);
    }

private:
    int m_format = 0;
    int m_trackCount = 0;
    int64_t m_lengthUs = 0;
    std::vector<Event> m_events;
    std::vector<uint8_t> m_sysex;
};

} // namespace media
