// libFuzzer entry for the icon and cursor decoder, with its DIB and PNG entries.

#include "platform/picture/IconDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static_cast<void>(picture::decodeIcon({data, size}));
    return 0;
}
