#include "platform/media/MidiSong.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace media {

namespace {

constexpr uint32_t kDefaultTempoUs = 500'000; // 120 beats per minute until a tempo event says otherwise

uint32_t readBe32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

uint16_t readBe16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

uint32_t readLe32(const uint8_t* p)
{
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | uint32_t{p[0]};
}

// Reads a byte cursor without ever passing its end.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : m_data(data) {}

    [[nodiscard]] bool atEnd() const { return m_pos >= m_data.size(); }
    [[nodiscard]] size_t remaining() const { return m_data.size() - m_pos; }
    [[nodiscard]] uint8_t peek() const { return m_data[m_pos]; }
    [[nodiscard]] size_t position() const { return m_pos; }

    bool byte(uint8_t& out)
    {
        if (atEnd())
            return false;
        out = m_data[m_pos++];
        return true;
    }

    // A variable-length number: at most four bytes of seven bits each (up to 0x0FFFFFFF).
    bool vlq(uint32_t& out)
    {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            uint8_t b = 0;
            if (!byte(b))
                return false;
            out = (out << 7) | (b & 0x7F);
            if ((b & 0x80) == 0)
                return true;
        }
        return false;
    }

    bool skip(size_t n)
    {
        if (n > remaining())
            return false;
        m_pos += n;
        return true;
    }

    [[nodiscard]] const uint8_t* here() const { return m_data.data() + m_pos; }

private:
    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
};

struct RawEvent {
    uint64_t tick;
    uint32_t track;
    uint8_t status;
    uint8_t data1;
    uint8_t data2;
    uint32_t sysexOffset;
    uint32_t sysexLength;
};

struct TempoChange {
    uint64_t tick;
    uint32_t track;
    uint32_t tempoUs; // microseconds per quarter note
};

struct Track {
    uint64_t endTick = 0;
};

// Data bytes that follow a status byte of the system-common range; such messages do not belong
// in a file, but some files hold them and they must be stepped over whole.
int systemCommonDataBytes(uint8_t status)
{
    switch (status) {
    case 0xF1:
    case 0xF3:
        return 1;
    case 0xF2:
        return 2;
    default:
        return 0;
    }
}

class Parser {
public:
    std::vector<RawEvent> events;
    std::vector<TempoChange> tempos;
    std::vector<Track> tracks;
    std::vector<uint8_t> sysex;

    void parseTrack(std::span<const uint8_t> body)
    {
        const auto trackIndex = static_cast<uint32_t>(tracks.size());
        Track track;
        Reader r(body);
        uint64_t tick = 0;
        uint8_t running = 0;
        // Running status survives meta and system-exclusive events: files in the wild rely on it.
        while (!r.atEnd() && events.size() < MidiSong::kMaxEvents) {
            uint32_t delta = 0;
            if (!r.vlq(delta))
                break;
            tick += delta;
            track.endTick = tick;
            uint8_t b = 0;
            if (!r.byte(b))
                break;
            if (b == 0xFF) {
                uint8_t type = 0;
                uint32_t len = 0;
                if (!r.byte(type) || type == 0x2F || !r.vlq(len) || len > r.remaining())
                    break;
                if (type == 0x51 && len >= 3) {
                    const uint8_t* p = r.here();
                    const uint32_t tempo = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
                    if (tempo > 0)
                        tempos.push_back({tick, trackIndex, tempo});
                }
                (void)r.skip(len);
            } else if (b == 0xF0 || b == 0xF7) {
                uint32_t len = 0;
                if (!r.vlq(len) || len > r.remaining())
                    break;
                if (b == 0xF0) {
                    events.push_back({tick, trackIndex, 0xF0, 0, 0, static_cast<uint32_t>(sysex.size()), len});
                    sysex.insert(sysex.end(), r.here(), r.here() + len);
                }
                (void)r.skip(len);
            } else if (b > 0xF0) {
                int n = systemCommonDataBytes(b);
                while (n-- > 0 && !r.atEnd() && r.peek() < 0x80)
                    (void)r.skip(1);
            } else {
                uint8_t status = b;
                uint8_t d1 = 0;
                if (b < 0x80) {
                    if (running == 0)
                        break; // a data byte with no status to run on: the rest cannot be read
                    status = running;
                    d1 = b;
                } else {
                    running = b;
                    if (!r.byte(d1))
                        break;
                }
                uint8_t d2 = 0;
                const uint8_t kind = status & 0xF0;
                if (kind != 0xC0 && kind != 0xD0 && !r.byte(d2))
                    break;
                if (d1 >= 0x80 || d2 >= 0x80)
                    break;
                events.push_back({tick, trackIndex, status, d1, d2, 0, 0});
            }
        }
        tracks.push_back(track);
    }
};

// Converts ticks to microseconds along a list of tempo changes sorted by tick.
class TempoMap {
public:
    TempoMap(std::vector<TempoChange> changes, int ticksPerQuarter) : m_tpq(ticksPerQuarter)
    {
        m_segments.push_back({0, 0.0, kDefaultTempoUs});
        for (const TempoChange& c : changes) {
            const double us = toUs(c.tick);
            if (m_segments.back().tick == c.tick)
                m_segments.back().tempoUs = c.tempoUs;
            else
                m_segments.push_back({c.tick, us, c.tempoUs});
        }
    }

    [[nodiscard]] double toUs(uint64_t tick) const
    {
        auto it = std::upper_bound(m_segments.begin(), m_segments.end(), tick,
                                   [](uint64_t t, const Segment& s) { return t < s.tick; });
        const Segment& s = *(it - 1);
        return s.us + static_cast<double>(tick - s.tick) * s.tempoUs / m_tpq;
    }

private:
    struct Segment {
        uint64_t tick;
        double us;
        uint32_t tempoUs;
    };
    std::vector<Segment> m_segments;
    int m_tpq;
};

