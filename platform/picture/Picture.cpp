#include "platform/picture/Picture.h"

#include "platform/picture/BmpDecoder.h"
#include "platform/picture/Format.h"
#include "platform/picture/GifDecoder.h"

#include <new>
#include <stdexcept>

namespace picture {

Picture decode(std::span<const uint8_t> bytes, int boxWidth, int boxHeight)
{
    (void)boxWidth;
    (void)boxHeight;
    // The decoders check sizes before they allocate; running out of memory anyway still only means
    // that there is nothing to show.
    try {
        switch (detectFormat(bytes)) {
        case Format::Gif:
            return decodeGif(bytes);
        case Format::Bmp:
            return decodeBmp(bytes);
        case Format::Jpeg:
        case Format::Icon:
        case Format::Cursor:
        case Format::Pcx:
        case Format::Unknown:
            break;
        }
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return {};
}

} // namespace picture
