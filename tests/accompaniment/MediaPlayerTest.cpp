// The media player component against a recording media service: the exact commands, in order.

#include "accompaniment/MediaPlayer.h"
#include "platform/media/testing/RecordingMediaService.h"

#include <gtest/gtest.h>

#include <limits>
#include <regex>

namespace {

using accompaniment::MediaPlayer;
using media::RecordingMediaService;
using Strings = std::vector<std::string>;

constexpr uint32_t kFailure = 3;

class MediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto service = std::make_unique<RecordingMediaService>();
        m_service = service.get();
        m_player.attach(std::move(service));
        m_alias = m_player.alias();
    }

    // `pattern` with every "%s" replaced by the player's alias.
    std::string cmd(std::string pattern) const
    {
        for (size_t at; (at = pattern.find("%s")) != std::string::npos;)
            pattern.replace(at, 2, m_alias);
        return pattern;
    }

    MediaPlayer m_player;
    RecordingMediaService* m_service = nullptr;
    std::string m_alias;
};

TEST(MediaPlayerAlias, IsTheThirtyTwoLowerCaseHexDigitsOfARandomGuid)
{
    const MediaPlayer a, b;
    EXPECT_TRUE(std::regex_match(a.alias(), std::regex("[0-9a-f]{12}4[0-9a-f]{3}[89ab][0-9a-f]{15}"))) << a.alias();
    EXPECT_NE(a.alias(), b.alias()) << "each player has its own device";
}

TEST_F(MediaPlayerTest, OpenClosesFirstThenOpensByTheExtensionsDeviceType)
{
    // No byte of a multi-byte UTF-8 character is below 0x80, so neither "." nor "/" (nor the 0x5C that
    // a double-byte GBK character may end in) can hide inside a Chinese name: the names below are
    // searched byte by byte and still cut at the right place.
    struct Case {
        std::string path, extension, deviceType;
    };
    const Case cases[] = {
        {"C:\\Music\\SONG.MP3", "mp3", "MPEGvideo"},      // compared in lower case
        {"/music/tune.midi", "mid", "Sequencer"},         // only the first three bytes count
        {"/music/clip.mpeg", "mpe", "MPEGvideo"},         // in no row
        {"/home/user/music", "/ho", "MPEGvideo"},         // no "." at all: the first three bytes
        {"/tmp/苍海一声笑.mid", "mid", "Sequencer"},
        {"/乐谱.目录/表演.Wav", "wav", "waveaudio"},
        {"/音乐/歌.乐曲", "乐", "MPEGvideo"},              // a character is taken whole or not at all
        {"/a/b.x乐", "x", "MPEGvideo"},
        {"/a/b.RA", "ra", "MPEGvideo"},
        {"/a/b.rmi", "rmi", "Sequencer"},
        {"/a/b.idi", "idi", "Sequencer"},
        {"/a/b.avi", "avi", "avivideo"},
        {"/a/b.cda", "cda", "cdaudio"},
        {"/a/b.wma", "wma", "MPEGvideo2"},
        {"/a/b.p2v", "p2v", "MPEGvideo2"},
        {"/a/b.", "", "MPEGvideo"},
        {"", "", "MPEGvideo"},
    };
    for (const Case& c : cases) {
        m_service->clearCalls();
        EXPECT_TRUE(m_player.openMedia(c.path)) << c.path;
        EXPECT_EQ(m_player.extension(), c.extension) << c.path;
        const auto& calls = m_service->calls();
        ASSERT_EQ(calls.size(), 2u);
        EXPECT_EQ(calls[0].command, cmd("close %s"));
        EXPECT_EQ(calls[1].kind, RecordingMediaService::Call::Kind::Open);
        EXPECT_EQ(calls[1].deviceType, c.deviceType) << c.path;
        EXPECT_EQ(calls[1].element, c.path);
        EXPECT_EQ(calls[1].alias, m_alias);
    }
}

TEST_F(MediaPlayerTest, OpenReportsTheServicesAnswer)
{
    m_service->setOpenResult(kFailure);
    EXPECT_FALSE(m_player.openMedia("/a/missing.mp3"));
    EXPECT_EQ(m_player.path(), "/a/missing.mp3");
}

TEST_F(MediaPlayerTest, LengthAndPositionSendTheirCommandsAndReadTheReplies)
{
    m_service->script("status %s length", " +240000ms");
    m_service->script("status %s position", "60000");
    EXPECT_EQ(m_player.mediaLength(), 240000);
    EXPECT_EQ(m_player.mediaPosition(), 60000);
    EXPECT_EQ(m_service->commands(),
              (Strings{cmd("set %s time format milliseconds"), cmd("status %s length"), cmd("status %s position")}));

    m_service->script("status %s length", "240000", kFailure);
    m_service->script("status %s position", "60000", kFailure);
    EXPECT_EQ(m_player.mediaLength(), 0);
    EXPECT_EQ(m_player.mediaPosition(), -1);

    // A failing time-format switch does not keep the length from being asked.
    m_service->clearCalls();
    m_service->script("set %s time format milliseconds", "", kFailure);
    m_service->script("status %s length", "1234");
    EXPECT_EQ(m_player.mediaLength(), 1234);
    EXPECT_EQ(m_service->commands().size(), 2u);
}

