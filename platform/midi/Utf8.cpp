#include "platform/midi/Utf8.h"

namespace midi {

std::string truncateUtf8(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return std::string(text);
    std::size_t cut = maxBytes;
    // Step back over continuation bytes (10xxxxxx) so the cut falls before the character they belong to.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut));
}

} // namespace midi
