// Parses arbitrary bytes as a MIDI file and, when that succeeds, runs the song through a silent
// sequencer: from the start, and after a seek into the middle.
#include "platform/media/MidiSong.h"
#include "platform/media/SequencerPlayer.h"

#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto song = media::MidiSong::parse(std::span<const uint8_t>(data, size));
    if (!song)
        return 0;
    const int64_t length = song->lengthMs();
    media::SequencerPlayer player(std::make_unique<const media::MidiSong>(std::move(*song)), 8000);
    std::vector<float> out(2 * 4096);
    player.play();
    player.render(out.data(), 4096);
    player.seek(length / 2);
    player.play();
    player.render(out.data(), 4096);
    player.seek(length);
    player.render(out.data(), 64);
    return 0;
}
