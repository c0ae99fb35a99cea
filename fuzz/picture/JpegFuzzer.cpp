// libFuzzer entry for the JPEG decoder, at full size and scaled for the picture box in turn.

#include "platform/picture/JpegDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const bool scaled = size % 2 == 0;
    static_cast<void>(picture::decodeJpeg({data, size}, scaled ? 504 : 0, scaled ? 512 : 0));
    return 0;
}
