// Decodes real files from other projects' suites and from encoders we did not write, and compares the
// pixels with ImageMagick's decode of the same file.

#include "platform/picture/Picture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace picture {
namespace {

using test::corpus;

enum class Expect {
    Match,   // decodes, and the pixels equal ImageMagick's within the tolerance
    Decodes, // decodes (ImageMagick reads it differently or not at all)
    Empty,   // nothing to show
    NoCrash, // either outcome, as long as it is a clean one
};

// One row: a corpus file, all files of a corpus folder with a given ending ("dir/*.bmp"), or a file that
// `make` writes at test time ({convert} is ImageMagick, {out} the file). Later rows override earlier ones
// for the same file. `frame` is the image index ImageMagick should compare with; `reference` replaces
// ImageMagick by another decoder where ImageMagick is known to disagree with the rest of the world.
struct Row {
    const char* file;
    Expect expect;
    int tolerance = 0;
    const char* make = nullptr;
    int frame = 0;
    const char* reference = nullptr;
};

// ImageMagick shows 1-bit PCX files inverted and ignores their palette; netpbm and Pillow agree on
// black on white for pil184.pcx, and netpbm uses the header palette as we do.
constexpr const char* kNetpbmPcx = "pcxtoppm {in}";
// ImageMagick takes a 32-bit icon whose alpha bytes are all zero for an invisible one; Windows and netpbm
// fall back to the AND mask.
constexpr const char* kNetpbmIcon = "winicontopam {in}";

const Row kRows[] = {
    // BMP Suite: good files decode exactly, questionable ones either way, bad ones cleanly, others never.
    {"bmp/bmpsuite/g/*.bmp", Expect::Match},
    {"bmp/bmpsuite/q/*.bmp", Expect::NoCrash},
    {"bmp/bmpsuite/b/*.bmp", Expect::NoCrash},
    {"bmp/bmpsuite/x/*.bmp", Expect::Empty},
    // 5- and 6-bit channels are scaled to 8 bits with rounding; ImageMagick replicates bits, which is up to
    // one level darker.
    {"bmp/bmpsuite/g/rgb16.bmp", Expect::Match, 1},
    {"bmp/bmpsuite/g/rgb16bfdef.bmp", Expect::Match, 1},
    {"bmp/bmpsuite/g/rgb16-565.bmp", Expect::Match, 1},
    {"bmp/bmpsuite/g/rgb16-565pal.bmp", Expect::Match, 1},
    {"bmp/bmpsuite/b/reallybig.bmp", Expect::Empty},
    {"bmp/bmpsuite/b/shortfile.bmp", Expect::Empty},
    {"bmp/bmpsuite/q/rgb24jpeg.bmp", Expect::Empty},
    {"bmp/bmpsuite/q/rgb24png.bmp", Expect::Empty},
    {"bmp/bmpsuite/q/cmyk.bmp", Expect::Empty},
    {"bmp/bmpsuite/q/pal8os2v2.bmp", Expect::Decodes}, // ImageMagick misreads the 64-byte OS/2 header
    {"bmp/bmpsuite/q/pal8oversizepal.bmp", Expect::Decodes}, // ImageMagick refuses it
    {"bmp/bmpsuite/q/pal8offs.bmp", Expect::Match},
    {"bmp/bmpsuite/q/pal2.bmp", Expect::Decodes},
    {"bmp/bmpsuite/q/rgb24rle24.bmp", Expect::Decodes},
    {"bmp/bmpsuite/q/rgba32-1.bmp", Expect::Match},
    {"bmp/bmpsuite/q/rgba32abf.bmp", Expect::Decodes},

    // BMP files from ImageMagick's and netpbm's encoders.
    {"im-24.bmp", Expect::Match, 0, "{convert} rose: BMP3:{out}"},
    {"im-8.bmp", Expect::Match, 0, "{convert} rose: -type palette BMP3:{out}"},
    {"im-4.bmp", Expect::Match, 0, "{convert} rose: -colors 16 -type palette BMP3:{out}"},
    {"im-1.bmp", Expect::Match, 0, "{convert} rose: -type bilevel BMP3:{out}"},
    {"im-rle8.bmp", Expect::Match, 0, "{convert} logo: -type palette -compress RLE BMP3:{out}"},
    {"im-os2.bmp", Expect::Match, 0, "{convert} rose: -type palette BMP2:{out}"},
    {"im-v5-alpha.bmp", Expect::Match, 0, "{convert} logo: -resize 50% -transparent white BMP:{out}"},
    {"im-565.bmp", Expect::Match, 1, "{convert} rose: -define bmp:subtype=RGB565 BMP:{out}"},
    {"netpbm-24.bmp", Expect::Match, 0, "{convert} rose: ppm:- | ppmtobmp -bpp 24 > {out}"},
    {"netpbm-8.bmp", Expect::Match, 0, "{convert} rose: -colors 200 ppm:- | ppmtobmp -bpp 8 > {out}"},
    {"netpbm-4-os2.bmp", Expect::Match, 0, "{convert} rose: -colors 16 ppm:- | ppmtobmp -os2 -bpp 4 > {out}"},
    {"netpbm-1.bmp", Expect::Match, 0, "{convert} rose: -monochrome pbm:- | ppmtobmp -bpp 1 > {out}"},

    // JPEG through the same libjpeg as ImageMagick: equal but for rounding in the colour conversion.
    {"jpeg/libjpeg-turbo-testimages/testorig.jpg", Expect::Match, 2},
    {"jpeg/libjpeg-turbo-testimages/testimgint.jpg", Expect::Match, 2},
    {"jpeg/libjpeg-turbo-testimages/testimgari.jpg", Expect::Match, 2},
    {"jpeg/libjpeg-turbo-testimages/monkey12.jpg", Expect::Empty},
    {"im-420.jpg", Expect::Match, 2, "{convert} logo: -quality 85 {out}"},
    {"im-444.jpg", Expect::Match, 2, "{convert} rose: -sampling-factor 1x1 -quality 95 {out}"},
    {"im-progressive.jpg", Expect::Match, 2, "{convert} logo: -interlace JPEG {out}"},
    {"im-grey.jpg", Expect::Match, 2, "{convert} rose: -colorspace Gray {out}"},
    {"im-cmyk.jpg", Expect::Match, 2, "{convert} rose: -colorspace CMYK {out}"},
    {"netpbm.jpg", Expect::Match, 2, "{convert} rose: ppm:- | pnmtojpeg > {out}"},
    {"netpbm-progressive.jpg", Expect::Match, 2, "{convert} logo: ppm:- | pnmtojpeg --progressive --quality=60 > {out}"},

    // Icons and cursors: the largest entry, then the deepest, with its mask or alpha.
    {"ico/pillow-tests/*.ico", Expect::Match},
    {"ico/pillow-tests/decompression_bomb.ico", Expect::Empty},
    {"ico/pillow-tests/python.ico", Expect::Match, 0, nullptr, 2},
    {"cur/pillow-tests/*.cur", Expect::Match},
    {"cur/pillow-tests/no_cursors.cur", Expect::Empty},
    {"im-sizes.ico", Expect::Match, 0, "{convert} logo: -define icon:auto-resize=64,48,32,16 {out}"},
    {"im-16.ico", Expect::Match, 0, "{convert} rose: -resize 40x40 -colors 16 -type palette {out}"},
    {"im-256.ico", Expect::Match, 0, "{convert} rose: -resize 40x40 -colors 200 -type palette {out}"},
    {"im-alpha.ico", Expect::Match, 0, "{convert} -size 48x48 xc:none -fill red -draw 'circle 24,24 24,4' {out}"},
    {"im-large.ico", Expect::Match, 0, "{convert} logo: -resize 256x256! {out}"},
    {"netpbm.ico", Expect::Match, 0, "{convert} rose: -resize 32x32 pam:- | pamtowinicon > {out}", 0, kNetpbmIcon},
    {"netpbm-png.ico", Expect::Match, 0, "{convert} rose: -resize 32x32 pam:- | pamtowinicon -pngthreshold=1 > {out}"},

    // PCX in every layout the format has.
    {"pcx/pillow-tests/*.pcx", Expect::Match},
    {"pcx/pillow-tests/*.bin", Expect::Empty}, // lines narrower than the image, and cut short
    {"pcx/pillow-tests/01r_00.pcx", Expect::Empty}, // 88 pixels of 8 bits in 12-byte lines
    {"pcx/pillow-tests/ossfuzz-4836216264589312.pcx", Expect::Empty},
    {"pcx/pillow-tests/pil184.pcx", Expect::Match, 0, nullptr, 0, kNetpbmPcx},
    {"pcx/zigimg-test-suite/*.pcx", Expect::Match},
    {"pcx/zigimg-test-suite/test-bpp1.pcx", Expect::Match, 0, nullptr, 0, kNetpbmPcx},
    {"im-24.pcx", Expect::Match, 0, "{convert} rose: PCX:{out}"},
    {"im-8.pcx", Expect::Match, 0, "{convert} logo: -type palette PCX:{out}"},
    {"im-1.pcx", Expect::Match, 0, "{convert} rose: -type bilevel PCX:{out}", 0, kNetpbmPcx},
    {"netpbm-16.pcx", Expect::Match, 0, "{convert} rose: -colors 16 ppm:- | ppmtopcx > {out}"},
    {"netpbm-packed.pcx", Expect::Match, 0, "{convert} rose: -colors 16 ppm:- | ppmtopcx -packed > {out}"},
    {"netpbm-8.pcx", Expect::Match, 0, "{convert} rose: -colors 200 ppm:- | ppmtopcx -8bit > {out}"},
    {"netpbm-24.pcx", Expect::Match, 0, "{convert} logo: ppm:- | ppmtopcx -24bit > {out}"},
    {"netpbm-1.pcx", Expect::Match, 0, "{convert} logo: -monochrome pbm:- | ppmtopcx > {out}", 0, kNetpbmPcx},

    // GIF stills from other encoders (animations are checked frame by frame against their own suite).
    {"im.gif", Expect::Match, 0, "{convert} logo: {out}"},
    {"im-interlaced.gif", Expect::Match, 0, "{convert} rose: -interlace GIF {out}"},
    {"im-transparent.gif", Expect::Match, 0, "{convert} logo: -resize 50% -transparent white {out}"},
    {"netpbm.gif", Expect::Match, 0, "{convert} rose: -colors 256 ppm:- | pamtogif > {out}"},
    {"netpbm-interlaced.gif", Expect::Match, 0, "{convert} rose: -colors 256 ppm:- | pamtogif -interlace > {out}"},
};

struct Item {
    std::filesystem::path path; // in the corpus, or relative to the scratch folder when made
    Row row;
};

std::vector<Item> items()
{
    std::map<std::filesystem::path, Row> chosen;
    std::vector<std::filesystem::path> order;
    auto add = [&](const std::filesystem::path& path, const Row& row) {
        if (chosen.emplace(path, row).second)
            order.push_back(path);
        else
            chosen[path] = row;
    };
    for (const Row& row : kRows) {
        const std::string file = row.file;
        if (row.make != nullptr) {
            add(file, row);
        } else if (const size_t star = file.find("/*"); star != std::string::npos) {
            const std::filesystem::path dir = corpus() / file.substr(0, star);
            const std::string ending = file.substr(star + 2);
            std::vector<std::filesystem::path> found;
            for (const auto& entry : std::filesystem::directory_iterator(dir))
                if (entry.path().string().ends_with(ending))
                    found.push_back(corpus() / std::filesystem::relative(entry.path(), corpus()));
            std::sort(found.begin(), found.end());
            for (const auto& path : found)
                add(path, row);
        } else {
            add(corpus() / file, row);
        }
    }
    std::vector<Item> result;
    for (const auto& path : order)
        result.push_back({path, chosen[path]});
    return result;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class Reference : public ::testing::TestWithParam<Item> {
protected:
    static void SetUpTestSuite() { s_scratch = new test::TempDir(); }
    static void TearDownTestSuite()
    {
        delete s_scratch;
        s_scratch = nullptr;
    }
    static test::TempDir* s_scratch;
};
test::TempDir* Reference::s_scratch = nullptr;

TEST_P(Reference, DecodesLikeImageMagick)
{
    const Item& item = GetParam();
    const std::filesystem::path& scratch = s_scratch->path();
    ASSERT_FALSE(scratch.empty());
    std::filesystem::path path = item.path;
    if (item.row.make != nullptr) {
        path = scratch / item.path;
        std::string command = replaceAll(item.row.make, "{convert}", test::convertTool());
        command = replaceAll(command, "{out}", "'" + path.string() + "'") + " 2>/dev/null";
        ASSERT_TRUE(test::run(command)) << command;
    }
    const std::vector<uint8_t> bytes = test::readFile(path);
    ASSERT_FALSE(bytes.empty()) << path;
    const Picture picture = decode(bytes);

    switch (item.row.expect) {
    case Expect::NoCrash:
        return;
    case Expect::Empty:
        EXPECT_TRUE(picture.empty());
        return;
    case Expect::Decodes:
        EXPECT_FALSE(picture.empty());
        return;
    case Expect::Match:
        break;
    }
    ASSERT_FALSE(picture.empty());
    const Frame reference = test::referenceDecode(path, item.row.frame, scratch, item.row.reference);
    ASSERT_FALSE(reference.pixels.empty()) << "ImageMagick could not read " << path;
    const Frame& ours = picture.frames.front();
    ASSERT_EQ(ours.width, reference.width);
    ASSERT_EQ(ours.height, reference.height);
    std::string first;
    EXPECT_EQ(test::countDifferences(ours.pixels, reference.pixels, item.row.tolerance, &first), 0u) << first;
}

INSTANTIATE_TEST_SUITE_P(Files, Reference, ::testing::ValuesIn(items()), [](const auto& info) {
    const std::string folder = info.param.row.make != nullptr
                                   ? std::string("made")
                                   : info.param.path.parent_path().filename().string();
    std::string name = folder + "_" + info.param.path.filename().string();
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

} // namespace
} // namespace picture
