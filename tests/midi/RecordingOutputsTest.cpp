#include "platform/midi/testing/RecordingOutputs.h"
#include "platform/midi/testing/RecordingPort.h"

#include <gtest/gtest.h>

namespace {

using Kind = midi::RecordedEvent::Kind;
using Bytes = std::vector<std::uint8_t>;

TEST(RecordingOutputs, RecordsOpensSendsAndClosesPerDevice)
{
    midi::RecordingOutputs outputs({"Synth", "Port A"});
    ASSERT_EQ(outputs.count(), 2);
    EXPECT_EQ(outputs.name(1), "Port A");
    EXPECT_EQ(outputs.name(2), "");
    EXPECT_EQ(outputs.name(-1), "");
    EXPECT_EQ(outputs.open(2), nullptr);

    std::unique_ptr<midi::MidiPort> synth = outputs.open(0);
    ASSERT_NE(synth, nullptr);
    EXPECT_TRUE(synth->send(0x0019C0));
    EXPECT_TRUE(synth->send(0x7F3190));
    EXPECT_FALSE(synth->send(0x7F3110)); // no status byte
    synth.reset();
    std::unique_ptr<midi::MidiPort> portA = outputs.open(1);
    EXPECT_TRUE(portA->send(0x7F3090));

    EXPECT_EQ(outputs.sentBytes(0), (Bytes{0xC0, 0x19, 0x90, 0x31, 0x7F}));
    EXPECT_EQ(outputs.sentBytes(1), (Bytes{0x90, 0x30, 0x7F}));
    EXPECT_EQ(outputs.journal().openPorts(0), 0);
    EXPECT_EQ(outputs.journal().openPorts(1), 1);
    const std::vector<midi::RecordedEvent> expected = {
        {Kind::Opened, 0, {}},
        {Kind::Sent, 0, {0xC0, 0x19}},
        {Kind::Sent, 0, {0x90, 0x31, 0x7F}},
        {Kind::SendRefused, 0, {0x10, 0x31, 0x7F}},
        {Kind::Closed, 0, {}},
        {Kind::Opened, 1, {}},
        {Kind::Sent, 1, {0x90, 0x30, 0x7F}},
    };
    EXPECT_EQ(outputs.journal().events(), expected);
}

TEST(RecordingOutputs, SimulatesDevicesThatFail)
{
    midi::RecordingOutputs outputs({"Busy", "Broken"});
    outputs.setBehaviour(0, midi::RecordingOutputs::Behaviour::RefusesOpen);
    outputs.setBehaviour(1, midi::RecordingOutputs::Behaviour::RefusesSends);
    EXPECT_EQ(outputs.open(0), nullptr);
    std::unique_ptr<midi::MidiPort> broken = outputs.open(1);
    ASSERT_NE(broken, nullptr);
    EXPECT_FALSE(broken->send(0x7F3190));
    EXPECT_TRUE(outputs.sentBytes().empty());
    EXPECT_EQ(outputs.journal().events().front(), (midi::RecordedEvent{Kind::OpenRefused, 0, {}}));
}

TEST(RecordingPort, RecordsAloneOrAfterItsOutputsAreGone)
{
    midi::RecordingPort alone;
    EXPECT_TRUE(alone.send(0x7F3190));
    EXPECT_EQ(alone.sentBytes(), (Bytes{0x90, 0x31, 0x7F}));

    auto outputs = std::make_unique<midi::RecordingOutputs>();
    std::unique_ptr<midi::MidiPort> port = outputs->open(0);
    outputs.reset();
    EXPECT_TRUE(port->send(0x0019C0));
    EXPECT_EQ(static_cast<midi::RecordingPort&>(*port).sentBytes(), (Bytes{0xC0, 0x19}));
}

} // namespace
