#pragma once
// Decoding GBK (code page 936) text into UTF-8; pure functions, any thread.

#include <string>
#include <string_view>

namespace accompaniment {

// The stored title is GBK bytes; the window shows UTF-8. ASCII stays as it is, 0x80 is the euro sign,
// and a lead byte 0x81 to 0xFE with a trail byte 0x40 to 0xFE (not 0x7F) is one character. A byte
// that starts no character, a lead byte without a valid trail, or an unassigned code becomes U+FFFD;
// a lead byte followed by a bad trail byte is replaced alone, so the trail byte is read afresh.
[[nodiscard]] std::string gbkToUtf8(std::string_view gbk);

// The generated code table behind gbkToUtf8 (GbkTable.cpp): index (lead − 0x81) × 190 + trail slot.
extern const char16_t kGbkTable[23940];

} // namespace accompaniment
