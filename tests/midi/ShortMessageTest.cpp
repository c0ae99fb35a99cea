#include "platform/midi/ShortMessage.h"
#include "platform/midi/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShortMessage, LengthFollowsTheStatusByte)
{
    struct Case {
        std::uint32_t message;
        int length;
    };
    const Case cases[] = {
        {0x7F3190, 3},   // Note On, note 49, velocity 127
        {0x003090, 3},   // velocity 0 is still a complete message
        {0x7F3080, 3},   // Note Off
        {0x0019C0, 2},   // Program Change 25
        {0xFF19C0, 2},   // the unused byte of a two-byte message is not looked at
        {0x0000D5, 2},   // Channel Pressure
        {0x400000E0, 3}, // bits above 23 are ignored
        {0x7F7FE0, 3},   // Pitch Bend
        {0x0102F2, 3},   // Song Position
        {0x0005F3, 2},   // Song Select
        {0x0000F8, 1},   // Timing Clock
        {0x0000FF, 1},   // System Reset
        {0x7F3110, 0},   // no status byte: running status is refused
        {0x000000, 0},
        {0x7FB190, 0},   // a data byte with its top bit set
        {0x0090C0, 0},
        {0x0000F0, 0},   // system-exclusive does not fit a short message
        {0x0000F7, 0},
        {0x0000F4, 0},   // undefined
        {0x0000FD, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(midi::shortMessageLength(c.message), c.length) << std::hex << c.message;
}

TEST(ShortMessage, BytesComeOutInWireOrder)
{
    EXPECT_EQ(midi::shortMessageBytes(0x7F3190), (std::array<std::uint8_t, 3>{0x90, 0x31, 0x7F}));
    EXPECT_EQ(midi::shortMessageBytes(0x0019C0), (std::array<std::uint8_t, 3>{0xC0, 0x19, 0x00}));
}

TEST(Utf8, TruncationKeepsWholeCharacters)
{
    struct Case {
        std::string text;
        std::size_t limit;
        std::string expected;
    };
    const std::string thirtyOne(31, 'a');
    const Case cases[] = {
        {"", 31, ""},
        {"Midi Through:Midi Through Port-0 14:0", 31, "Midi Through:Midi Through Port-"},
        {thirtyOne, 31, thirtyOne},
        {thirtyOne + "b", 31, thirtyOne},
        {std::string(29, 'a') + "\xE9\x92\xA2", 31, std::string(29, 'a')},          // 钢 would end at byte 32
        {std::string(28, 'a') + "\xE9\x92\xA2\xE7\x90\xB4", 31, std::string(28, 'a') + "\xE9\x92\xA2"},
        {std::string(30, 'a') + "\xC3\xA9", 31, std::string(30, 'a')},               // é, two bytes
        {std::string(27, 'a') + "\xF0\x9F\x8E\xB9" + "x", 31, std::string(27, 'a') + "\xF0\x9F\x8E\xB9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(midi::truncateUtf8(c.text, c.limit), c.expected) << c.text;
}

} // namespace
