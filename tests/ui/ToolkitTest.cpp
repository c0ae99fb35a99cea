// The toolkit's rules on a small window of its own: property clamps, events and their order, focus.

#include "platform/ui/MainWindow.h"
#include "platform/ui/TimerControl.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Ui.h"
#include "tests/support/MainWindowFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kWin = 7;
constexpr ui::ComponentRef kWindow{kWin, 1};
constexpr ui::ComponentRef kButton{kWin, 10};
constexpr ui::ComponentRef kLabel{kWin, 11};
constexpr ui::ComponentRef kList{kWin, 12};
constexpr ui::ComponentRef kCombo{kWin, 13};
constexpr ui::ComponentRef kSlider{kWin, 14};
constexpr ui::ComponentRef kTimer{kWin, 15};
constexpr ui::ComponentRef kDialog{kWin, 16};
constexpr ui::ComponentRef kPicture{kWin, 17};

QWidget* widgetOf(ui::ComponentRef ref) { return ui::Toolkit::instance().find(ref).widget(); }

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::startToolkit(); }
    void TearDown() override
    {
        ui::setDialogDriver(nullptr);
        ui::destroyAllWindows();
    }

    void load()
    {
        ui::WindowDesc w;
        w.windowId = kWin;
        w.componentId = kWindow.component;
        w.caption = "test";
        w.width = 300;
        w.height = 300;
        w.onCreated = [this] { windowShownWhileCreated = widgetOf(kWindow)->isVisible(); };
        w.onKeyDown = [this](int code, int keys) { events.push_back("down " + std::to_string(code) + " " + std::to_string(keys)); };
        w.onKeyUp = [this](int code, int) { events.push_back("up " + std::to_string(code)); };

        auto add = [&](ui::Kind kind, ui::ComponentRef ref, int left) {
            ui::ControlDesc c;
            c.kind = kind;
            c.id = ref.component;
            c.left = left;
            c.top = 10;
            c.width = 60;
            c.height = 30;
            w.controls.push_back(c);
            return &w.controls.back();
        };
        add(ui::Kind::Button, kButton, 0)->onClicked = [this] { events.push_back("clicked"); };
        ui::ControlDesc* label = add(ui::Kind::Label, kLabel, 70);
        label->tag = "T";
        label->caption = "x";
        label->label.border = ui::Border::Thin;
        label->label.background = ui::Colour{96, 96, 96};
        label->label.gradient = {ui::Colour{96, 96, 96}, std::nullopt, ui::Colour{0, 0, 0}};
        label->label.gradientBorderWidth = 8;
        add(ui::Kind::ListBox, kList, 140)->onSelected = [this] { events.push_back("list selected"); };
        add(ui::Kind::ComboBox, kCombo, 210)->onSelected = [this] { events.push_back("combo selected"); };
        ui::ControlDesc* slider = add(ui::Kind::SliderBar, kSlider, 0);
        slider->top = 50;
        slider->width = 160;
        slider->slider.position = 75;
        add(ui::Kind::Timer, kTimer, 0)->onTick = [this] { events.push_back("tick"); };
        add(ui::Kind::CommonDlg, kDialog, 0)->title = "Pick";
        add(ui::Kind::PicBox, kPicture, 0)->top = 100;
        ui::loadWindow(w);
        // Activation is asynchronous; the focus set at load arrives with it.
        ASSERT_TRUE(QTest::qWaitForWindowActive(widgetOf(kWindow)));
    }

    std::vector<std::string> events;
    bool windowShownWhileCreated = true;
};

struct PropertyCase {
    const char* what;
    ui::ComponentRef ref;
    int property;
    int32_t written;
    int32_t readBack;
};

