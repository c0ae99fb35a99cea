#include "accompaniment/GbkText.h"

#include "platform/text/Utf8.h"

namespace accompaniment {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The table's column for a trail byte, or -1 when the byte cannot end a double-byte character.
int trailSlot(unsigned char trail)
{
    if (trail < 0x40 || trail == 0x7F || trail == 0xFF)
        return -1;
    return trail < 0x7F ? trail - 0x40 : trail - 0x41;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk)
{
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            continue;
        }
        if (lead == 0x80) {
            text::appendUtf8(out, 0x20AC);
            continue;
        }
        const int slot = (lead == 0xFF || i + 1 == gbk.size()) ? -1 : trailSlot(static_cast<unsigned char>(gbk[i + 1]));
        if (slot < 0) {
            text::appendUtf8(out, kReplacement);
            continue;
        }
        const char16_t c = kGbkTable[(lead - 0x81) * 190 + slot];
        text::appendUtf8(out, c != 0 ? c : kReplacement);
        ++i;
    }
    return out;
}

} // namespace accompaniment
