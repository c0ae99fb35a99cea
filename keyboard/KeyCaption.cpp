#include "keyboard/KeyCaption.h"

#include "platform/text/Utf8.h"

namespace keyboard {
namespace {

// The octave dot in full width (KATAKANA MIDDLE DOT, the GB2312 mapping of the dot character). Ahead of
// a full-width digit the two are wider than the 20-pixel label, so the dot wraps onto a line of its
// own above the digit; the narrow MIDDLE DOT would sit beside the digit instead.
constexpr std::string_view kOctaveDot = "\xE3\x83\xBB";

} // namespace

std::string fullWidth(std::string_view text)
{
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x21 && c <= 0x7D)
            text::appendUtf8(out, 0xFF01 + (c - 0x21));
        else
            out += ch;
    }
    return out;
}

std::string degreeCaption(int k)
{
    const std::string digit = fullWidth(std::to_string((k - 1) % 7 + 1));
    if (k <= 7)
        return "\r\n" + digit + "\r\n" + std::string(kOctaveDot);
    if (k <= 14)
        return "\r\n" + digit + "\r\n\r\n";
    return std::string(kOctaveDot) + digit + "\r\n\r\n";
}

} // namespace keyboard
