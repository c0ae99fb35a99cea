// Loading a score picture through the open-file dialog into the real picture box.

#include "accompaniment/Transport.h"
#include "app/FormIds.h"
#include "platform/ui/PictureControl.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Ui.h"
#include "resources/Resources.h"
#include "score/ScoreLoading.h"
#include "tests/support/MainWindowFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace {

using Bytes = std::vector<uint8_t>;

class ScoreLoading : public testing_support::MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        loadWindow();
    }

    void TearDown() override
    {
        ui::setDialogDriver({});
        MainWindowFixture::TearDown();
    }

    std::string write(const std::string& name, const Bytes& bytes)
    {
        const std::filesystem::path path = m_tempDir / std::filesystem::path(std::u8string(name.begin(), name.end()));
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return m_tempDir.string() + "/" + name;
    }

    void scriptDialog(std::optional<std::string> chosen)
    {
        ui::setDialogDriver([this, chosen](const ui::DialogRequest& request) {
            m_requests.push_back(request);
            return chosen;
        });
    }

    static int framesShown()
    {
        return static_cast<ui::PictureControl&>(ui::Toolkit::instance().find(app::图片框1)).frameCount();
    }
    static std::string caption() { return ui::readText(app::按钮1, ui::button::Caption); }

    std::vector<ui::DialogRequest> m_requests;
};

Bytes storedScore()
{
    const auto score = resources::initialScore();
    return {score.begin(), score.end()};
}

TEST_F(ScoreLoading, TheBoxShowsWhatTheBytesHoldAndTheCaptionNamesTheFile)
{
    const Bytes gif = storedScore();
    Bytes cutGif(gif.begin(), gif.begin() + 20);
    const Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    const struct {
        std::string name;
        Bytes bytes;
        bool shown;
    } cases[] = {
        {"第一页.gif", gif, true},
        {"score.jpg", gif, true},                 // the content decides, not the name
        {"a\\b.gif", gif, true},                  // a backslash is part of a name here
        {"png named.jpg", png, false},
        {"cut.gif", cutGif, false},
        {"empty.bmp", {}, false},
        {"乐谱 ☃ 𝄞.bmp", Bytes{'B', 'M', 1, 2}, false},
    };
    for (const auto& c : cases) {
        scriptDialog(write(c.name, c.bytes));
        score::onLoadScoreClicked();
        EXPECT_EQ(framesShown() > 0, c.shown) << c.name;
        EXPECT_EQ(ui::readBytes(app::图片框1, ui::picBox::Picture), c.bytes) << c.name;
        EXPECT_EQ(caption(), c.name);
    }
    ASSERT_FALSE(m_requests.empty());
    EXPECT_EQ(m_requests[0].filter, "图片文件|*.bmp;*.jpg;*.gif");
}

TEST_F(ScoreLoading, ACancelKeepsPictureAndCaption)
{
    scriptDialog(write("第一页.gif", storedScore()));
    score::onLoadScoreClicked();
    scriptDialog(std::nullopt);
    score::onLoadScoreClicked();
    EXPECT_EQ(framesShown(), 1);
    EXPECT_EQ(caption(), "第一页.gif");
}

TEST_F(ScoreLoading, AFileThatCannotBeReadEmptiesTheBox)
{
    // Gone between the dialog and the read, or a folder: no bytes, and the name still shows.
    for (const std::string& path : {m_tempDir.string() + "/gone.gif", m_tempDir.string()}) {
        scriptDialog(path);
        score::onLoadScoreClicked();
        EXPECT_EQ(framesShown(), 0) << path;
        EXPECT_TRUE(ui::readBytes(app::图片框1, ui::picBox::Picture).empty());
    }
    EXPECT_EQ(caption(), m_tempDir.filename().string());
}

TEST_F(ScoreLoading, TheDialogOpensWithThePathLastConfirmedForEitherButton)
{
    const std::string score = write("第一页.gif", storedScore());
    const std::string music = write("song.mid", {});
    scriptDialog(score);
    score::onLoadScoreClicked();
    scriptDialog(music);
    accompaniment::onLoadAccompanimentClicked();
    scriptDialog(std::nullopt);
    score::onLoadScoreClicked();
    ASSERT_EQ(m_requests.size(), 3u);
    EXPECT_EQ(m_requests[0].fileName, "");
    EXPECT_EQ(m_requests[1].fileName, score);
    EXPECT_EQ(m_requests[1].filter, "音乐文件|*.mp3;*.wav;*.mid");
    EXPECT_EQ(m_requests[2].fileName, music);
    EXPECT_EQ(m_requests[2].filter, "图片文件|*.bmp;*.jpg;*.gif");
}

TEST_F(ScoreLoading, ReadingRefusesWhatIsNoOrdinaryFileOrTooLarge)
{
    const auto big = m_tempDir / "big.bmp";
    {
        std::ofstream out(big, std::ios::binary);
        out.seekp(std::streamoff(score::kMaxFileBytes));   // one byte past the limit, sparse
        out.put('x');
    }
    EXPECT_TRUE(score::readWholeFile(big.string()).empty()) << "refused before anything is allocated";
    EXPECT_TRUE(score::readWholeFile("").empty());
    EXPECT_TRUE(score::readWholeFile("/dev/zero").empty()) << "a device never ends";
    EXPECT_TRUE(score::readWholeFile(m_tempDir.string()).empty());
}

} // namespace
