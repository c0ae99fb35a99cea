#include "resources/Resources.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::span<const std::uint8_t>;

uint32_t be32(Bytes b, size_t at) { return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3]; }
uint16_t be16(Bytes b, size_t at) { return uint16_t(b[at] << 8 | b[at + 1]); }
uint32_t le32(Bytes b, size_t at) { return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24; }
uint16_t le16(Bytes b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

bool startsWith(Bytes b, const char* text)
{
    const size_t n = std::strlen(text);
    return b.size() >= n && std::memcmp(b.data(), text, n) == 0;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Resources, EmbeddedBytesEqualTheFilesInTheSourceTree)
{
    const struct {
        const char* file;
        Bytes (*get)();
    } cases[] = {
        {"tune.mid", resources::embeddedTune},
        {"icon.ico", resources::windowIcon},
        {"score.gif", resources::initialScore},
        {"title.bin", resources::titleData},
    };
    for (const auto& c : cases) {
        const auto onDisk = readFile(std::string(PIANO_SOURCE_DIR "/resources/") + c.file);
        const Bytes embedded = c.get();
        ASSERT_FALSE(onDisk.empty()) << c.file;
        EXPECT_TRUE(std::equal(embedded.begin(), embedded.end(), onDisk.begin(), onDisk.end())) << c.file;
    }
}

// Walks every track's events. The piano's own notes go out on the first channel, so the tune must
// leave that channel (and its program) alone, and its melody channel must stay on the 36 keys.
TEST(Resources, TuneIsAWellFormedMidiFileThatLeavesTheFirstChannelAlone)
{
    const Bytes tune = resources::embeddedTune();
    ASSERT_GE(tune.size(), 14u);
    ASSERT_TRUE(startsWith(tune, "MThd"));
    EXPECT_EQ(be32(tune, 4), 6u);
    const uint16_t format = be16(tune, 8);
    const uint16_t tracks = be16(tune, 10);
    EXPECT_TRUE(format == 0 || format == 1);
    EXPECT_GE(tracks, 1);
    EXPECT_GT(be16(tune, 12), 0) << "ticks per quarter note, not SMPTE";

    size_t pos = 14;
    int trackCount = 0;
    std::set<int> channels;
    int lowMelody = 128, highMelody = -1;
    while (pos < tune.size()) {
        ASSERT_LE(pos + 8, tune.size());
        ASSERT_EQ(std::memcmp(&tune[pos], "MTrk", 4), 0);
        const size_t end = pos + 8 + be32(tune, pos + 4);
        ASSERT_LE(end, tune.size());
        ++trackCount;
        size_t p = pos + 8;
        uint8_t status = 0;
        bool ended = false;
        while (p < end && !ended) {
            while (p < end && (tune[p] & 0x80)) ++p; // delta time
            ASSERT_LT(++p, end);
            if (tune[p] & 0x80) status = tune[p++];
            ASSERT_NE(status, 0) << "running status with no status byte";
            if (status == 0xFF) {
                const uint8_t type = tune[p];
                const size_t length = tune[p + 1]; // every meta event here is under 128 bytes
                ended = type == 0x2F;
                p += 2 + length;
            } else {
                ASSERT_LT(status, 0xF0) << "no system-exclusive events expected";
                const int channel = status & 0x0F;
                const int kind = status & 0xF0;
                channels.insert(channel);
                if (kind == 0x90 && tune[p + 1] > 0 && channel == 1) {
                    lowMelody = std::min<int>(lowMelody, tune[p]);
                    highMelody = std::max<int>(highMelody, tune[p]);
                }
                p += (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
            }
            ASSERT_LE(p, end);
        }
        EXPECT_TRUE(ended);
        EXPECT_EQ(p, end) << "end of track must close the chunk";
        pos = end;
    }
    EXPECT_EQ(trackCount, tracks);
    EXPECT_EQ(channels.count(0), 0u);
    EXPECT_GE(lowMelody, 48);
    EXPECT_LE(highMelody, 83);
}

TEST(Resources, ScoreIsOneTwoColourGifOfTheStoredSize)
{
    const Bytes gif = resources::initialScore();
    ASSERT_GE(gif.size(), 13u + 6u);
    ASSERT_TRUE(startsWith(gif, "GIF89a"));
    EXPECT_EQ(le16(gif, 6), 558);
    EXPECT_EQ(le16(gif, 8), 656);
    ASSERT_EQ(gif[10] & 0x87, 0x80) << "a global colour table of two entries";

    size_t pos = 13 + 2 * 3;
    int images = 0;
    auto skipSubBlocks = [&] {
        while (pos < gif.size() && gif[pos] != 0) pos += 1 + gif[pos];
        ++pos;
    };
    while (pos < gif.size() && gif[pos] != 0x3B) {
        if (gif[pos] == 0x21) {
            pos += 2;
            skipSubBlocks();
        } else {
            ASSERT_EQ(gif[pos], 0x2C);
            ASSERT_LE(pos + 11, gif.size());
            EXPECT_EQ(le16(gif, pos + 5), 558);
            EXPECT_EQ(le16(gif, pos + 7), 656);
            EXPECT_EQ(gif[pos + 9] & 0x80, 0) << "no local colour table";
            pos += 10 + 1; // descriptor, then the LZW minimum code size
            skipSubBlocks();
            ++images;
        }
    }
    EXPECT_EQ(images, 1);
    ASSERT_LT(pos, gif.size());
    EXPECT_EQ(pos + 1, gif.size()) << "the trailer is the last byte";
}

TEST(Resources, IconHoldsOne48By48ImageWith32BitColour)
{
    const Bytes ico = resources::windowIcon();
    ASSERT_GE(ico.size(), 6u + 16u + 40u);
    EXPECT_EQ(le16(ico, 0), 0);
    EXPECT_EQ(le16(ico, 2), 1) << "icon, not cursor";
    ASSERT_EQ(le16(ico, 4), 1);
    EXPECT_EQ(ico[6], 48);
    EXPECT_EQ(ico[7], 48);
    EXPECT_EQ(le16(ico, 10), 1);
    EXPECT_EQ(le16(ico, 12), 32);
    const uint32_t bytes = le32(ico, 14);
    const uint32_t offset = le32(ico, 18);
    ASSERT_EQ(size_t(offset) + bytes, ico.size());

    const Bytes dib = ico.subspan(offset);
    EXPECT_EQ(le32(dib, 0), 40u);
    EXPECT_EQ(le32(dib, 4), 48u);
    EXPECT_EQ(le32(dib, 8), 96u) << "colour rows and mask rows together";
    EXPECT_EQ(le16(dib, 14), 32);
    EXPECT_EQ(le32(dib, 16), 0u) << "uncompressed";
    EXPECT_EQ(bytes, 40u + 48 * 48 * 4 + 48 * 4 * ((48 + 31) / 32));
}

TEST(Resources, TitleDataIsTheMarkerThenABlockThatUnpacksToTheCaption)
{
    // "电脑钢琴 - 用键盘弹奏" in GBK.
    const std::vector<uint8_t> caption = {0xB5, 0xE7, 0xC4, 0xD4, 0xB8, 0xD6, 0xC7, 0xD9, 0x20, 0x2D, 0x20,
                                          0xD3, 0xC3, 0xBC, 0xFC, 0xC5, 0xCC, 0xB5, 0xAF, 0xD7, 0xE0};
    const Bytes data = resources::titleData();
    ASSERT_GT(data.size(), 12u);
    ASSERT_TRUE(startsWith(data, "MThd"));
    const Bytes block = data.subspan(4);
    const std::string blockText(block.begin(), block.end());
    EXPECT_EQ(blockText.find("MThd"), std::string::npos) << "the marker would be cut out of the block";
    EXPECT_EQ(le32(block, 0), 0x033E0F0Du);
    const auto n = int32_t(le32(block, 4));
    ASSERT_EQ(n, int32_t(caption.size()));

    std::vector<uint8_t> out(size_t(2 * n));
    uLongf outLength = uLongf(out.size());
    ASSERT_EQ(uncompress(out.data(), &outLength, block.data() + 8, uLong(block.size() - 8)), Z_OK);
    out.resize(outLength);
    EXPECT_EQ(out, caption);
}

} // namespace
