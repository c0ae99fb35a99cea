#include "accompaniment/UnpackData.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

namespace accompaniment {
namespace {

constexpr uint8_t kMagic[4] = {0x0D, 0x0F, 0x3E, 0x03};
constexpr size_t kHeaderBytes = 8;
constexpr size_t kFirstChunk = 4096;

// Ends the inflate stream on every way out of unpackData.
class Inflater {
public:
    Inflater() { m_ok = inflateInit(&m_stream) == Z_OK; }
    ~Inflater()
    {
        if (m_ok)
            inflateEnd(&m_stream);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    [[nodiscard]] bool ok() const { return m_ok; }
    // Ends the stream now; false when zlib reports the stream state broken.
    [[nodiscard]] bool end()
    {
        m_ok = false;
        return inflateEnd(&m_stream) == Z_OK;
    }
    z_stream& stream() { return m_stream; }

private:
    z_stream m_stream{};
    bool m_ok = false;
};

} // namespace

std::vector<uint8_t> unpackData(std::span<const uint8_t> block, size_t limit)
{
    if (block.size() < kHeaderBytes || !std::equal(kMagic, kMagic + 4, block.begin()))
        return {};
    const uint32_t n = uint32_t(block[4]) | uint32_t(block[5]) << 8 | uint32_t(block[6]) << 16 | uint32_t(block[7]) << 24;
    // Twice n in 32-bit arithmetic: a length of 2^30 or more wraps to 0 or below and is refused.
    const auto capacity = static_cast<int32_t>(n * 2u);
    if (capacity <= 0)
        return {};
    const std::span<const uint8_t> input = block.subspan(kHeaderBytes);
    if (input.size() > UINT_MAX)
        return {};
    limit = std::min(static_cast<size_t>(capacity), limit);

    Inflater inflater;
    if (!inflater.ok())
        return {};
    z_stream& z = inflater.stream();
    z.next_in = const_cast<Bytef*>(input.data());
    z.avail_in = static_cast<uInt>(input.size());

    // The buffer grows with the output instead of taking the whole capacity at once: the result is the
    // same as one inflate into a buffer of `capacity` bytes, but a block that claims much and holds
    // little costs little.
    std::vector<uint8_t> out;
    uint8_t spare = 0;   // zlib wants a valid output pointer even when no room is left
    int result = Z_OK;
    for (;;) {
        const size_t produced = out.size() - z.avail_out;
        if (z.avail_out == 0 && produced < limit) {
            out.resize(std::min(limit, std::max(kFirstChunk, produced * 2)));
            z.next_out = out.data() + produced;
            z.avail_out = static_cast<uInt>(out.size() - produced);
        } else if (z.avail_out == 0) {
            z.next_out = &spare;   // full: only the stream's end, which needs no room, can still come
        }
        const uInt roomBefore = z.avail_out;
        const uInt inputBefore = z.avail_in;
        result = inflate(&z, Z_FINISH);
        if (result == Z_STREAM_END)
            break;
        if (result != Z_OK && result != Z_BUF_ERROR)
            return {};   // damaged data, a preset dictionary, or zlib out of memory
        const bool filled = z.avail_out == 0 && z.next_out != &spare;
        const bool progressed = z.avail_out != roomBefore || z.avail_in != inputBefore;
        if (!filled && !progressed)
            return {};   // the input ended, or the capacity did, before the stream's end
    }
    out.resize(out.size() - z.avail_out);
    if (!inflater.end() || out.empty())
        return {};
    return out;
}

} // namespace accompaniment
