#include "platform/media/MidiSong.h"
#include "tests/media/SmfBuilder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using media::MidiSong;

namespace {

using namespace media::testing;

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// Every file of the corpus: its length, or that it is refused. No file there has a tempo event;
// at 96 ticks per quarter a quarter note lasts 500 ms.
TEST(MidiSongTest, CorpusFilesParseToTheirLengthsOrAreRefused)
{
    struct Case {
        const char* file;
        std::optional<int64_t> lengthMs; // nullopt: refused
    };
    const Case cases[] = {
        {"midi/test-2-tracks-type-0.mid", 4500}, // declares format 0 with two tracks: merged
        {"midi/test-2-tracks-type-1.mid", 4500},
        {"midi/test-2-tracks-type-2.mid", 9000}, // two patterns, one after the other
        {"midi/test-all-gm-percussion.mid", 137250},
        {"midi/test-all-gm-sounds.mid", 352000},
        {"midi/test-all-gm2-sounds.mid", 728750},
        {"midi/test-all-gs-sounds.mid", 3467750},
        {"midi/test-all-microsoft-gs-wavetable-synth-sounds.mid", 621500},
        {"midi/test-all-xg-sounds.mid", 3135000},
        {"midi/test-c-major-scale.mid", 4000},
        {"midi/test-control-00-20-bank-select.mid", 5500},
        {"midi/test-control-40-damper.mid", 8000},
        {"midi/test-control-41-portamento.mid", 7000},
        {"midi/test-control-54-portamento-control.mid", 3000},
        {"midi/test-control-7c-omni-mode-off.mid", 500},
        {"midi/test-control-7d-omni-mode-on.mid", 500},
        {"midi/test-control-7e-mono-mode-on.mid", 500},
        {"midi/test-control-7f-poly-mode-on.mid", 500},
        {"midi/test-corrupt-file-extra-byte.mid", 4000},
        {"midi/test-corrupt-file-missing-byte.mid", 4000},
        {"midi/test-empty-file.mid", std::nullopt},
        {"midi/test-empty.mid", 0},
        {"midi/test-gm2-doggy-78-00-38-4c.mid", 1500},
        {"midi/test-gm2-doggy-79-01-7b.mid", 1500},
        {"midi/test-gs-doggy-01-00-7b.mid", 1500},
        {"midi/test-illegal-message-all.mid", 4000},
        {"midi/test-illegal-message-f1-xx.mid", 4000},
        {"midi/test-illegal-message-f2-xx-xx.mid", 4000},
        {"midi/test-illegal-message-f3-xx.mid", 4000},
        {"midi/test-illegal-message-f4.mid", 4000},
        {"midi/test-illegal-message-f5.mid", 4000},
        {"midi/test-illegal-message-f6.mid", 4000},
        {"midi/test-illegal-message-f8.mid", 4000},
        {"midi/test-illegal-message-f9.mid", 4000},
        {"midi/test-illegal-message-fa.mid", 4000},
        {"midi/test-illegal-message-fb.mid", 4000},
        {"midi/test-illegal-message-fc.mid", 4000},
        {"midi/test-illegal-message-fd.mid", 4000},
        {"midi/test-illegal-message-fe.mid", 4000},
        {"midi/test-karaoke-kar.mid", 10600}, // 100 ticks per quarter
        {"midi/test-multichannel-chords-0.mid", 4000},
        {"midi/test-multichannel-chords-1.mid", 4000},
        {"midi/test-multichannel-chords-2.mid", 4000},
        {"midi/test-multichannel-chords-3.mid", 4000},
        {"midi/test-non-midi-track.mid", 4000},
        {"midi/test-not-a-midi-file.mid", std::nullopt},
        {"midi/test-note-on-velocity.mid", 4500},
        {"midi/test-rpn-00-00-pitch-bend-range.mid", 29500},
        {"midi/test-rpn-00-01-fine-tuning.mid", 12500},
        {"midi/test-rpn-00-02-coarse-tuning.mid", 4000},
        {"midi/test-rpn-00-05-modulation-depth-range.mid", 17000},
        {"midi/test-running-status-metaevent.mid", 4000},
        {"midi/test-running-status-sysex.mid", 4000},
        {"midi/test-silence-all-notes-off.mid", 5000},
        {"midi/test-silence-end-of-track.mid", 5000},
        {"midi/test-silence-text-metaevent.mid", 5000},
        {"midi/test-smpte-offset.mid", 4000},
        {"midi/test-sysex-7e-06-01-id-request.mid", 500},
        {"midi/test-sysex-7e-09-01-gm1-enable.mid", 500},
        {"midi/test-sysex-7e-09-02-gm-disable.mid", 500},
        {"midi/test-sysex-7e-09-03-gm2-enable.mid", 500},
        {"midi/test-sysex-7f-04-03-master-fine-tuning.mid", 2500},
        {"midi/test-sysex-7f-04-04-master-coarse-tuning.mid", 4000},
        {"midi/test-sysex-7x-08-0x-scale-tuning.mid", 34500},
        {"midi/test-sysex-gs-40-1x-15-drum-part-change.mid", 6000},
        {"midi/test-sysex-gs-40-1x-4x-scale-tuning.mid", 1500},
        {"midi/test-syx-7e-06-01-id-request.syx", std::nullopt},
        {"midi/test-track-length.mid", 1500}, // silence before the end-of-track event counts
        {"midi/test-vlq-2-byte.mid", 4000},
        {"midi/test-vlq-3-byte.mid", 4000},
        {"midi/test-vlq-4-byte.mid", 4000},
        {"midi/test-xg-doggy-40-00-30.mid", 1500},
        {"midi/test-xg-doggy-7e-00-00-54.mid", 1500},
        {"midi2/test-c-major-scale-m1-g0.midi2", std::nullopt},
        {"midi2/test-data.midi2", std::nullopt},
        {"midi2/test-empty.midi2", std::nullopt},
        {"midi2/test-minimal.midi2", std::nullopt},
        {"midi2/test-no-header.midi2", std::nullopt},
        {"midi2/test-not-a-midi-file.midi2", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes bytes = readFile(std::string(PIANO_CORPUS_DIR "/midi/jazz-soft-test-midi-files/") + c.file);
        const std::optional<MidiSong> song = MidiSong::parse(bytes);
        ASSERT_EQ(song.has_value(), c.lengthMs.has_value());
        if (song) {
            EXPECT_EQ(song->lengthMs(), *c.lengthMs);
        }
    }
}

// The scale is written with running status that a meta event or a SysEx interrupts; all sixteen
// note messages must come out on channel 1, half a second apart.
TEST(MidiSongTest, RunningStatusSurvivesMetaAndSysExEvents)
{
    for (const char* file : {"test-running-status-metaevent.mid", "test-running-status-sysex.mid"}) {
        SCOPED_TRACE(file);
        const auto song = MidiSong::parse(
            readFile(std::string(PIANO_CORPUS_DIR "/midi/jazz-soft-test-midi-files/midi/") + file));
        ASSERT_TRUE(song);
        std::vector<MidiSong::Event> notes;
        for (const auto& e : song->events())
            if (e.status == 0x90)
                notes.push_back(e);
        ASSERT_EQ(notes.size(), 16u);
        EXPECT_EQ(notes[8].data1, 0x43);
        EXPECT_EQ(notes[8].timeUs, 2'000'000);
        EXPECT_EQ(notes[15].data2, 0x00);
        EXPECT_EQ(notes[15].timeUs, 4'000'000);
    }
}

TEST(MidiSongTest, FormatTwoPlaysTracksOneAfterAnother)
{
    const auto song = MidiSong::parse(
        readFile(PIANO_CORPUS_DIR "/midi/jazz-soft-test-midi-files/midi/test-2-tracks-type-2.mid"));
    ASSERT_TRUE(song);
    const auto& events = song->events();
    const auto firstOfTrack2 = std::find_if(events.begin(), events.end(),
                                            [](const MidiSong::Event& e) { return e.status == 0x91; });
    ASSERT_NE(firstOfTrack2, events.end());
    EXPECT_EQ(firstOfTrack2->timeUs, 4'500'000 + 500'000); // track 1 lasts 4.5 s, track 2 waits a beat
}

// Division 0xE728: 25 frames per second of 40 ticks, one tick per millisecond; tempo events
// change nothing under an SMPTE division.
TEST(MidiSongTest, SmpteDivisionCountsRealTime)
{
    const Bytes track = concat({{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}, // 60 bpm, ignored
                                {0x00, 0x90, 0x3C, 0x64},
                                {0x87, 0x68, 0x80, 0x3C, 0x40}, // 1000 ticks later
                                {0x83, 0x74, 0xFF, 0x2F, 0x00}}); // 500 more
    const auto song = MidiSong::parse(smf(0, 0xE728, {track}));
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthMs(), 1500);
    ASSERT_EQ(song->events().size(), 2u);
    EXPECT_EQ(song->events()[1].timeUs, 1'000'000);
}

// Format 1: the tempo track speeds up to 240 bpm at beat 1; a note track runs to beat 3.
// Beat 0-1 at 500 ms, beats 1-3 at 250 ms each: the note-off at beat 2 is at 750 ms, the end at 1000 ms.
TEST(MidiSongTest, TempoChangesInTheFirstTrackTimeEveryTrack)
{
    const Bytes tempoTrack = concat({{0x60, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90}, kEndOfTrack});
    const Bytes noteTrack = concat({{0x00, 0x90, 0x3C, 0x64}, {0x81, 0x40, 0x80, 0x3C, 0x40},
                                    {0x60, 0xFF, 0x2F, 0x00}});
    const auto song = MidiSong::parse(smf(1, 96, {tempoTrack, noteTrack}));
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthMs(), 1000);
    ASSERT_EQ(song->events().size(), 2u);
    EXPECT_EQ(song->events()[1].timeUs, 750'000);
}

TEST(MidiSongTest, RiffWrappedFileIsUnwrapped)
{
    const Bytes inner = smf(0, 96, {concat({{0x00, 0x90, 0x3C, 0x64}, {0x60, 0x80, 0x3C, 0x40}, kEndOfTrack})});
    Bytes riff{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'};
    for (int i = 0; i < 4; ++i)
        riff.push_back(static_cast<uint8_t>(inner.size() >> (8 * i)));
    riff.insert(riff.end(), inner.begin(), inner.end());
    const auto song = MidiSong::parse(riff);
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthMs(), 500);
}

TEST(MidiSongTest, MalformedHeadersAreRefused)
{
    const Bytes track = concat({{0x00, 0x90, 0x3C, 0x64}, kEndOfTrack});
    Bytes shortHeader = smf(0, 96, {track});
    shortHeader[7] = 5;
    Bytes hugeHeader = smf(0, 96, {track});
    hugeHeader[4] = 0xFF;
    const Bytes cases[] = {
        smf(3, 96, {track}),         // unknown format
        smf(0, 0, {track}),          // zero division
        smf(0, 0xE928, {track}),     // 23 frames per second does not exist
        smf(0, 0xE700, {track}),     // zero ticks per frame
        smf(1, 96, {}),              // no track at all
        shortHeader, hugeHeader,
        Bytes{'M', 'T', 'h', 'd'},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_FALSE(MidiSong::parse(cases[i])) << "case " << i;
}

// A track of maximal deltas at the slowest tempo would last far past any sane song: the song
// ends at the length cap and the events beyond it are dropped.
TEST(MidiSongTest, AbsurdLengthIsCapped)
{
    Bytes track{0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF}; // 16.7 s per quarter
    for (int i = 0; i < 200; ++i)
        track.insert(track.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 0x3C, 0x64});
    Bytes file = smf(0, 1, {track});
    const auto song = MidiSong::parse(file);
    ASSERT_TRUE(song);
    EXPECT_EQ(song->lengthUs(), MidiSong::kMaxLengthUs);
    EXPECT_TRUE(song->events().empty()); // the first note already lies past the cap
}

// A track chunk that claims four gigabytes and never ends: read as far as the file goes, and no
// more events than the cap are kept.
TEST(MidiSongTest, EndlessTrackIsBoundedByTheEventCap)
{
    Bytes track{0x00, 0x90, 0x3C, 0x64};
    track.reserve(4 + 3 * (MidiSong::kMaxEvents + 1000));
    for (size_t i = 0; i < MidiSong::kMaxEvents + 1000; ++i)
        track.insert(track.end(), {0x00, 0x3C, 0x00});
    Bytes file = smf(0, 96, {track});
    file[18] = file[19] = file[20] = file[21] = 0xFF;
    const auto song = MidiSong::parse(file);
    ASSERT_TRUE(song);
    EXPECT_EQ(song->events().size(), MidiSong::kMaxEvents);
}
