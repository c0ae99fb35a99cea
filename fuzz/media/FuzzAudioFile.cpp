// Decodes arbitrary bytes as an audio file through libsndfile's virtual I/O and plays a little of it.
#include "platform/media/AudioFilePlayer.h"
#include "platform/media/DecodedAudio.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto audio = media::DecodedAudio::decode(std::span<const uint8_t>(data, size));
    if (!audio)
        return 0;
    media::AudioFilePlayer player(std::move(*audio), 44100);
    std::vector<float> out(2 * 1024);
    player.play();
    player.render(out.data(), 1024);
    player.seek(player.lengthMs() / 2);
    player.render(out.data(), 1024);
    return 0;
}
