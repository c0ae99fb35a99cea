#include "platform/media/testing/RecordingMediaService.h"

#include <gtest/gtest.h>

using media::RecordingMediaService;
using Kind = RecordingMediaService::Call::Kind;

TEST(RecordingMediaServiceTest, RecordsOpensAndCommandsInOrder)
{
    RecordingMediaService service;
    std::string reply = "stale";
    EXPECT_EQ(service.sendString("close abc", reply), 0u);
    EXPECT_EQ(reply, "");
    service.setOpenResult(7);
    EXPECT_EQ(service.open("Sequencer", "/tmp/a.mid", "abc"), 7u);
    EXPECT_EQ(service.sendString("play abc from 0", reply), 0u);

    const auto& calls = service.calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].kind, Kind::Command);
    EXPECT_EQ(calls[1].kind, Kind::Open);
    EXPECT_EQ(calls[1].deviceType, "Sequencer");
    EXPECT_EQ(calls[1].element, "/tmp/a.mid");
    EXPECT_EQ(calls[1].alias, "abc");
    EXPECT_EQ(service.commands(), (std::vector<std::string>{"close abc", "play abc from 0"}));
}

TEST(RecordingMediaServiceTest, AnswersFromItsScript)
{
    RecordingMediaService service;
    service.setDefaultResult(263);
    service.script("status %s length", "240000");
    service.script("status %s position", "-", 5);
    service.script("play %s from %d", "", 0);
    service.script("status abc length", "1");

    std::string reply;
    EXPECT_EQ(service.sendString("status xyz length", reply), 0u);
    EXPECT_EQ(reply, "240000");
    EXPECT_EQ(service.sendString("status abc length", reply), 0u); // the later rule wins
    EXPECT_EQ(reply, "1");
    EXPECT_EQ(service.sendString("status xyz position", reply), 5u);
    EXPECT_EQ(service.sendString("play xyz from 120000", reply), 0u);
    EXPECT_EQ(service.sendString("play xyz from start", reply), 263u); // %d takes integers only
    EXPECT_EQ(service.sendString("pause xyz", reply), 263u);
}
