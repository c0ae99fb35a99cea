#include "platform/media/DecodedAudio.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace media {

namespace {

// libsndfile reads through these callbacks from a byte span, so files and fuzz inputs take one path.
struct MemoryFile {
    std::span<const uint8_t> data;
    sf_count_t pos = 0;
};

sf_count_t memLength(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->data.size()); }

sf_count_t memSeek(sf_count_t offset, int whence, void* user)
{
    auto* f = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(f->data.size());
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = f->pos;
    else if (whence == SEEK_END)
        base = size;
    else if (whence != SEEK_SET)
        return -1;
    // Reject offsets that would overflow or land before the start; past the end is allowed, reads
    // there simply return nothing.
    if ((offset > 0 && base > INT64_MAX - offset) || base + offset < 0)
        return -1;
    f->pos = base + offset;
    return f->pos;
}

sf_count_t memRead(void* ptr, sf_count_t count, void* user)
{
    auto* f = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(f->data.size());
    if (count <= 0 || f->pos >= size)
        return 0;
    const sf_count_t n = std::min(count, size - f->pos);
    std::memcpy(ptr, f->data.data() + f->pos, static_cast<size_t>(n));
    f->pos += n;
    return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

int16_t toPcm16(float v)
{
    if (!(v == v))
        return 0; // NaN from a damaged float file
    const float s = std::clamp(v, -1.0f, 1.0f) * 32767.0f;
    return static_cast<int16_t>(std::lrint(s));
}

} // namespace

std::optional<DecodedAudio> DecodedAudio::decode(std::span<const uint8_t> fileBytes)
{
    if (fileBytes.empty() || fileBytes.size() > kMaxFileBytes)
        return std::nullopt;
    MemoryFile file{fileBytes, 0};
    SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    SF_INFO info{};
    SNDFILE* sf = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (sf == nullptr)
        return std::nullopt;
    auto out = read(sf, info.channels, info.samplerate, info.frames, fileBytes.size());
    sf_close(sf);
    return out;
}

std::optional<DecodedAudio> DecodedAudio::decodeFile(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size == 0 || size > kMaxFileBytes)
        return std::nullopt;
    SF_INFO info{};
    SNDFILE* sf = sf_open(path.c_str(), SFM_READ, &info);
    if (sf == nullptr)
        return std::nullopt;
    auto out = read(sf, info.channels, info.samplerate, info.frames, static_cast<size_t>(size));
    sf_close(sf);
    return out;
}

std::optional<DecodedAudio> DecodedAudio::read(SNDFILE* sf, int inChannels, int sampleRate, int64_t claimedFrames,
                                               size_t sizeHint)
{
    if (inChannels < 1 || inChannels > 256 || sampleRate < 1000 || sampleRate > 384000)
        return std::nullopt;

    DecodedAudio out;
    out.m_sampleRate = sampleRate;
    out.m_channels = std::min(inChannels, 2);
    // Beyond two channels: even channels to the left, odd ones to the right, each side averaged
    // with the first pair weighted fully, so a 5.1 or quad file keeps its balance without clipping.
    const float sideWeight = 0.5f;
    const int extraLeft = inChannels > 2 ? (inChannels - 1) / 2 : 0;
    const int extraRight = inChannels > 2 ? (inChannels - 2) / 2 : 0;
    const float normLeft = 1.0f / (1.0f + sideWeight * extraLeft);
    const float normRight = 1.0f / (1.0f + sideWeight * extraRight);

    // Reserve what the header claims, within the cap and what the file's size could hold: a
    // damaged header may claim far more than is there.
    if (claimedFrames > 0) {
        const auto claimed = static_cast<uint64_t>(claimedFrames) * static_cast<uint64_t>(out.m_channels);
        out.m_samples.reserve(static_cast<size_t>(std::min<uint64_t>({claimed, kMaxSamples, uint64_t{sizeHint} * 16u})));
    }

    constexpr sf_count_t kChunkFrames = 4096;
    std::vector<float> chunk(static_cast<size_t>(kChunkFrames) * inChannels);
    for (;;) {
        const sf_count_t got = sf_readf_float(sf, chunk.data(), kChunkFrames);
        if (got <= 0)
            break;
        for (sf_count_t f = 0; f < got; ++f) {
            const float* in = chunk.data() + f * inChannels;
            if (inChannels <= 2) {
                for (int c = 0; c < inChannels; ++c)
                    out.m_samples.push_back(toPcm16(in[c]));
            } else {
                float left = in[0];
                float right = in[1];
                for (int c = 2; c < inChannels; ++c)
                    (c % 2 == 0 ? left : right) += sideWeight * in[c];
                out.m_samples.push_back(toPcm16(left * normLeft));
                out.m_samples.push_back(toPcm16(right * normRight));
            }
        }
        if (out.m_samples.size() >= kMaxSamples) {
            out.m_samples.resize(kMaxSamples - kMaxSamples % out.m_channels);
            out.m_truncated = true;
            break;
        }
    }
    if (out.m_samples.empty())
        return std::nullopt;
    out.m_samples.shrink_to_fit();
    return out;
}

} // namespace media
