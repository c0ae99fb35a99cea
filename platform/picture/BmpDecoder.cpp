#include "platform/picture/BmpDecoder.h"

#include "platform/picture/DibDecoder.h"

namespace picture {

Picture decodeBmp(std::span<const uint8_t> bytes)
{
    constexpr size_t kFileHeaderSize = 14;
    if (bytes.size() < kFileHeaderSize + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return {};
    const uint32_t dataOffset = uint32_t{bytes[10]} | (uint32_t{bytes[11]} << 8) | (uint32_t{bytes[12]} << 16) |
                                (uint32_t{bytes[13]} << 24);
    const size_t pixelOffset = dataOffset >= kFileHeaderSize ? dataOffset - kFileHeaderSize : 0;
    std::optional<Frame> frame = decodeDib(bytes.subspan(kFileHeaderSize), DibKind::File, pixelOffset, bytes.size());
    Picture picture;
    if (frame)
        picture.frames.push_back(std::move(*frame));
    return picture;
}

} // namespace picture
