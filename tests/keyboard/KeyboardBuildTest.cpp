// The keys and numbered-notation labels as start-up builds them, and how their captions look.

#include "keyboard/KeyCaption.h"
#include "tests/keyboard/KeyboardFixture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace keyboard_testing {
namespace {

using keyboard::degreeLabels;
using keyboard::keyWidgets;

struct KeyRow {
    int slot;
    const char* tag;
    const char* character;
    int note;
    int left;
};

// Slots 1-21 white, 22-36 black.
constexpr KeyRow kKeys[] = {
    {1, "Z", "Ｚ", 49, 176}, {2, "X", "Ｘ", 51, 200}, {3, "C", "Ｃ", 53, 224}, {4, "V", "Ｖ", 54, 248},
    {5, "B", "Ｂ", 56, 272}, {6, "N", "Ｎ", 58, 296}, {7, "M", "Ｍ", 59, 320}, {8, "S", "Ｓ", 61, 344},
    {9, "D", "Ｄ", 63, 368}, {10, "F", "Ｆ", 65, 392}, {11, "G", "Ｇ", 66, 416}, {12, "H", "Ｈ", 68, 440},
    {13, "J", "Ｊ", 70, 464}, {14, "K", "Ｋ", 71, 488}, {15, "E", "Ｅ", 73, 512}, {16, "R", "Ｒ", 75, 536},
    {17, "T", "Ｔ", 77, 560}, {18, "Y", "Ｙ", 78, 584}, {19, "U", "Ｕ", 80, 608}, {20, "I", "Ｉ", 82, 632},
    {21, "O", "Ｏ", 83, 656},
    {22, "A", "Ａ", 48, 190}, {23, "Q", "Ｑ", 50, 214}, {24, "W", "Ｗ", 52, 238}, {25, "1", "１", 55, 286},
    {26, "2", "２", 57, 310}, {27, "3", "３", 60, 358}, {28, "4", "４", 62, 382}, {29, "5", "５", 64, 406},
    {30, "6", "６", 67, 454}, {31, "7", "７", 69, 478}, {32, "8", "８", 72, 526}, {33, "9", "９", 74, 550},
    {34, "0", "０", 76, 574}, {35, "P", "Ｐ", 79, 622}, {36, "L", "Ｌ", 81, 646},
};

const std::string kDot = "・";
const char* const kDigits[] = {"１", "２", "３", "４", "５", "６", "７"};

class KeyboardBuild : public KeyboardFixture {};

TEST_F(KeyboardBuild, KeysCarryTheirTagCaptionNoteAndPlace)
{
    start();
    std::set<int> notes;
    for (const KeyRow& row : kKeys) {
        SCOPED_TRACE(row.tag);
        const ui::ComponentRef key = keyWidgets[row.slot];
        const bool white = row.slot <= 21;
        EXPECT_EQ(ui::readText(key, ui::Tag), row.tag);
        EXPECT_EQ(ui::readText(key, ui::label::Caption),
                  std::string(white ? "\r\n\r\n\r\n\r\n\r\n\r\n" : "\r\n\r\n") + row.character);
        EXPECT_EQ(ui::readInt(key, ui::label::GradientBorderWidth), row.note);
        EXPECT_EQ(ui::readInt(key, ui::Left), row.left);
        EXPECT_EQ(ui::readInt(key, ui::Top), 528);
        EXPECT_EQ(ui::readInt(key, ui::Width), white ? 24 : 20);
        EXPECT_EQ(ui::readInt(key, ui::Height), white ? 96 : 48);
        EXPECT_EQ(ui::readInt(key, ui::Visible), 1);
        EXPECT_EQ(ui::readInt(key, ui::label::GradientMode), 0);
        notes.insert(row.note);
    }
    EXPECT_EQ(notes.size(), 36u);
    EXPECT_EQ(*notes.begin(), 48);
    EXPECT_EQ(*notes.rbegin(), 83);
    for (ui::ComponentRef templ : {app::标签1, app::标签2, app::标签3})
        EXPECT_EQ(ui::readInt(templ, ui::Visible), 0);
}

TEST_F(KeyboardBuild, NotationLabelsStandUnderTheWhiteKeys)
{
    start();
    for (int k = 1; k <= 21; ++k) {
        SCOPED_TRACE(k);
        const ui::ComponentRef label = degreeLabels[k];
        const std::string digit = kDigits[(k - 1) % 7];
        const std::string caption = k <= 7    ? "\r\n" + digit + "\r\n" + kDot
                                    : k <= 14 ? "\r\n" + digit + "\r\n\r\n"
                                              : kDot + digit + "\r\n\r\n";
        EXPECT_EQ(ui::readText(label, ui::label::Caption), caption);
        EXPECT_EQ(ui::readInt(label, ui::Left), 154 + 24 * k);
        EXPECT_EQ(ui::readInt(label, ui::Top), 624);
        EXPECT_EQ(ui::readInt(label, ui::Visible), 1);
    }
}

// Pixel rows of a grabbed label that hold text: rows with a pixel unlike the background, inside the border.
std::vector<int> inkRows(const QImage& image, QColor background, int border)
{
    std::vector<int> rows;
    for (int y = border; y < image.height() - border; ++y)
        for (int x = border; x < image.width() - border; ++x)
            if (image.pixelColor(x, y) != background) {
                rows.push_back(y - border);
                break;
            }
    return rows;
}

// Runs of consecutive rows: one per drawn text line.
std::vector<std::pair<int, int>> runsOf(const std::vector<int>& rows)
{
    std::vector<std::pair<int, int>> runs;
    for (int y : rows) {
        if (!runs.empty() && runs.back().second + 1 == y)
            runs.back().second = y;
        else
            runs.emplace_back(y, y);
    }
    return runs;
}

TEST_F(KeyboardBuild, KeyCharactersStandInTheLowerPartOfTheirKeys)
{
    start();
    // Lines advance by the font's 12 pixels: a white key's character starts on its seventh line, a black
    // key's on its third (a tail like Ｑ's may reach below).
    for (const KeyRow& row : kKeys) {
        SCOPED_TRACE(row.tag);
        const bool white = row.slot <= 21;
        const QImage image = widgetOf(keyWidgets[row.slot])->grab().toImage();
        const auto runs = runsOf(inkRows(image, white ? QColor(255, 255, 255) : QColor(96, 96, 96), 1));
        ASSERT_EQ(runs.size(), 1u);
        const int lineTop = white ? 72 : 24;
        EXPECT_GE(runs[0].first, lineTop);
        EXPECT_LT(runs[0].first, lineTop + 12);
    }
}

TEST_F(KeyboardBuild, OctaveDotsStandBelowNoneOrAboveTheDigit)
{
    start();
    for (int k = 1; k <= 21; ++k) {
        SCOPED_TRACE(k);
        const QImage image = widgetOf(degreeLabels[k])->grab().toImage();
        const auto runs = runsOf(inkRows(image, QColor(0, 136, 255), 0));
        // The digit is on the second line (rows 12-23); the dot is on its own line below or above.
        const size_t digitRun = k >= 15 ? 1 : 0;
        ASSERT_EQ(runs.size(), k >= 8 && k <= 14 ? 1u : 2u);
        EXPECT_GE(runs[digitRun].first, 12);
        EXPECT_LT(runs[digitRun].second, 24);
        if (k <= 7) {
            EXPECT_GE(runs[1].first, 24) << "dot below";
        }
        if (k >= 15) {
            EXPECT_LT(runs[0].second, 12) << "dot above";
        }
    }
}

TEST(KeyCaption, FullWidthCoversExclamationToRightBrace)
{
    EXPECT_EQ(keyboard::fullWidth("!1Z}"), "！１Ｚ｝");
    EXPECT_EQ(keyboard::fullWidth(" ~\r\n"), " ~\r\n") << "outside ! to } nothing changes";
    EXPECT_EQ(keyboard::fullWidth(""), "");
}

} // namespace
} // namespace keyboard_testing
