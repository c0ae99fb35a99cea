// libFuzzer entry for the PCX decoder.

#include "platform/picture/PcxDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static_cast<void>(picture::decodePcx({data, size}));
    return 0;
}
