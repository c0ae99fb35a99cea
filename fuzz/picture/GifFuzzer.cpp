// libFuzzer entry for the GIF decoder.

#include "platform/picture/GifDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static_cast<void>(picture::decodeGif({data, size}));
    return 0;
}