std::span<const uint8_t> unwrapRiff(std::span<const uint8_t> bytes)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "RMID", 4) != 0)
        return bytes;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const uint32_t len = readLe32(bytes.data() + pos + 4);
        const size_t avail = bytes.size() - pos - 8;
        if (std::memcmp(bytes.data() + pos, "data", 4) == 0)
            return bytes.subspan(pos + 8, std::min<size_t>(len, avail));
        if (len > avail)
            break;
        pos += 8 + len + (len & 1);
    }
    return {};
}

int64_t clampUs(double us)
{
    if (!(us < static_cast<double>(MidiSong::kMaxLengthUs)))
        return MidiSong::kMaxLengthUs + 1; // past the cap, whatever its size
    return static_cast<int64_t>(std::llround(us));
}

} // namespace

std::optional<MidiSong> MidiSong::parse(std::span<const uint8_t> input)
{
    if (input.size() > kMaxFileBytes)
        return std::nullopt;
    const std::span<const uint8_t> bytes = unwrapRiff(input);
    if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0)
        return std::nullopt;
    const uint32_t headerLength = readBe32(bytes.data() + 4);
    if (headerLength < 6 || headerLength > bytes.size() - 8)
        return std::nullopt;
    const int format = readBe16(bytes.data() + 8);
    const uint16_t division = readBe16(bytes.data() + 12);
    if (format > 2 || division == 0)
        return std::nullopt;

    // Division: ticks per quarter note, or (first byte negative) SMPTE frames per second times
    // ticks per frame, which fixes the tick length regardless of tempo events.
    double smpteUsPerTick = 0.0;
    int ticksPerQuarter = 0;
    if (division & 0x8000) {
        const int fps = -static_cast<int8_t>(division >> 8);
        const int ticksPerFrame = division & 0xFF;
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticksPerFrame == 0)
            return std::nullopt;
        const double frameRate = fps == 29 ? 30000.0 / 1001.0 : fps;
        smpteUsPerTick = 1e6 / (frameRate * ticksPerFrame);
    } else {
        ticksPerQuarter = division;
    }

    Parser parser;
    size_t pos = 8 + size_t{headerLength};
    while (pos + 8 <= bytes.size() && parser.events.size() < kMaxEvents) {
        const uint32_t len = readBe32(bytes.data() + pos + 4);
        const size_t avail = bytes.size() - pos - 8;
        // A chunk that claims more than the file holds is read as far as the file goes.
        const size_t bodyLength = std::min<size_t>(len, avail);
        if (std::memcmp(bytes.data() + pos, "MTrk", 4) == 0)
            parser.parseTrack(bytes.subspan(pos + 8, bodyLength));
        pos += 8 + bodyLength;
    }
    if (parser.tracks.empty())
        return std::nullopt;

    MidiSong song;
    song.m_format = format;
    song.m_trackCount = static_cast<int>(parser.tracks.size());
    song.m_sysex = std::move(parser.sysex);

    auto makeTempoMap = [&](std::optional<uint32_t> onlyTrack) {
        std::vector<TempoChange> changes;
        if (ticksPerQuarter > 0) {
            for (const TempoChange& c : parser.tempos)
                if (!onlyTrack || c.track == *onlyTrack)
                    changes.push_back(c);
        }
        std::stable_sort(changes.begin(), changes.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        return TempoMap(std::move(changes), std::max(ticksPerQuarter, 1));
    };
    auto toEvent = [](const RawEvent& r, int64_t us) {
        return Event{us, r.status, r.data1, r.data2, r.sysexOffset, r.sysexLength};
    };

    song.m_events.reserve(parser.events.size());
    if (format == 2) {
        // Each track is its own pattern with its own tempo, starting where the previous one ended.
        double offsetUs = 0.0;
        size_t next = 0;
        for (uint32_t t = 0; t < parser.tracks.size(); ++t) {
            const TempoMap map = makeTempoMap(t);
            auto toUs = [&](uint64_t tick) {
                return offsetUs + (ticksPerQuarter ? map.toUs(tick) : tick * smpteUsPerTick);
            };
            for (; next < parser.events.size() && parser.events[next].track == t; ++next) {
                const int64_t us = clampUs(toUs(parser.events[next].tick));
                if (us <= kMaxLengthUs)
                    song.m_events.push_back(toEvent(parser.events[next], us));
            }
            offsetUs = toUs(parser.tracks[t].endTick);
        }
        song.m_lengthUs = std::min(clampUs(offsetUs), kMaxLengthUs);
    } else {
        // Tracks are merged by tick; a stable sort keeps track order, then file order, for ties.
        std::stable_sort(parser.events.begin(), parser.events.end(),
                         [](const RawEvent& a, const RawEvent& b) { return a.tick < b.tick; });
        const TempoMap map = makeTempoMap(std::nullopt);
        auto toUs = [&](uint64_t tick) { return ticksPerQuarter ? map.toUs(tick) : tick * smpteUsPerTick; };
        for (const RawEvent& r : parser.events) {
            const int64_t us = clampUs(toUs(r.tick));
            if (us > kMaxLengthUs)
                break;
            song.m_events.push_back(toEvent(r, us));
        }
        uint64_t endTick = 0;
        for (const Track& t : parser.tracks)
            endTick = std::max(endTick, t.endTick);
        song.m_lengthUs = std::min(clampUs(toUs(endTick)), kMaxLengthUs);
    }
    if (!song.m_events.empty())
        song.m_lengthUs = std::max(song.m_lengthUs, song.m_events.back().timeUs);
    return song;
}

} // namespace media
