// The compressed-data block of the stored title, and the GBK title text it holds.

#include "accompaniment/GbkText.h"
#include "accompaniment/TitleData.h"
#include "accompaniment/UnpackData.h"
#include "resources/Resources.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

using accompaniment::unpackData;
using Bytes = std::vector<uint8_t>;

Bytes bytesOf(std::string_view text) { return {text.begin(), text.end()}; }

Bytes zlibStream(const Bytes& data, int level = 9)
{
    uLongf size = compressBound(uLong(data.size()));
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, data.data(), uLong(data.size()), level), Z_OK);
    out.resize(size);
    return out;
}

// The magic, n as a little-endian 32-bit number, then the stream.
Bytes block(int32_t n, const Bytes& stream)
{
    const auto u = uint32_t(n);
    Bytes b{0x0D, 0x0F, 0x3E, 0x03, uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    b.insert(b.end(), stream.begin(), stream.end());
    return b;
}

TEST(UnpackData, TheCapacityIsTwiceTheStatedLength)
{
    const Bytes abc = zlibStream(bytesOf("abc"));
    // The golden block of three bytes, byte for byte.
    EXPECT_EQ(block(3, abc), (Bytes{0x0D, 0x0F, 0x3E, 0x03, 0x03, 0x00, 0x00, 0x00, 0x78, 0xDA, 0x4B, 0x4C, 0x4A,
                                    0x06, 0x00, 0x02, 0x4D, 0x01, 0x27}));
    EXPECT_EQ(unpackData(block(3, abc)), bytesOf("abc"));
    EXPECT_EQ(unpackData(block(1, abc)), Bytes{}) << "2 bytes of room for 3";
    EXPECT_EQ(unpackData(block(2, abc)), bytesOf("abc")) << "4 bytes of room; the result need not be n long";
    EXPECT_EQ(unpackData(block(0x3FFFFFFF, abc)), bytesOf("abc")) << "a vast capacity costs only what is produced";
}

TEST(UnpackData, DamagedBlocksGiveNothing)
{
    const Bytes abc = zlibStream(bytesOf("abc"));
    Bytes wrongMagic = block(3, abc);
    wrongMagic[3] = 0x04;
    Bytes badChecksum = block(3, abc);
    badChecksum.back() ^= 1;
    Bytes truncated = block(3, abc);
    truncated.pop_back();
    Bytes badHeader = block(3, abc);
    badHeader[8] = 0x79;
    const struct {
        const char* what;
        Bytes data;
    } cases[] = {
        {"empty", {}},
        {"shorter than its header", Bytes{0x0D, 0x0F, 0x3E, 0x03, 3, 0, 0}},
        {"header without a stream", block(3, {})},
        {"wrong magic", wrongMagic},
        {"length 0", block(0, abc)},
        {"negative length", block(-3, abc)},
        {"capacity wraps to the negative", block(0x40000000, abc)},
        {"capacity wraps to -2", block(0x7FFFFFFF, abc)},
        {"checksum broken", badChecksum},
        {"stream cut short", truncated},
        {"not a zlib header", badHeader},
        {"a stream of nothing", block(5, zlibStream({}))},
        {"raw text instead of a stream", block(3, bytesOf("abc"))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unpackData(c.data), Bytes{}) << c.what;
}

TEST(UnpackData, BytesAfterTheStreamsEndAreIgnored)
{
    Bytes b = block(3, zlibStream(bytesOf("abc")));
    b.insert(b.end(), {'x', 'y'});
    EXPECT_EQ(unpackData(b), bytesOf("abc"));
}

TEST(UnpackData, OutputBeyondTheBoundIsRefusedWhateverTheCapacity)
{
    // The bound is 64 MiB; a small one here shows the rule at its edge without the bulk.
    const Bytes zeros(100000);
    const Bytes b = block(0x3FFFFFFF, zlibStream(zeros));
    EXPECT_EQ(unpackData(b, zeros.size() - 1), Bytes{});
    EXPECT_EQ(unpackData(b, zeros.size()), zeros);
    EXPECT_EQ(unpackData(b), zeros);
}

TEST(TitleData, MarkersAreCutOutBeforeUnpacking)
{
    const Bytes text = bytesOf("abc");
    Bytes data = bytesOf("MThd");
    const Bytes b = block(3, zlibStream(text));
    // Extra markers at the front, in the middle of the block and at its end.
    data.insert(data.end(), b.begin(), b.begin() + 6);
    data.insert(data.end(), {'M', 'T', 'h', 'd', 'M', 'T', 'h', 'd'});
    data.insert(data.end(), b.begin() + 6, b.end());
    data.insert(data.end(), {'M', 'T', 'h', 'd'});
    EXPECT_EQ(accompaniment::removeMarkers(data), b);
    EXPECT_EQ(accompaniment::titleFromData(data), "abc");
    // Scanning goes on after each cut: "MTMThdhd" loses only the inner marker.
    EXPECT_EQ(accompaniment::removeMarkers(bytesOf("MTMThdhd")), bytesOf("MThd"));
}

TEST(TitleData, TheTextEndsAtItsFirstZeroByte)
{
    const Bytes text{'a', 'b', 0, 'c'};
    EXPECT_EQ(accompaniment::titleFromData(block(4, zlibStream(text))), "ab");
    EXPECT_EQ(accompaniment::titleFromData(bytesOf("MThd")), "");
}

TEST(TitleData, TheStoredTitleIsTheProgramsNameInChinese)
{
    EXPECT_EQ(accompaniment::titleFromData(resources::titleData()), "电脑钢琴 - 用键盘弹奏");
}

TEST(GbkText, DecodesToUtf8AndReplacesWhatIsNoCharacter)
{
    const struct {
        std::string gbk, utf8;
    } cases[] = {
        {"abc 123", "abc 123"},
        {"\xB5\xE7\xC4\xD4\xB8\xD6\xC7\xD9", "电脑钢琴"},
        {"\xB5\xDA\xD2\xBB\xD2\xB3.jpg", "第一页.jpg"},
        {"\x81\x40\xFE\x4F", "丂\uFA29"},     // the first code, and one of the last lead byte
        {"\x95\x5C", "昞"},                   // a second byte equal to "\"
        {"\x80", "€"},
        {"\xB5", "\uFFFD"},                   // lead byte at the end
        {"\xB5\x30", "\uFFFD0"},              // a trail byte out of range is read afresh
        {"\xB5\x7F", "\uFFFD\x7F"},
        {"\xFF", "\uFFFD"},
        {"\xA2\xA0", "\uFFFD"},               // unassigned
    };
    for (const auto& c : cases)
        EXPECT_EQ(accompaniment::gbkToUtf8(c.gbk), c.utf8) << c.utf8;
}

} // namespace
