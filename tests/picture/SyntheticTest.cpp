// Small hand-made files for the decoding rules that the public corpora exercise only in passing: RLE
// bitmaps, the choice of an icon entry, and PCX runs and planes.

#include "TestSupport.h"
#include "platform/picture/Picture.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace picture {
namespace {

using Bytes = std::vector<uint8_t>;
using test::put16;
using test::put32;
constexpr uint32_t T = 0; // transparent: a pixel the file never set

uint32_t grey(uint32_t level)
{
    return 0xFF000000u | (level << 16) | (level << 8) | level;
}

// A 40-byte information header; for an icon entry, `height` is already doubled.
void putInfoHeader(Bytes& b, int width, int height, int bits, uint32_t compression, uint32_t colours)
{
    put32(b, 40);
    put32(b, static_cast<uint32_t>(width));
    put32(b, static_cast<uint32_t>(height));
    put16(b, 1);
    put16(b, bits);
    put32(b, compression);
    put32(b, 0);
    put32(b, 0);
    put32(b, 0);
    put32(b, colours);
    put32(b, 0);
}

// A 4 × 2 RLE bitmap whose palette entry i is grey level i.
Bytes rleBmp(int bits, const Bytes& data)
{
    const int colours = 1 << bits;
    Bytes b = {'B', 'M'};
    put32(b, 0);
    put32(b, 0);
    put32(b, 14 + 40 + 4 * colours);
    putInfoHeader(b, 4, 2, bits, bits == 8 ? 1 : 2, 0);
    for (int i = 0; i < colours; ++i)
        put32(b, grey(static_cast<uint32_t>(i)));
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

TEST(RleBitmap, FollowsRunsEscapesAndDeltas)
{
    const uint32_t g1 = grey(1), g2 = grey(2), g3 = grey(3), g4 = grey(4), g5 = grey(5), g6 = grey(6),
                   g7 = grey(7), g8 = grey(8);
    struct Case {
        const char* what;
        int bits;
        Bytes data;
        std::optional<std::vector<uint32_t>> pixels; // top row first; nothing for an empty picture
    };
    const Case cases[] = {
        {"runs, end of line, end of bitmap", 8, {2, 1, 2, 2, 0, 0, 4, 3, 0, 1}, {{g3, g3, g3, g3, g1, g1, g2, g2}}},
        {"absolute runs, padded to 16 bits", 8, {0, 3, 5, 6, 7, 0, 1, 8, 0, 0, 0, 4, 1, 2, 3, 4, 0, 1},
         {{g1, g2, g3, g4, g5, g6, g7, g8}}},
        {"a delta leaves pixels undefined", 8, {1, 1, 0, 2, 2, 1, 1, 3, 0, 1}, {{T, T, T, g3, g1, T, T, T}}},
        {"an early end leaves the rest undefined", 8, {2, 4, 0, 1}, {{T, T, T, T, g4, g4, T, T}}},
        {"a run past the end of a row is cut, not wrapped", 8, {6, 5, 0, 0, 0, 1}, {{T, T, T, T, g5, g5, g5, g5}}},
        {"a delta past the last row ends the image", 8, {0, 2, 0, 5, 4, 1, 0, 1}, {{T, T, T, T, T, T, T, T}}},
        {"the last row may lack its end codes", 8, {4, 1, 0, 0, 4, 2}, {{g2, g2, g2, g2, g1, g1, g1, g1}}},
        {"data that ends before the last row", 8, {4, 1}, std::nullopt},
        {"an absolute run cut short", 8, {4, 1, 0, 0, 0, 4, 1, 2}, std::nullopt},
        {"RLE4 runs alternate two colours", 4, {4, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 1}, {{g3, g4, g5, g6, g1, g2, g1, g2}}},
        {"RLE4 absolute runs of odd length", 4, {0, 3, 0x78, 0x90, 1, 0x10, 0, 1}, {{T, T, T, T, g7, g8, grey(9), g1}}},
    };
    for (const Case& c : cases) {
        const Picture picture = decode(rleBmp(c.bits, c.data));
        if (!c.pixels) {
            EXPECT_TRUE(picture.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(picture.frames.size(), 1u) << c.what;
        EXPECT_EQ(picture.frames[0].pixels, *c.pixels) << c.what;
    }
}

// One icon entry: a solid colour of the given size and depth, or only a header when broken.
struct Entry {
    int width, height, bits;
    uint32_t colour;
    int directoryWidth = 0, directoryHeight = 0; // what the directory claims (0 = the truth)
    bool broken = false;
};

Bytes icon(const std::vector<Entry>& entries)
{
    std::vector<Bytes> images;
    for (const Entry& e : entries) {
        Bytes d;
        const uint32_t colours = e.bits <= 8 ? 1u << e.bits : 0u;
        putInfoHeader(d, e.width, 2 * e.height, e.bits, 0, colours);
        if (!e.broken) {
            for (uint32_t i = 0; i < colours; ++i)
                put32(d, e.colour & 0xFFFFFF);
            const size_t stride = (static_cast<size_t>(e.width) * e.bits + 31) / 32 * 4;
            for (int y = 0; y < e.height; ++y) {
                for (size_t x = 0; x < stride; x += 4)
                    put32(d, e.bits == 32 ? e.colour : 0); // palette index 0 everywhere
            }
            d.resize(d.size() + (static_cast<size_t>(e.width) + 31) / 32 * 4 * e.height, 0); // AND mask
        }
        images.push_back(d);
    }
    Bytes b = {0, 0, 1, 0};
    put16(b, static_cast<unsigned>(entries.size()));
    size_t offset = 6 + 16 * entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        b.push_back(static_cast<uint8_t>(e.directoryWidth ? e.directoryWidth : e.width));
        b.push_back(static_cast<uint8_t>(e.directoryHeight ? e.directoryHeight : e.height));
        b.insert(b.end(), {0, 0, 1, 0});
        put16(b, e.bits);
        put32(b, static_cast<uint32_t>(images[i].size()));
        put32(b, static_cast<uint32_t>(offset));
        offset += images[i].size();
    }
    for (const Bytes& image : images)
        b.insert(b.end(), image.begin(), image.end());
    return b;
}

TEST(IconEntry, TheLargestThenDeepestEntryIsShown)
{
    const uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, white = 0xFFFFFFFF;
    struct Case {
        const char* what;
        std::vector<Entry> entries;
        int width;
        uint32_t colour;
    };
    const Case cases[] = {
        {"the largest", {{16, 16, 32, red}, {32, 32, 4, green}, {24, 24, 32, blue}}, 32, green},
        {"the deepest of equal size", {{32, 32, 4, green}, {32, 32, 8, blue}, {32, 32, 1, white}}, 32, blue},
        {"the first of equals", {{32, 32, 8, red}, {32, 32, 8, blue}}, 32, red},
        {"sizes from the images, not the directory", {{16, 16, 32, red, 64, 64}, {32, 32, 8, blue, 8, 8}}, 32, blue},
        {"a broken entry gives way to the next", {{32, 32, 8, blue}, {64, 64, 32, red, 0, 0, true}}, 32, blue},
    };
    for (const Case& c : cases) {
        const Picture picture = decode(icon(c.entries));
        ASSERT_EQ(picture.frames.size(), 1u) << c.what;
        EXPECT_EQ(picture.frames[0].width, c.width) << c.what;
        EXPECT_EQ(picture.frames[0].pixels[0], c.colour) << c.what;
    }
}

Bytes pcx(int width, int height, int bits, int planes, int bytesPerLine, const Bytes& data,
          const Bytes& headerPalette = {})
{
    Bytes b = {0x0A, 5, 1, static_cast<uint8_t>(bits)};
    put16(b, 0);
    put16(b, 0);
    put16(b, static_cast<unsigned>(width - 1));
    put16(b, static_cast<unsigned>(height - 1));
    put16(b, 72);
    put16(b, 72);
    b.insert(b.end(), headerPalette.begin(), headerPalette.end());
    b.resize(65, 0);
    b.push_back(static_cast<uint8_t>(planes));
    put16(b, static_cast<unsigned>(bytesPerLine));
    b.resize(128, 0);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

TEST(PcxLines, RunsPlanesAndPaddingDecode)
{
    Bytes palette(48, 0);
    palette[27] = 0x11, palette[28] = 0x22, palette[29] = 0x33; // entry 9
    palette[30] = 0x44, palette[31] = 0x55, palette[32] = 0x66; // entry 10
    struct Case {
        const char* what;
        Bytes file;
        std::optional<std::vector<uint32_t>> pixels;
    };
    const uint32_t g = grey(0x80);
    const Case cases[] = {
        {"a run crosses into the next line", pcx(4, 2, 8, 1, 4, {0xC8, 0x80}), {{g, g, g, g, g, g, g, g}}},
        {"a run past the last line is harmless", pcx(4, 2, 8, 1, 4, {0xFF, 0x80}), {{g, g, g, g, g, g, g, g}}},
        {"zero-length runs are skipped", pcx(2, 1, 8, 1, 2, {0xC0, 0x55, 1, 2}), {{grey(1), grey(2)}}},
        {"odd line padding is skipped", pcx(3, 2, 8, 1, 5, {1, 2, 3, 9, 9, 4, 5, 6, 9, 9}),
         {{grey(1), grey(2), grey(3), grey(4), grey(5), grey(6)}}},
        {"three planes of 8 bits", pcx(2, 1, 8, 3, 2, {0x10, 0x20, 0x30, 0x40, 0x50, 0x60}),
         {{0xFF103050, 0xFF204060}}},
        {"four planes of 1 bit", pcx(2, 1, 1, 4, 1, {0x80, 0x40, 0x00, 0xC1, 0xC0}, palette),
         {{0xFF112233, 0xFF445566}}},
        {"a line narrower than the image", pcx(9, 1, 8, 1, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9}), std::nullopt},
        {"data that ends inside the last line", pcx(4, 2, 8, 1, 4, {0xC7, 0x80}), std::nullopt},
        {"a run without its value", pcx(4, 1, 8, 1, 4, {0xC4}), std::nullopt},
    };
    for (const Case& c : cases) {
        const Picture picture = decode(c.file);
        if (!c.pixels) {
            EXPECT_TRUE(picture.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(picture.frames.size(), 1u) << c.what;
        EXPECT_EQ(picture.frames[0].pixels, *c.pixels) << c.what;
    }
}

} // namespace
} // namespace picture