TEST_F(ToolkitTest, WritesAreClampedAndReadBack)
{
    load();
    const PropertyCase cases[] = {
        {"left beyond the limit", kLabel, ui::Left, 40000, 32627},
        {"left below the limit", kLabel, ui::Left, -40000, -32627},
        {"negative width", kLabel, ui::Width, -5, 0},
        {"huge width", kLabel, ui::Width, 99999, 32627},
        {"gradient-border width below 5", kLabel, ui::label::GradientBorderWidth, 3, 5},
        {"gradient-border width kept", kLabel, ui::label::GradientBorderWidth, 48, 48},
        {"gradient mode above 8", kLabel, ui::label::GradientMode, 9, 8},
        {"gradient mode below 0", kLabel, ui::label::GradientMode, -1, 0},
        {"slider position above the maximum reads back", kSlider, ui::slider::Position, 150, 150},
        {"slider position above 32767", kSlider, ui::slider::Position, 65535, 32767},
        {"slider position below 0", kSlider, ui::slider::Position, -3, 0},
        {"timer period below 0", kTimer, ui::timer::Period, -5, 0},
        {"selection in an empty list", kList, ui::listBox::Selected, 0, -1},
        {"selection in an empty combo box", kCombo, ui::comboBox::Selected, 0, -1},
    };
    for (const PropertyCase& c : cases) {
        ui::writeInt(c.ref, c.property, c.written);
        EXPECT_EQ(ui::readInt(c.ref, c.property), c.readBack) << c.what;
    }
}

TEST_F(ToolkitTest, SliderThumbStaysWithinItsRange)
{
    load();
    auto* slider = static_cast<QSlider*>(widgetOf(kSlider));
    EXPECT_EQ(ui::readInt(kSlider, ui::slider::Maximum), 100);
    ui::writeInt(kSlider, ui::slider::Position, 150);
    EXPECT_EQ(slider->value(), 100);
    ui::writeInt(kSlider, ui::slider::Position, 46);
    EXPECT_EQ(slider->value(), 46);
    // The user's moves are stored.
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(ui::readInt(kSlider, ui::slider::Position), 51);
}

TEST_F(ToolkitTest, SelectionWritesClampAndFireNoEvent)
{
    load();
    for (const char* item : {"a", "b", "c"}) {
        ui::appendItem(kList, item);
        ui::appendItem(kCombo, item);
    }
    EXPECT_EQ(ui::readInt(kCombo, ui::comboBox::Selected), -1) << "adding items selects nothing";
    for (auto [ref, property] : {std::pair{kList, int{ui::listBox::Selected}}, std::pair{kCombo, int{ui::comboBox::Selected}}}) {
        ui::writeInt(ref, property, 1);
        EXPECT_EQ(ui::readInt(ref, property), 1);
        ui::writeInt(ref, property, 7);
        EXPECT_EQ(ui::readInt(ref, property), 2);
        ui::writeInt(ref, property, -9);
        EXPECT_EQ(ui::readInt(ref, property), -1);
    }
    EXPECT_TRUE(events.empty());

    // A selection made by the user does fire.
    static_cast<QListWidget*>(widgetOf(kList))->setCurrentRow(0);
    auto* combo = static_cast<QComboBox*>(widgetOf(kCombo));
    emit combo->activated(0);
    EXPECT_EQ(events, (std::vector<std::string>{"list selected", "combo selected"}));
}

TEST_F(ToolkitTest, TheSamePeriodWrittenTwiceStartsTheTimerOnce)
{
    load();
    auto& timer = static_cast<ui::TimerControl&>(ui::Toolkit::instance().find(kTimer));
    ui::writeInt(kTimer, ui::timer::Period, 998);
    ui::writeInt(kTimer, ui::timer::Period, 998);
    EXPECT_EQ(timer.starts(), 1);
    ui::writeInt(kTimer, ui::timer::Period, 0);
    ui::writeInt(kTimer, ui::timer::Period, 20);
    EXPECT_EQ(timer.starts(), 2);
    QTest::qWait(120);
    EXPECT_FALSE(events.empty()) << "a running timer ticks";
}

TEST_F(ToolkitTest, CreatedRunsWhileTheWindowIsHiddenThenItShowsWithTheFocus)
{
    load();
    EXPECT_FALSE(windowShownWhileCreated);
    EXPECT_TRUE(widgetOf(kWindow)->isVisible());
    EXPECT_TRUE(widgetOf(kWindow)->hasFocus());
}

