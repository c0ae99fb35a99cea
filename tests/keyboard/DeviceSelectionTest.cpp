// The instrument list and the device combo box: how start-up fills them and what a user's pick sends.

#include "tests/keyboard/KeyboardFixture.h"

#include <gtest/gtest.h>

namespace keyboard_testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Event = midi::RecordedEvent;
using Kind = midi::RecordedEvent::Kind;

class DeviceSelection : public KeyboardFixture {};

TEST_F(DeviceSelection, StartUpFillsBothListsAndOpensTheFirstDevice)
{
    useDevices({"Built-in Synthesizer", "Port B", "Port C"});
    start();
    ASSERT_EQ(ui::itemCount(app::列表框1), 128);
    EXPECT_EQ(ui::itemText(app::列表框1, 0), "Acoustic Grand Piano");
    EXPECT_EQ(ui::itemText(app::列表框1, 25), "Acoustic Guitar (steel)");
    EXPECT_EQ(ui::itemText(app::列表框1, 127), "Gunshot");
    EXPECT_EQ(ui::readInt(app::列表框1, ui::listBox::Selected), 0);
    ASSERT_EQ(ui::itemCount(app::组合框1), 3);
    EXPECT_EQ(ui::itemText(app::组合框1, 2), "Port C");
    EXPECT_EQ(ui::readInt(app::组合框1, ui::comboBox::Selected), 0);
    // The instrument was chosen while no device was open: its Program Change went nowhere.
    EXPECT_EQ(m_outputs->journal().events(), (std::vector<Event>{{Kind::Opened, 0, {}}}));
}

TEST_F(DeviceSelection, InstrumentItemKSendsProgramK)
{
    start();
    const std::pair<int, Bytes> cases[] = {
        {25, {0xC0, 0x19}}, {26, {0xC0, 0x1A}}, {127, {0xC0, 0x7F}}, {0, {0xC0, 0x00}}};
    for (const auto& [item, bytes] : cases) {
        SCOPED_TRACE(item);
        m_outputs->journal().clear();
        pickInstrument(item);
        EXPECT_EQ(sent(), bytes);
        EXPECT_TRUE(waitUntil([] { return window()->hasFocus(); })) << "the next key press plays at once";
    }
}

TEST_F(DeviceSelection, SwitchingDevicesClosesFirstAndSendsNoProgram)
{
    start();
    pickInstrument(40);
    m_outputs->journal().clear();
    pickDevice(1);
    EXPECT_EQ(m_outputs->journal().events(), (std::vector<Event>{{Kind::Closed, 0, {}}, {Kind::Opened, 1, {}}}));
    EXPECT_TRUE(waitUntil([] { return window()->hasFocus(); }));
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(m_outputs->sentBytes(1), (Bytes{0x90, 0x31, 0x7F}));

    // Picking the open device again reopens it.
    m_outputs->journal().clear();
    pickDevice(1);
    EXPECT_EQ(m_outputs->journal().events(), (std::vector<Event>{{Kind::Closed, 1, {}}, {Kind::Opened, 1, {}}}));
}

TEST_F(DeviceSelection, DeviceThatCannotOpenLeavesTheKeysSilent)
{
    start();
    m_outputs->setBehaviour(1, midi::RecordingOutputs::Behaviour::RefusesOpen);
    pickDevice(1);
    EXPECT_EQ(m_outputs->journal().openPorts(), 0);
    EXPECT_EQ(ui::readInt(app::组合框1, ui::comboBox::Selected), 1) << "the combo box still shows the pick";
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(held(1), 1);
    EXPECT_TRUE(sent().empty());
}

TEST_F(DeviceSelection, DeviceThatRefusesMessagesIsSurvived)
{
    useDevices({"Refusing"});
    m_outputs->setBehaviour(0, midi::RecordingOutputs::Behaviour::RefusesSends);
    start();
    pickInstrument(3);
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(held(1), 1);
    EXPECT_EQ(m_outputs->journal().openPorts(), 1);
}

TEST_F(DeviceSelection, WithoutDevicesTheKeysStillMoveAndNothingIsSent)
{
    useDevices({});
    start();
    EXPECT_EQ(ui::itemCount(app::列表框1), 128);
    EXPECT_EQ(ui::itemCount(app::组合框1), 0);
    EXPECT_EQ(ui::readInt(app::组合框1, ui::comboBox::Selected), -1);
    pickInstrument(25);
    press(Qt::Key_Z, scan::Z);
    EXPECT_EQ(held(1), 1);
    release(Qt::Key_Z, scan::Z);
    EXPECT_EQ(held(1), 0);
    EXPECT_TRUE(m_outputs->journal().events().empty());
}

TEST_F(DeviceSelection, ClosingTheWindowClosesTheDevice)
{
    start();
    pickDevice(1);
    ui::destroyAllWindows();
    EXPECT_EQ(m_outputs->journal().openPorts(), 0);
    EXPECT_EQ(m_outputs->journal().events().back(), (Event{Kind::Closed, 1, {}}));
}

} // namespace
} // namespace keyboard_testing
