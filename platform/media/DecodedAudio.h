#pragma once
// A whole audio file decoded into 16-bit PCM in memory (mono or stereo); built on the GUI thread,
// read-only afterwards.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <sndfile.h>
#include <span>
#include <string>
#include <vector>

namespace media {

class DecodedAudio {
public:
    // Decoding stops after this many samples (all channels counted), about 12 minutes of 44.1 kHz
    // stereo in 128 MiB; the rest of a longer file is not played.
    static constexpr size_t kMaxSamples = size_t{64} << 20;
    // Files larger than this are not read at all.
    static constexpr size_t kMaxFileBytes = size_t{512} << 20;

    // Decodes any format that libsndfile reads (wav, mp3, flac, ogg, ...) from the bytes of a file.
    // Files of more than two channels are mixed down to stereo. Returns nothing when the data is not
    // decodable audio or holds no sound at all.
    [[nodiscard]] static std::optional<DecodedAudio> decode(std::span<const uint8_t> fileBytes);
    // The same from a file. libsndfile recognises an mp3 that starts with neither a tag nor a clean
    // frame (junk before the first frame) only by its file name's extension, which bytes lack.
    [[nodiscard]] static std::optional<DecodedAudio> decodeFile(const std::string& path);

    [[nodiscard]] int sampleRate() const { return m_sampleRate; }
    [[nodiscard]] int channels() const { return m_channels; }
    [[nodiscard]] int64_t frames() const { return static_cast<int64_t>(m_samples.size()) / m_channels; }
    [[nodiscard]] int64_t lengthMs() const { return frames() * 1000 / m_sampleRate; }
    [[nodiscard]] bool truncated() const { return m_truncated; }
    [[nodiscard]] const std::vector<int16_t>& samples() const { return m_samples; }

private:
    [[nodiscard]] static std::optional<DecodedAudio> read(SNDFILE* file, int channels, int sampleRate,
                                                          int64_t claimedFrames, size_t sizeHint);

    int m_sampleRate = 0;
    int m_channels = 0;
    bool m_truncated = false;
    std::vector<int16_t> m_samples;
};

} // namespace media
