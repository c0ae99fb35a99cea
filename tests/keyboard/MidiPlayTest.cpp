// The MIDI output component on its own: its bytes, its device states and its names.

#include "keyboard/MidiPlay.h"
#include "platform/midi/testing/RecordingOutputs.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;
using Event = midi::RecordedEvent;
using Kind = midi::RecordedEvent::Kind;

struct Component {
    Component()
    {
        auto list = std::make_unique<midi::RecordingOutputs>(std::vector<std::string>{"Synth", "Port"});
        outputs = list.get();
        play.attach(std::move(list));
    }
    keyboard::MidiPlay play;
    midi::RecordingOutputs* outputs;
};

TEST(MidiPlay, PacksProgramChangeAndNoteOnOnTheFirstChannel)
{
    Component c;
    ASSERT_TRUE(c.play.selectDevice(0));
    EXPECT_TRUE(c.play.setInstrument(26));
    EXPECT_TRUE(c.play.setInstrument(1));
    EXPECT_TRUE(c.play.setInstrument(128));
    EXPECT_TRUE(c.play.playNote(49));
    EXPECT_TRUE(c.play.playNote(48 + 0x100)) << "only the low 8 bits of the note reach the message";
    EXPECT_EQ(c.outputs->sentBytes(0), (Bytes{0xC0, 0x19, 0xC0, 0x00, 0xC0, 0x7F, 0x90, 0x31, 0x7F, 0x90, 0x30, 0x7F}));

    EXPECT_FALSE(c.play.setInstrument(0));
    EXPECT_FALSE(c.play.setInstrument(129));
    EXPECT_EQ(c.outputs->sentBytes(0).size(), 12u) << "an instrument out of range sends nothing";
}

TEST(MidiPlay, ClosedDropsMessagesButStillSucceeds)
{
    Component c;
    EXPECT_FALSE(c.play.isOpen());
    EXPECT_TRUE(c.play.playNote(60));
    EXPECT_TRUE(c.play.setInstrument(5));
    EXPECT_TRUE(c.outputs->journal().events().empty());
}

TEST(MidiPlay, SelectDeviceClosesBeforeOpeningAndIgnoresNumbersOutOfRange)
{
    Component c;
    ASSERT_TRUE(c.play.selectDevice(0));
    EXPECT_FALSE(c.play.selectDevice(2));
    EXPECT_FALSE(c.play.selectDevice(-1));
    EXPECT_EQ(c.play.openDevice(), 0) << "a number out of range leaves the open device open";
    ASSERT_TRUE(c.play.selectDevice(1));
    c.outputs->setBehaviour(0, midi::RecordingOutputs::Behaviour::RefusesOpen);
    EXPECT_FALSE(c.play.selectDevice(0));
    EXPECT_FALSE(c.play.isOpen());
    EXPECT_EQ(c.outputs->journal().events(), (std::vector<Event>{{Kind::Opened, 0, {}}, {Kind::Closed, 0, {}},
                                                                  {Kind::Opened, 1, {}}, {Kind::Closed, 1, {}},
                                                                  {Kind::OpenRefused, 0, {}}}));
}

TEST(MidiPlay, NamesOfDevicesAndInstruments)
{
    Component c;
    EXPECT_EQ(c.play.deviceCount(), 2);
    EXPECT_EQ(c.play.deviceName(1), "Port");
    EXPECT_EQ(c.play.deviceName(2), "");
    EXPECT_EQ(c.play.deviceName(-1), "");
    EXPECT_EQ(c.play.instrumentCount(), 128);
    EXPECT_EQ(c.play.instrumentName(1), "Acoustic Grand Piano");
    EXPECT_EQ(c.play.instrumentName(26), "Acoustic Guitar (steel)");
    EXPECT_EQ(c.play.instrumentName(88), "Lead 8 (bass + lead)");
    EXPECT_EQ(c.play.instrumentName(128), "Gunshot");
    EXPECT_EQ(c.play.instrumentName(0), "");
    EXPECT_EQ(c.play.instrumentName(129), "");

    keyboard::MidiPlay bare;
    EXPECT_EQ(bare.deviceCount(), 0);
    EXPECT_FALSE(bare.selectDevice(0));
}

} // namespace