TEST_F(ToolkitTest, KeyEventsReachTheWindowOnlyWhileItHoldsTheFocus)
{
    load();
    QWidget* window = widgetOf(kWindow);
    QTest::keyPress(window, Qt::Key_Z, Qt::ShiftModifier);
    QTest::keyRelease(window, Qt::Key_Z, Qt::ShiftModifier);
    // A release reaches the handler once no automatic repeat's press can follow it.
    const auto waitForEvents = [this](size_t count) {
        for (int i = 0; i < 1000 && events.size() < count; ++i)
            QTest::qWait(10);
    };
    waitForEvents(4);
    // Shift is a key of its own (0x10); the letter arrives as its upper-case code with Shift's bit.
    EXPECT_EQ(events, (std::vector<std::string>{"down 16 2", "down 90 2", "up 90", "up 16"}));

    events.clear();
    QTest::keyClick(window, Qt::Key_Tab);
    EXPECT_FALSE(window->hasFocus()) << "Tab moves the focus away from the window";
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, Qt::Key_Z);
    EXPECT_TRUE(events.empty());

    ui::setFocus(kWindow);
    QTest::keyClick(window, Qt::Key_Z);
    waitForEvents(2);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(ToolkitTest, EscapeClosesTheWindowFromAnyControl)
{
    load();
    QWidget* button = widgetOf(kButton);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Escape);
    EXPECT_FALSE(widgetOf(kWindow)->isVisible());
}

TEST_F(ToolkitTest, ACopyIsHiddenStackedUnderItsTemplateAndKeepsItsSettings)
{
    load();
    ui::writeInt(kLabel, ui::Visible, 1);
    ui::ComponentRef copy;
    ui::copyControl(kLabel, copy);
    ASSERT_FALSE(copy.isNull());
    EXPECT_NE(copy, kLabel);
    EXPECT_EQ(ui::readInt(copy, ui::Visible), 0);
    EXPECT_EQ(ui::readText(copy, ui::Tag), "T");
    EXPECT_EQ(ui::readText(copy, ui::label::Caption), "x");
    EXPECT_EQ(ui::readInt(copy, ui::label::GradientBorderWidth), 8);
    const QObjectList siblings = widgetOf(kLabel)->parentWidget()->children();
    EXPECT_EQ(siblings.indexOf(widgetOf(copy)) + 1, siblings.indexOf(widgetOf(kLabel)));
}

TEST_F(ToolkitTest, HeldGradientIsDrawnRowByRowInsideTheBorder)
{
    load();
    ui::writeInt(kLabel, ui::Visible, 1);
    ui::writeText(kLabel, ui::label::Caption, "");
    const auto flat = widgetOf(kLabel)->grab().toImage();
    EXPECT_EQ(flat.pixelColor(30, 15), QColor(96, 96, 96));
    EXPECT_EQ(flat.pixelColor(0, 15), QColor(0, 0, 0)) << "thin border";

    ui::writeInt(kLabel, ui::label::GradientMode, 1);
    const auto held = widgetOf(kLabel)->grab().toImage();
    // Inner height 28: stops 28 apart, 96 at the top row falling toward black.
    for (int y = 0; y < 28; ++y) {
        const int expected = 96 + static_cast<int>(-96.0 * y / 28);
        EXPECT_EQ(held.pixelColor(30, 1 + y), QColor(expected, expected, expected)) << "row " << y;
    }
}

TEST_F(ToolkitTest, DialogKeepsTheConfirmedFileNameAndCancelChangesNothing)
{
    load();
    std::vector<ui::DialogRequest> asked;
    std::optional<std::string> answer = "/music/a.mp3";
    ui::setDialogDriver([&](const ui::DialogRequest& r) { asked.push_back(r); return answer; });
    ui::writeText(kDialog, ui::dialog::Filter, "音乐文件|*.mp3;*.wav;*.mid");
    EXPECT_TRUE(ui::openFileDialog(kDialog));
    EXPECT_EQ(ui::readText(kDialog, ui::dialog::FileName), "/music/a.mp3");
    answer.reset();
    EXPECT_FALSE(ui::openFileDialog(kDialog));
    EXPECT_EQ(ui::readText(kDialog, ui::dialog::FileName), "/music/a.mp3");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "Pick");
    EXPECT_EQ(asked[0].filter, "音乐文件|*.mp3;*.wav;*.mid");
    EXPECT_EQ(asked[0].fileName, "");
    EXPECT_EQ(asked[1].fileName, "/music/a.mp3") << "the next dialog starts from the last confirmed path";
}

TEST_F(ToolkitTest, PictureBoxShowsOnlyWhatDecodes)
{
    load();
    const std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    ui::writeBytes(kPicture, ui::picBox::Picture, png);
    EXPECT_EQ(ui::readBytes(kPicture, ui::picBox::Picture), png) << "the bytes are kept as written";
    const auto shown = widgetOf(kPicture)->grab().toImage();
    EXPECT_EQ(shown.pixelColor(30, 15), QColor(240, 240, 240)) << "an empty box shows its background";
}

} // namespace
