// Format detection by content, refusal of damaged, truncated, unsupported and oversized input, and the
// JPEG DCT scale chosen for a box.

#include "platform/picture/Format.h"
#include "platform/picture/Picture.h"
#include "AllocationProbe.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace picture {
namespace {

using test::corpus;
using test::readFile;
using Bytes = std::vector<uint8_t>;
using test::put16;
using test::put32;

Bytes bytesOf(std::initializer_list<int> values)
{
    Bytes out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

TEST(DetectFormat, RecognisesFormatsByTheirFirstBytes)
{
    struct Case {
        Bytes start;
        Format format;
    };
    const Case cases[] = {
        {{}, Format::Unknown},
        {bytesOf({'B'}), Format::Unknown},
        {bytesOf({'B', 'M'}), Format::Bmp},
        {bytesOf({'B', 'A', 0, 0}), Format::Unknown},
        {bytesOf({0xFF, 0xD8}), Format::Jpeg},
        {bytesOf({0xFF, 0xD9}), Format::Unknown},
        {bytesOf({0, 0, 1, 0, 1, 0}), Format::Icon},
        {bytesOf({0, 0, 2, 0, 3, 0}), Format::Cursor},
        {bytesOf({0, 0, 1, 0, 0, 1}), Format::Icon}, // 256 entries
        {bytesOf({0, 0, 1, 0, 0, 0}), Format::Unknown}, // no image at all
        {bytesOf({0, 0, 2, 0, 0, 0}), Format::Unknown},
        {bytesOf({0, 0, 1, 0}), Format::Unknown},
        {bytesOf({0, 0, 3, 0, 1, 0}), Format::Unknown},
        {bytesOf({'G', 'I', 'F', '8', '7', 'a'}), Format::Gif},
        {bytesOf({'G', 'I', 'F', '8', '9', 'a'}), Format::Gif},
        {bytesOf({'G', 'I', 'F', '8', '8', 'a'}), Format::Unknown},
        {bytesOf({'G', 'I', 'F', '8', '9'}), Format::Unknown},
        // PCX: manufacturer 0x0A, version up to 5, RLE encoding, 1, 2, 4 or 8 bits per plane.
        {bytesOf({0x0A, 5, 1, 8}), Format::Pcx},
        {bytesOf({0x0A, 0, 1, 8}), Format::Pcx},
        {bytesOf({0x0A, 3, 1, 1}), Format::Pcx},
        {bytesOf({0x0A, 5, 1, 1}), Format::Pcx},
        {bytesOf({0x0A, 5, 1, 2}), Format::Pcx},
        {bytesOf({0x0A, 5, 1, 4}), Format::Pcx},
        {bytesOf({0x0A, 6, 1, 8}), Format::Unknown},
        {bytesOf({0x0A, 5, 0, 8}), Format::Unknown},
        {bytesOf({0x0A, 5, 2, 8}), Format::Unknown},
        {bytesOf({0x0A, 5, 1, 3}), Format::Unknown},
        {bytesOf({0x0A, 5, 1, 24}), Format::Unknown},
        {bytesOf({0x0A, 5, 1}), Format::Unknown},
        {bytesOf({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}), Format::Unknown},
        {bytesOf({'I', 'I', 42, 0}), Format::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.start));
        EXPECT_EQ(detectFormat(c.start), c.format);
    }
}

// A file cut short anywhere, from inside its header to just before its last bytes of image data, shows
// nothing; files whose damage is in the image data itself likewise.
TEST(Refusal, TruncatedFilesShowNothing)
{
    const char* files[] = {
        "bmp/bmpsuite/g/pal8.bmp",          "bmp/bmpsuite/g/rgb24.bmp",
        "bmp/bmpsuite/g/pal8rle.bmp",       "bmp/bmpsuite/g/pal4rle.bmp",
        "jpeg/libjpeg-turbo-testimages/testorig.jpg", "jpeg/libjpeg-turbo-testimages/testimgint.jpg",
        "jpeg/libjpeg-turbo-testimages/testimgari.jpg", "gif/pygif-test-suite/4095-codes.gif",
        "gif/pygif-test-suite/interlace.gif", "ico/pillow-tests/hopper.ico",
        "ico/pillow-tests/hopper_draw.ico", "cur/pillow-tests/deerstalker.cur",
        "pcx/zigimg-test-suite/test-bpp24.pcx", "pcx/pillow-tests/odd_stride.pcx",
    };
    for (const char* file : files) {
        const Bytes whole = readFile(corpus() / file);
        ASSERT_GT(whole.size(), 200u) << file;
        ASSERT_FALSE(decode(whole).empty()) << file;
        for (const size_t cut : {size_t{20}, whole.size() / 4, whole.size() / 2, whole.size() * 3 / 4}) {
            const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
            EXPECT_TRUE(decode(part).empty()) << file << " cut to " << cut << " bytes";
        }
    }
}

TEST(Refusal, DamagedAndUnsupportedInputShowsNothing)
{
    auto corrupted = [](const char* file, const std::function<void(Bytes&)>& damage) {
        Bytes bytes = readFile(corpus() / file);
        damage(bytes);
        return bytes;
    };
    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"no bytes", {}},
        {"a PNG image", readFile(corpus() / "bmp/bmpsuite/html/pal8.png")},
        {"text", bytesOf({'h', 'e', 'l', 'l', 'o'})},
        {"a cursor file without cursors", readFile(corpus() / "cur/pillow-tests/no_cursors.cur")},
        {"12-bit JPEG", readFile(corpus() / "jpeg/libjpeg-turbo-testimages/monkey12.jpg")},
        {"JPEG whose scan holds invalid Huffman codes", corrupted("jpeg/libjpeg-turbo-testimages/testorig.jpg",
                                                                  [](Bytes& b) {
                                                                      for (size_t i = 0; i < 64; i += 2) {
                                                                          b[b.size() / 2 + i] = 0xFF;
                                                                          b[b.size() / 2 + i + 1] = 0x00;
                                                                      }
                                                                  })},
        {"JPEG with a frame of zero components", corrupted("jpeg/libjpeg-turbo-testimages/testorig.jpg",
                                                           [](Bytes& b) {
                                                               for (size_t i = 2; i + 9 < b.size(); ++i)
                                                                   if (b[i] == 0xFF && b[i + 1] == 0xC0) {
                                                                       b[i + 9] = 0;
                                                                       break;
                                                                   }
                                                           })},
        {"GIF with an invalid LZW code", readFile(corpus() / "gif/pygif-test-suite/invalid-code.gif")},
        {"BMP with an unknown header size", readFile(corpus() / "bmp/bmpsuite/b/badheadersize.bmp")},
        {"BMP whose pixel offset lies past its end", corrupted("bmp/bmpsuite/g/pal8.bmp",
                                                               [](Bytes& b) { b[12] = 0x7F; })},
        {"icon whose entries point past its end", corrupted("ico/pillow-tests/hopper.ico",
                                                            [](Bytes& b) { b[6 + 12 + 2] = 0x7F; })},
        {"PCX whose window ends before it starts", corrupted("pcx/zigimg-test-suite/test-bpp8.pcx",
                                                            [](Bytes& b) { b[4] = 30; })},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(decode(c.bytes).empty()) << c.what;
}

