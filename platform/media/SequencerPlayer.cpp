#include "platform/media/SequencerPlayer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <array>

namespace media {

namespace {

constexpr int kSustainPedal = 64;
constexpr int kSostenutoPedal = 66;
constexpr int kResetAllControllers = 121;

// Registered and non-registered parameter numbers with their data entry: each data entry acts on
// the parameter chosen before it, so these are replayed in their order rather than by last value.
bool isParameterController(int cc) { return cc == 6 || cc == 38 || (cc >= 96 && cc <= 101); }

} // namespace

SequencerPlayer::SequencerPlayer(std::unique_ptr<const MidiSong> song, int outputRate)
    : m_song(std::move(song)),
      m_rate(outputRate),
      m_lengthFrames(m_song->lengthUs() * outputRate / 1'000'000),
      m_left(kChunkFrames),
      m_right(kChunkFrames)
{
}

void SequencerPlayer::attachSynth(fluid_synth_t* synth)
{
    m_synth = synth;
    m_needsChase = true;
    if (mode() == Mode::Playing)
        chase();
}

bool SequencerPlayer::isForwardedSysEx(const uint8_t* d, size_t n) noexcept
{
    if (n >= 4 && d[0] == 0x7E && d[2] == 0x09)
        return true; // GM system on / off, GM2 on
    if (n >= 7 && d[0] == 0x41 && d[2] == 0x42 && d[3] == 0x12 && d[4] == 0x40)
        return (d[5] == 0x00 && d[6] == 0x7F) || ((d[5] & 0xF0) == 0x10 && d[6] == 0x15); // GS reset, drum part
    if (n >= 7 && d[0] == 0x43 && (d[1] & 0xF0) == 0x10 && d[2] == 0x4C && d[3] == 0 && d[4] == 0 && d[5] == 0x7E)
        return true; // XG system on
    return false;
}

int64_t SequencerPlayer::eventFrame(size_t index) const noexcept
{
    return m_song->events()[index].timeUs * m_rate / 1'000'000;
}

void SequencerPlayer::dispatch(const MidiSong::Event& e) noexcept
{
    if (m_synth == nullptr)
        return;
    if (e.status == 0xF0) {
        const std::span<const uint8_t> data = m_song->sysexData(e);
        size_t n = data.size();
        if (n > 0 && data[n - 1] == 0xF7)
            --n;
        if (isForwardedSysEx(data.data(), n))
            (void)fluid_synth_sysex(m_synth, reinterpret_cast<const char*>(data.data()), static_cast<int>(n),
                                    nullptr, nullptr, nullptr, 0);
        return;
    }
    const int ch = e.status & 0x0F;
    switch (e.status & 0xF0) {
    case 0x80:
        (void)fluid_synth_noteoff(m_synth, ch, e.data1);
        break;
    case 0x90:
        (void)fluid_synth_noteon(m_synth, ch, e.data1, e.data2);
        break;
    case 0xA0:
        (void)fluid_synth_key_pressure(m_synth, ch, e.data1, e.data2);
        break;
    case 0xB0:
        (void)fluid_synth_cc(m_synth, ch, e.data1, e.data2);
        break;
    case 0xC0:
        (void)fluid_synth_program_change(m_synth, ch, e.data1);
        break;
    case 0xD0:
        (void)fluid_synth_channel_pressure(m_synth, ch, e.data1);
        break;
    case 0xE0:
        (void)fluid_synth_pitch_bend(m_synth, ch, e.data1 | (e.data2 << 7));
        break;
    default:
        break;
    }
}

// Brings the synth to the state the song has at the cursor: a reset, then every channel's
// controllers, bank, program, pitch bend and pressure as the events before the cursor left them.
void SequencerPlayer::chase()
{
    m_needsChase = false;
    if (m_synth == nullptr)
        return;
    fluid_synth_system_reset(m_synth);

    struct Channel {
        std::array<int16_t, 128> cc;
        int program = -1;
        int bend = -1;
        int pressure = -1;
        void clear()
        {
            cc.fill(-1);
            program = bend = pressure = -1;
        }
    };
    std::array<Channel, 16> channels;
    for (Channel& c : channels)
        c.clear();

    const auto& events = m_song->events();
    for (size_t i = 0; i < m_next && i < events.size(); ++i) {
        const MidiSong::Event& e = events[i];
        if (e.status == 0xF0) {
            const std::span<const uint8_t> data = m_song->sysexData(e);
            if (isForwardedSysEx(data.data(), data.size())) {
                dispatch(e); // a reset: what came before it no longer counts
                for (Channel& c : channels)
                    c.clear();
            }
            continue;
        }
        Channel& c = channels[e.status & 0x0F];
        switch (e.status & 0xF0) {
        case 0xB0:
            if (isParameterController(e.data1)) {
                dispatch(e);
            } else if (e.data1 == kResetAllControllers) {
                dispatch(e);
                const int16_t bankMsb = c.cc[0];
                const int16_t bankLsb = c.cc[32];
                c.cc.fill(-1);
                c.cc[0] = bankMsb;
                c.cc[32] = bankLsb;
                c.bend = c.pressure = -1;
            } else if (e.data1 < 120) {
                c.cc[e.data1] = e.data2;
            }
            break;
        case 0xC0:
            c.program = e.data1;
            break;
        case 0xD0:
            c.pressure = e.data1;
            break;
        case 0xE0:
            c.bend = e.data1 | (e.data2 << 7);
            break;
        default:
            break; // notes before the cursor are not sounded
        }
    }
    for (int ch = 0; ch < 16; ++ch) {
        const Channel& c = channels[ch];
        for (int cc = 1; cc < 120; ++cc)
            if (cc != 32 && c.cc[cc] >= 0)
                (void)fluid_synth_cc(m_synth, ch, cc, c.cc[cc]);
        if (c.cc[0] >= 0)
            (void)fluid_synth_cc(m_synth, ch, 0, c.cc[0]);
        if (c.cc[32] >= 0)
            (void)fluid_synth_cc(m_synth, ch, 32, c.cc[32]);
        if (c.program >= 0)
            (void)fluid_synth_program_change(m_synth, ch, c.program);
        if (c.bend >= 0)
            (void)fluid_synth_pitch_bend(m_synth, ch, c.bend);
        if (c.pressure >= 0)
            (void)fluid_synth_channel_pressure(m_synth, ch, c.pressure);
    }
}

void SequencerPlayer::renderSynth(float* out, int frames) noexcept
{
    const float gainLeft = m_gainLeft.load(std::memory_order_relaxed);
    const float gainRight = m_gainRight.load(std::memory_order_relaxed);
    while (frames > 0) {
        const int n = std::min(frames, kChunkFrames);
        (void)fluid_synth_write_float(m_synth, n, m_left.data(), 0, 1, m_right.data(), 0, 1);
        for (int i = 0; i < n; ++i) {
            out[2 * i] += m_left[i] * gainLeft;
            out[2 * i + 1] += m_right[i] * gainRight;
        }
        out += 2 * n;
        frames -= n;
    }
}

void SequencerPlayer::publishPosition() noexcept
{
    const int64_t ms = m_cursor >= m_lengthFrames ? lengthMs() : m_cursor * 1000 / m_rate;
    m_positionMs.store(ms, std::memory_order_release);
}

void SequencerPlayer::render(float* out, int frames) noexcept
{
    int done = 0;
    if (m_mode.load(std::memory_order_relaxed) == Mode::Playing) {
        const auto& events = m_song->events();
        while (done < frames) {
            while (m_next < events.size() && eventFrame(m_next) <= m_cursor)
                dispatch(events[m_next++]);
            if (m_cursor >= m_lengthFrames) {
                m_cursor = m_lengthFrames;
                if (m_synth != nullptr)
                    (void)fluid_synth_all_notes_off(m_synth, -1);
                m_needsChase = true;
                m_mode.store(Mode::Stopped, std::memory_order_release);
                break;
            }
            int64_t n = std::min<int64_t>({frames - done, kChunkFrames, m_lengthFrames - m_cursor});
            if (m_next < events.size())
                n = std::min(n, eventFrame(m_next) - m_cursor);
            if (m_synth != nullptr)
                renderSynth(out + 2 * done, static_cast<int>(n));
            m_cursor += n;
            done += static_cast<int>(n);
        }
        publishPosition();
    }
    // Stopped, paused or just ended: let released notes ring out.
    if (done < frames && m_synth != nullptr && fluid_synth_get_active_voice_count(m_synth) > 0)
        renderSynth(out + 2 * done, frames - done);
}

void SequencerPlayer::seek(int64_t ms)
{
    ms = std::clamp<int64_t>(ms, 0, lengthMs());
    m_cursor = std::min(m_lengthFrames, (ms * m_rate + 999) / 1000);
    const auto& events = m_song->events();
    const int64_t cursor = m_cursor;
    const int64_t rate = m_rate;
    m_next = static_cast<size_t>(std::partition_point(events.begin(), events.end(),
                                                      [&](const MidiSong::Event& e) {
                                                          return e.timeUs * rate / 1'000'000 < cursor;
                                                      }) -
                                 events.begin());
    if (m_synth != nullptr)
        fluid_synth_all_sounds_off(m_synth, -1);
    m_needsChase = true;
    if (mode() == Mode::Playing)
        chase();
    publishPosition();
}

void SequencerPlayer::play()
{
    if (m_needsChase)
        chase();
    m_mode.store(Mode::Playing, std::memory_order_release);
}

void SequencerPlayer::pause()
{
    if (mode() != Mode::Playing)
        return;
    if (m_synth != nullptr) {
        // Notes held by a pedal would ring on through the pause; resume chases the pedals back.
        for (int ch = 0; ch < 16; ++ch) {
            (void)fluid_synth_cc(m_synth, ch, kSustainPedal, 0);
            (void)fluid_synth_cc(m_synth, ch, kSostenutoPedal, 0);
        }
        (void)fluid_synth_all_notes_off(m_synth, -1);
    }
    m_needsChase = true;
    m_mode.store(Mode::Paused, std::memory_order_release);
}

void SequencerPlayer::stop()
{
    if (m_synth != nullptr)
        fluid_synth_all_sounds_off(m_synth, -1);
    m_needsChase = true;
    m_mode.store(Mode::Stopped, std::memory_order_release);
}

} // namespace media
