#include "platform/picture/Picture.h"

#include "platform/picture/BmpDecoder.h"
#include "platform/picture/Format.h"
#include "platform/picture/GifDecoder.h"
#include "platform/picture/IconDecoder.h"
#include "platform/picture/JpegDecoder.h"
#include "platform/picture/PcxDecoder.h"

#include <new>
#include <stdexcept>

namespace picture {

Picture decode(std::span<const uint8_t> bytes, int boxWidth, int boxHeight)
{
    // The decoders check sizes before they allocate; running out of memory anyway still only means
    // that there is nothing to show.
    try {
        switch (detectFormat(bytes)) {
        case Format::Gif:
            return decodeGif(bytes);
        case Format::Bmp:
            return decodeBmp(bytes);
        case Format::Jpeg:
            return decodeJpeg(bytes, boxWidth, boxHeight);
        case Format::Icon:
        case Format::Cursor:
            return decodeIcon(bytes);
        case Format::Pcx:
            return decodePcx(bytes);
        case Format::Unknown:
            break;
        }
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return {};
}

} // namespace picture