TEST(MediaPlayerReply, IsReadAsADecimalIntegerWithinItsBuffer)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    struct Case {
        std::string reply;
        size_t buffer;
        int32_t value;
    };
    const Case cases[] = {
        {"240000", 50, 240000}, {"  \t-12ab", 50, -12}, {"+7", 50, 7},       {"abc", 50, 0},
        {"", 50, 0},            {"- 5", 50, 0},         {"12 34", 50, 12},   {"99999999999", 50, kMax},
        {"-99999999999", 50, kMin}, {"2147483647", 50, kMax}, {"-2147483648", 50, kMin},
        {std::string(49, ' ') + "5", 50, 0},            // the digit lies beyond what the buffer holds
        {std::string(48, ' ') + "5", 50, 5},
        {std::string(254, '0') + "9", 255, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MediaPlayer::readReplyNumber(c.reply, c.buffer), c.value) << '"' << c.reply << '"';
}

TEST_F(MediaPlayerTest, PauseFlagDecidesBetweenPauseAndResume)
{
    m_player.playFrom(0);
    m_player.togglePause();
    m_player.togglePause();
    m_player.togglePause();
    m_player.stopMedia();            // leaves the flag as it is
    m_player.togglePause();
    m_player.playFrom(1500);         // clears it
    m_player.togglePause();
    EXPECT_EQ(m_service->commands(),
              (Strings{cmd("play %s from 0"), cmd("pause %s"), cmd("resume %s"), cmd("pause %s"), cmd("stop %s"),
                       cmd("seek %s to start"), cmd("resume %s"), cmd("play %s from 1500"), cmd("pause %s")}));

    // The flag turns over whatever the service answers.
    m_service->setDefaultResult(kFailure);
    EXPECT_FALSE(m_player.togglePause());
    EXPECT_FALSE(m_player.paused());
}

TEST_F(MediaPlayerTest, StopSeeksToTheStartOnlyAfterASuccessfulStop)
{
    EXPECT_TRUE(m_player.stopMedia());
    m_service->script("stop %s", "", kFailure);
    EXPECT_FALSE(m_player.stopMedia());
    m_service->script("stop %s", "");
    m_service->script("seek %s to start", "", kFailure);
    EXPECT_TRUE(m_player.stopMedia()) << "the result is the stop's";
    EXPECT_EQ(m_service->commands(),
              (Strings{cmd("stop %s"), cmd("seek %s to start"), cmd("stop %s"), cmd("stop %s"), cmd("seek %s to start")}));
}

TEST_F(MediaPlayerTest, VolumeGoesOutOnlyWithinZeroToAThousand)
{
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t left, right;
        Strings commands;
        bool result;
    };
    const Case cases[] = {
        {46, 46, {cmd("setaudio %s left volume to 460"), cmd("setaudio %s right volume to 460")}, true},
        {0, 100, {cmd("setaudio %s left volume to 0"), cmd("setaudio %s right volume to 1000")}, true},
        {101, 101, {}, false},
        {125, 50, {cmd("setaudio %s right volume to 500")}, false},   // the left one was not sent
        {50, -1, {cmd("setaudio %s left volume to 500")}, true},
        {kMax, kMax, {}, false},                                       // ten times it does not wrap
    };
    for (const Case& c : cases) {
        m_service->clearCalls();
        EXPECT_EQ(m_player.setVolume(c.left, c.right), c.result) << c.left << ", " << c.right;
        EXPECT_EQ(m_service->commands(), c.commands) << c.left << ", " << c.right;
    }
    m_service->script("setaudio %s right volume to %d", "", kFailure);
    EXPECT_FALSE(m_player.setVolume(10, 10)) << "every command sent must succeed";
}

TEST_F(MediaPlayerTest, CloseNamesTheDevice)
{
    m_player.close();
    EXPECT_EQ(m_service->commands(), Strings{cmd("close %s")});
}

TEST(MediaPlayerWithoutService, EveryOperationFails)
{
    MediaPlayer player;
    EXPECT_FALSE(player.openMedia("/a/b.mid"));
    EXPECT_EQ(player.mediaLength(), 0);
    EXPECT_EQ(player.mediaPosition(), -1);
    EXPECT_FALSE(player.playFrom(0));
    EXPECT_FALSE(player.stopMedia());
    EXPECT_FALSE(player.setVolume(50, 50));
}

} // namespace
