// libFuzzer entry for the BMP decoder.

#include "platform/picture/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static_cast<void>(picture::decodeBmp({data, size}));
    return 0;
}
