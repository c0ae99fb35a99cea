#include "accompaniment/GbkText.h"

namespace accompaniment {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        // The table holds only characters of the Basic Multilingual Plane.
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

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
            appendUtf8(out, 0x20AC);
            continue;
        }
        const int slot = (lead == 0xFF || i + 1 == gbk.size()) ? -1 : trailSlot(static_cast<unsigned char>(gbk[i + 1]));
        if (slot < 0) {
            appendUtf8(out, kReplacement);
            continue;
        }
        const char16_t c = kGbkTable[(lead - 0x81) * 190 + slot];
        appendUtf8(out, c != 0 ? c : kReplacement);
        ++i;
    }
    return out;
}

} // namespace accompaniment
