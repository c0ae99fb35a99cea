#include "platform/picture/IconDecoder.h"

#include "platform/picture/DibDecoder.h"
#include "platform/picture/PngDecoder.h"

#include <algorithm>

namespace picture {
namespace {

struct Candidate {
    std::span<const uint8_t> data; // from the entry's offset to the end of the file
    bool png = false;
    uint64_t area = 0;
    int bitsPerPixel = 0;
};

uint32_t le32(std::span<const uint8_t> b, size_t at)
{
    return uint32_t{b[at]} | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) | (uint32_t{b[at + 3]} << 24);
}

} // namespace

Picture decodeIcon(std::span<const uint8_t> bytes)
{
    constexpr size_t kHeaderSize = 6;
    constexpr size_t kEntrySize = 16;
    if (bytes.size() < kHeaderSize || bytes[0] != 0 || bytes[1] != 0 || (bytes[2] != 1 && bytes[2] != 2) ||
        bytes[3] != 0)
        return {};
    const size_t count = bytes[4] | (bytes[5] << 8);
    // Only the directory entries present in the file count.
    const size_t present = std::min(count, (bytes.size() - kHeaderSize) / kEntrySize);

    std::vector<Candidate> candidates;
    for (size_t i = 0; i < present; ++i) {
        const size_t entry = kHeaderSize + i * kEntrySize;
        const uint32_t offset = le32(bytes, entry + 12);
        if (offset < kHeaderSize || offset >= bytes.size())
            continue;
        Candidate c;
        c.data = bytes.subspan(offset);
        if (const auto png = readPngInfo(c.data)) {
            c.png = true;
            c.area = uint64_t(png->width) * uint64_t(png->height);
            c.bitsPerPixel = png->bitsPerPixel;
        } else if (const auto dib = readDibHeader(c.data, DibKind::Icon)) {
            c.area = uint64_t(dib->width) * uint64_t(dib->height);
            c.bitsPerPixel = dib->bitCount;
        } else {
            continue;
        }
        candidates.push_back(c);
    }
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.area != b.area ? a.area > b.area : a.bitsPerPixel > b.bitsPerPixel;
    });

    // Entries that fail are tried no further than a few times, so that a directory of thousands of broken
    // entries costs no more than a handful.
    constexpr size_t kMaxAttempts = 8;
    std::vector<const uint8_t*> tried;
    for (const Candidate& c : candidates) {
        if (tried.size() == kMaxAttempts)
            break;
        if (std::find(tried.begin(), tried.end(), c.data.data()) != tried.end())
            continue;
        tried.push_back(c.data.data());
        // An entry's pixels can only come from the bytes from its offset on.
        std::optional<Frame> frame = c.png ? decodePng(c.data, c.data.size())
                                           : decodeDib(c.data, DibKind::Icon, 0, c.data.size());
        if (frame) {
            Picture picture;
            picture.frames.push_back(std::move(*frame));
            return picture;
        }
    }
    return {};
}

} // namespace picture
