// Feeds arbitrary bytes to the title data's unpacking: markers cut out, the block unpacked, the text
// decoded from GBK. Nothing may crash, read out of bounds or allocate without bound.

#include "accompaniment/TitleData.h"
#include "accompaniment/UnpackData.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::span<const uint8_t> bytes(data, size);
    const std::vector<uint8_t> unpacked = accompaniment::unpackData(bytes);
    if (unpacked.size() > accompaniment::kMaxUnpackedBytes)
        __builtin_trap();
    (void)accompaniment::titleFromData(bytes);
    return 0;
}
