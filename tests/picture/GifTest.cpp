// Checks the GIF decoder against the expected frames of a public GIF test suite.

#include "platform/picture/GifDecoder.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace picture {
namespace {

using test::corpus;
using test::readFile;

const std::filesystem::path& suite()
{
    static const std::filesystem::path dir = corpus() / "gif/pygif-test-suite";
    return dir;
}

// One test of the suite: its [config] keys, and its frames' keys in order.
struct SuiteCase {
    std::map<std::string, std::string> config;
    std::vector<std::map<std::string, std::string>> frames;
};

std::string trim(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t\r");
    const size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

SuiteCase readConf(const std::string& name)
{
    std::ifstream in(suite() / (name + ".conf"));
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::string section, line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const size_t eq = line.find('=');
        if (eq != std::string::npos)
            sections[section][trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }
    SuiteCase result;
    result.config = sections["config"];
    std::stringstream list(result.config["frames"]);
    std::string frame;
    while (std::getline(list, frame, ','))
        if (!trim(frame).empty())
            result.frames.push_back(sections[trim(frame)]);
    return result;
}

enum class Expect {
    Suite,        // exactly the frames, delays and loop count the suite lists
    LastFrame,    // one still frame equal to the suite's last frame
    Nothing,      // an empty picture
    NoCrash,      // a malformed file for which the suite allows anything, "nothing shown" included
};

struct Case {
    const char* name;
    Expect expect;
};

// Every test of the suite. Files the suite marks as animated only by force (no delays, no loop block)
// show here as the still picture that their images compose; files the suite calls malformed and for
// which it lists no frames show nothing, or anything sane. max-codes starts its LZW codes at 12 bits,
// which giflib refuses, and the image-zero files end inside their zero-sized image (without the image
// data or the colour table that giflib reads even for an empty image): they show nothing.
const Case kCases[] = {
    {"depth1", Expect::Suite}, {"depth2", Expect::Suite}, {"depth3", Expect::Suite}, {"depth4", Expect::Suite},
    {"depth5", Expect::Suite}, {"depth6", Expect::Suite}, {"depth7", Expect::Suite}, {"depth8", Expect::Suite},
    {"four-colors", Expect::Suite}, {"local-color-table", Expect::Suite}, {"no-global-color-table", Expect::Suite},
    {"no-data", Expect::Suite}, {"zero-width", Expect::Nothing}, {"zero-height", Expect::Nothing},
    {"zero-size", Expect::Nothing}, {"image-zero-width", Expect::Nothing}, {"image-zero-height", Expect::Nothing},
    {"image-zero-size", Expect::Nothing}, {"invalid-background", Expect::Suite}, {"all-reds", Expect::Suite},
    {"all-greens", Expect::Suite}, {"all-blues", Expect::Suite}, {"interlace", Expect::Suite},
    {"image-inside-bg", Expect::Suite}, {"image-overlap-bg", Expect::Suite}, {"image-outside-bg", Expect::Suite},
    {"images-combine", Expect::Suite}, {"images-overlap", Expect::Suite}, {"high-color", Expect::Suite},
    {"missing-pixels", Expect::Suite}, {"extra-pixels", Expect::Suite}, {"extra-data", Expect::Suite},
    {"no-clear", Expect::Suite}, {"no-eoi", Expect::Suite}, {"no-clear-and-eoi", Expect::Suite},
    {"many-clears", Expect::Suite}, {"double-clears", Expect::Suite}, {"invalid-code", Expect::NoCrash},
    {"invalid-colors", Expect::NoCrash}, {"max-width", Expect::Suite}, {"max-height", Expect::Suite},
    {"max-size", Expect::Nothing}, {"4095-codes-clear", Expect::Suite}, {"4095-codes", Expect::Suite},
    {"255-codes", Expect::Suite}, {"large-codes", Expect::Suite}, {"max-codes", Expect::Nothing},
    {"overflow-codes", Expect::NoCrash}, {"overflow-codes-max", Expect::NoCrash}, {"transparent", Expect::Suite},
    {"invalid-transparent", Expect::Suite}, {"disabled-transparent", Expect::Suite},
    {"unset-transparent", Expect::Suite}, {"loop-infinite", Expect::Suite}, {"loop-once", Expect::Suite},
    {"loop-max", Expect::Suite}, {"loop-buffer", Expect::Suite}, {"loop-buffer_max", Expect::Suite},
    {"loop-animexts", Expect::Suite}, {"animation", Expect::Suite}, {"animation-speed", Expect::Suite},
    {"animation-no-delays", Expect::Suite}, {"animation-zero-delays", Expect::Suite},
    {"dispose-none", Expect::Suite}, {"dispose-keep", Expect::Suite}, {"dispose-restore-background", Expect::Suite},
    {"dispose-restore-previous", Expect::Suite}, {"animation-multi-image", Expect::Suite},
    {"animation-multi-image-explicit-zero-delay", Expect::Suite}, {"comment", Expect::Suite},
    {"large-comment", Expect::Suite}, {"nul-comment", Expect::Suite}, {"invalid-ascii-comment", Expect::Suite},
    {"invalid-utf8-comment", Expect::Suite}, {"plain-text", Expect::NoCrash}, {"xmp-data", Expect::Suite},
    {"xmp-data-empty", Expect::Suite}, {"icc-color-profile", Expect::Suite},
    {"icc-color-profile-empty", Expect::Suite}, {"unknown-extension", Expect::Suite},
    {"unknown-application-extension", Expect::Suite}, {"nul-application-extension", Expect::Suite},
    {"gif87a", Expect::Suite}, {"gif87a-animation", Expect::LastFrame},
};

// The suite's loop count is the file's repetition count ("infinite" for 0, "0" without a loop block);
// ours is the number of times the animation plays.
int expectedPlays(const std::string& suiteLoopCount)
{
    if (suiteLoopCount == "infinite")
        return 0;
    return std::stoi(suiteLoopCount) + 1;
}

class GifSuite : public ::testing::TestWithParam<Case> {};

TEST_P(GifSuite, DecodesAsTheSuiteExpects)
{
    const Case& c = GetParam();
    const SuiteCase suiteCase = readConf(c.name);
    const std::vector<uint8_t> bytes = readFile(suite() / suiteCase.config.at("input"));
    ASSERT_FALSE(bytes.empty());
    const Picture picture = decodeGif(bytes);

    switch (c.expect) {
    case Expect::NoCrash:
        return;
    case Expect::Nothing:
        EXPECT_TRUE(picture.empty());
        return;
    case Expect::LastFrame:
    case Expect::Suite:
        break;
    }
    ASSERT_FALSE(suiteCase.frames.empty());
    const bool lastOnly = c.expect == Expect::LastFrame;
    const size_t expectedFrames = lastOnly ? 1 : suiteCase.frames.size();
    ASSERT_EQ(picture.frames.size(), expectedFrames);
    if (!lastOnly) {
        EXPECT_EQ(picture.loopCount, expectedPlays(suiteCase.config.at("loop-count")));
    }

    const int width = std::stoi(suiteCase.config.at("width"));
    const int height = std::stoi(suiteCase.config.at("height"));
    for (size_t i = 0; i < expectedFrames; ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const auto& expected = suiteCase.frames[lastOnly ? suiteCase.frames.size() - 1 : i];
        const Frame& frame = picture.frames[i];
        EXPECT_EQ(frame.width, width);
        EXPECT_EQ(frame.height, height);
        const std::vector<uint32_t> pixels = test::fromRgba(readFile(suite() / expected.at("pixels")));
        std::string first;
        EXPECT_EQ(test::countDifferences(frame.pixels, pixels, 0, &first), 0u) << first;

        int delayMs = 0;
        if (expectedFrames > 1) {
            const auto delay = expected.find("delay");
            delayMs = delay == expected.end() ? 100 : std::stoi(delay->second) * 10;
        }
        EXPECT_EQ(frame.delayMs, delayMs);
    }
}

INSTANTIATE_TEST_SUITE_P(Pygif, GifSuite, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name;
});

TEST(GifSuiteList, CoversEveryTestOfTheSuite)
{
    std::ifstream in(suite() / "TESTS");
    std::string name;
    size_t listed = 0;
    while (std::getline(in, name)) {
        name = trim(name);
        if (name.empty())
            continue;
        ++listed;
        const bool covered = std::any_of(std::begin(kCases), std::end(kCases),
                                         [&](const Case& c) { return name == c.name; });
        EXPECT_TRUE(covered) << name;
    }
    EXPECT_EQ(listed, std::size(kCases));
}

TEST(GifAnimation, ACutFileKeepsTheFramesThatWereComplete)
{
    const std::vector<uint8_t> whole = readFile(suite() / "animation.gif");
    struct Case {
        size_t cut; // bytes taken off the end
        size_t frames;
    };
    // The file ends with its last image's data (three bytes), the block terminator and the trailer; an
    // image counts as complete once its terminator has been read.
    const Case cases[] = {{0, 4}, {1, 4}, {2, 3}, {3, 3}, {whole.size() - 40, 0}};
    for (const Case& c : cases) {
        const std::vector<uint8_t> part(whole.begin(), whole.end() - static_cast<std::ptrdiff_t>(c.cut));
        const Picture picture = decodeGif(part);
        ASSERT_EQ(picture.frames.size(), c.frames) << "without the last " << c.cut << " bytes";
        for (const Frame& frame : picture.frames)
            EXPECT_EQ(frame.delayMs, c.frames > 1 ? 500 : 0);
    }
}

TEST(GifAnimation, KeepsTheFramesThatFitThePixelBudget)
{
    const std::vector<uint8_t> bytes = readFile(suite() / "animation.gif"); // four frames of 2 × 2
    EXPECT_EQ(decodeGif(bytes, 16).frames.size(), 4u);
    EXPECT_EQ(decodeGif(bytes, 15).frames.size(), 3u);
    EXPECT_EQ(decodeGif(bytes, 8).frames.size(), 2u);
    EXPECT_TRUE(decodeGif(bytes, 3).empty());
}

TEST(GifAnimation, VeryShortDelaysShowFor100Milliseconds)
{
    std::vector<uint8_t> bytes = readFile(suite() / "animation-speed.gif");
    const uint8_t gce[] = {0x21, 0xF9, 0x04};
    std::vector<size_t> delays; // offsets of each graphic control block's delay
    for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), std::begin(gce), std::end(gce))) != bytes.end(); ++at)
        delays.push_back(static_cast<size_t>(at - bytes.begin()) + 4);
    ASSERT_EQ(delays.size(), 4u);
    const int centiseconds[] = {1, 2, 11, 0};
    const int expectedMs[] = {100, 20, 110, 100};
    for (size_t i = 0; i < 4; ++i) {
        bytes[delays[i]] = static_cast<uint8_t>(centiseconds[i]);
        bytes[delays[i] + 1] = 0;
    }
    // The last image ends the last frame whatever its delay.
    const Picture picture = decodeGif(bytes);
    ASSERT_EQ(picture.frames.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(picture.frames[i].delayMs, expectedMs[i]) << "frame " << i;
}

} // namespace
} // namespace picture