Bytes bmpHeader(int32_t width, int32_t height, int bits, uint32_t compression)
{
    Bytes b = bytesOf({'B', 'M'});
    put32(b, 0);
    put32(b, 0);
    put32(b, 14 + 40 + (bits <= 8 ? 4 << bits : 0));
    put32(b, 40);
    put32(b, static_cast<uint32_t>(width));
    put32(b, static_cast<uint32_t>(height));
    put16(b, 1);
    put16(b, bits);
    put32(b, compression);
    for (int i = 0; i < 5; ++i)
        put32(b, 0);
    if (bits <= 8)
        b.resize(b.size() + (4u << bits), 0x80);
    return b;
}

Bytes icoWithEntry(const Bytes& dib)
{
    Bytes b = bytesOf({0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0});
    put32(b, static_cast<uint32_t>(dib.size()));
    put32(b, 22);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

Bytes gifWithScreen(unsigned width, unsigned height)
{
    Bytes b = bytesOf({'G', 'I', 'F', '8', '9', 'a'});
    put16(b, width);
    put16(b, height);
    const Bytes rest = bytesOf({0x80, 0, 0, 0, 0, 0, 255, 255, 255,        // two colours
                                0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,            // a 1 × 1 image
                                2, 2, 0x4C, 0x01, 0, 0x3B});               // its LZW data, trailer
    b.insert(b.end(), rest.begin(), rest.end());
    return b;
}

Bytes pcxHeader(unsigned xMax, unsigned yMax, int bits, int planes, unsigned bytesPerLine)
{
    Bytes b = bytesOf({0x0A, 5, 1, bits});
    put16(b, 0);
    put16(b, 0);
    put16(b, xMax);
    put16(b, yMax);
    b.resize(65, 0);
    b.push_back(static_cast<uint8_t>(planes));
    put16(b, bytesPerLine);
    b.resize(128, 0);
    return b;
}

Bytes withSize(Bytes bytes, size_t size, uint8_t fill = 0)
{
    bytes.resize(size, fill);
    return bytes;
}

// Headers that promise far more pixels than the limits allow, or than their file could hold, are refused
// before any pixel memory is taken.
TEST(Refusal, OversizedHeadersAreRefusedWithoutABigAllocation)
{
    Bytes jpegGiant = readFile(corpus() / "jpeg/libjpeg-turbo-testimages/testorig.jpg");
    for (size_t i = 2; i + 8 < jpegGiant.size(); ++i)
        if (jpegGiant[i] == 0xFF && jpegGiant[i + 1] == 0xC0) {
            jpegGiant[i + 5] = jpegGiant[i + 6] = jpegGiant[i + 7] = jpegGiant[i + 8] = 0xFF;
            break;
        }
    Bytes rleEndsAtOnce = bmpHeader(8000, 8000, 8, 1);
    rleEndsAtOnce.insert(rleEndsAtOnce.end(), {0, 1});
    Bytes bigDib(40, 0);
    bigDib[0] = 40;
    bigDib[4] = 0xA0, bigDib[5] = 0x86, bigDib[6] = 0x01; // 100000
    bigDib[8] = 0x40, bigDib[9] = 0x0D, bigDib[10] = 0x03; // 200000, twice the height of the image
    bigDib[12] = 1, bigDib[14] = 32;

    struct Case {
        const char* what;
        Bytes bytes;
    };
    const Case cases[] = {
        {"BMP of 100000 × 100000", withSize(bmpHeader(100000, 100000, 24, 0), 4096)},
        {"BMP of 100000 × 100000, top-down", withSize(bmpHeader(100000, -100000, 24, 0), 4096)},
        {"RLE8 BMP of 8000 × 8000 that ends at once", rleEndsAtOnce},
        {"icon entry of 100000 × 100000", icoWithEntry(withSize(bigDib, 4096))},
        {"the icon decompression bomb", readFile(corpus() / "ico/pillow-tests/decompression_bomb.ico")},
        {"GIF screen of 65535 × 65535", readFile(corpus() / "gif/pygif-test-suite/max-size.gif")},
        {"GIF screen of 8000 × 8000 in 40 bytes", gifWithScreen(8000, 8000)},
        {"JPEG of 65535 × 65535", jpegGiant},
        {"PCX of 65536 × 65536", withSize(pcxHeader(65535, 65535, 8, 1, 65535), 4096, 0xC1)},
        {"PCX of 8000 × 8000 in 4 KiB", withSize(pcxHeader(7999, 7999, 8, 3, 8000), 4096, 0xFF)},
    };
    for (const Case& c : cases) {
        test::AllocationProbe probe;
        EXPECT_TRUE(decode(c.bytes, 504, 512).empty()) << c.what;
        EXPECT_LT(probe.largest(), size_t{4} << 20) << c.what;
    }
}

// A JPEG is decoded at the smallest n/8 scale that still covers the box, or at full size.
TEST(JpegScaling, DecodesAtTheSmallestScaleThatCoversTheBox)
{
    test::TempDir scratch;
    struct Case {
        int width, height;       // of the JPEG
        int boxWidth, boxHeight; // to fill
        int expectedWidth, expectedHeight;
    };
    const Case cases[] = {
        {4032, 3024, 504, 512, 1008, 756}, // 2/8: 1/8 would be 378 high
        {3024, 4032, 504, 512, 756, 1008},
        {1600, 1600, 504, 512, 600, 600},  // 3/8
        {1200, 1200, 504, 512, 600, 600},  // 4/8
        {4032, 4096, 504, 512, 504, 512},  // 1/8 exactly
        {4031, 4095, 504, 512, 504, 512},  // 1/8, rounded up
        {500, 300, 504, 512, 500, 300},    // smaller than the box: full size
        {4032, 3024, 0, 0, 4032, 3024},    // no box: full size
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height);
        SCOPED_TRACE(name + " into " + std::to_string(c.boxWidth) + "x" + std::to_string(c.boxHeight));
        const std::filesystem::path file = scratch.path() / (name + ".jpg");
        if (!std::filesystem::exists(file)) {
            ASSERT_TRUE(test::run(test::convertTool() + " -size " + name +
                                  " gradient:red-blue -quality 80 '" + file.string() + "'"));
        }
        const Picture picture = decode(readFile(file), c.boxWidth, c.boxHeight);
        ASSERT_EQ(picture.frames.size(), 1u);
        const Frame& frame = picture.frames.front();
        EXPECT_EQ(frame.width, c.expectedWidth);
        EXPECT_EQ(frame.height, c.expectedHeight);
        ASSERT_EQ(frame.pixels.size(), static_cast<size_t>(frame.width) * frame.height);
        // The gradient runs from red at the top to blue at the bottom whatever the scale.
        std::string first;
        EXPECT_EQ(test::countDifferences({frame.pixels.front()}, {0xFFFF0000u}, 8, &first), 0u) << first;
        EXPECT_EQ(test::countDifferences({frame.pixels.back()}, {0xFF0000FFu}, 8, &first), 0u) << first;
    }
}

} // namespace
} // namespace picture
