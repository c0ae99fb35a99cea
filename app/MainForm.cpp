#include "app/MainForm.h"

#include "accompaniment/Progress.h"
#include "accompaniment/Transport.h"
#include "accompaniment/VolumeSlider.h"
#include "app/FormIds.h"
#include "app/StartUp.h"
#include "keyboard/DeviceSelection.h"
#include "keyboard/KeyPlay.h"
#include "resources/Resources.h"
#include "score/ScoreLoading.h"

namespace app {
namespace {

using ui::Colour;
using ui::ControlDesc;
using ui::Kind;

constexpr Colour kSkyBlue{0, 136, 255};

std::vector<uint8_t> bytesOf(std::span<const uint8_t> data) { return {data.begin(), data.end()}; }

ControlDesc control(const char* name, Kind kind, ui::ComponentRef ref, int left, int top, int width, int height)
{
    ControlDesc c;
    c.name = name;
    c.kind = kind;
    c.id = ref.component;
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
    return c;
}

ControlDesc invisible(const char* name, Kind kind, ui::ComponentRef ref)
{
    ControlDesc c = control(name, kind, ref, 0, 0, 0, 0);
    c.visible = false;
    return c;
}

ControlDesc transportButton(const char* name, ui::ComponentRef ref, int left, const char* caption, ui::ClickHandler onClicked)
{
    ControlDesc c = control(name, Kind::Button, ref, left, 624, 32, 32);
    c.caption = caption;
    c.font = ui::FontFace::Transport;
    c.onClicked = std::move(onClicked);
    return c;
}

ControlDesc keyTemplate(const char* name, ui::ComponentRef ref, int left, int top, int width, int height, const char* tag)
{
    ControlDesc c = control(name, Kind::Label, ref, left, top, width, height);
    c.visible = false;
    c.caption = "标签";
    c.tag = tag;
    c.label.gradientBorderWidth = 8;
    c.label.hAlign = ui::HAlign::Centre;
    c.label.vAlign = ui::VAlign::Centre;
    c.label.wordWrap = true;
    return c;
}

} // namespace

ui::WindowDesc mainForm()
{
    ui::WindowDesc w;
    w.windowId = 主窗口.window;
    w.componentId = 主窗口.component;
    w.caption = "电脑钢琴";
    w.width = 696;
    w.height = 696;
    w.background = kSkyBlue;
    w.icon = bytesOf(resources::windowIcon());
    w.titleData = bytesOf(resources::titleData());
    w.onCreated = onMainWindowCreated;
    w.onKeyDown = keyboard::onKeyDown;
    w.onKeyUp = keyboard::onKeyUp;
    w.onFocusLost = keyboard::onKeyFocusLost;
    w.onDestroyed = onMainWindowDestroyed;

    auto& c = w.controls;
    c.push_back(transportButton("按钮5", 按钮5, 88, "■", accompaniment::onStopClicked));
    c.push_back(transportButton("按钮4", 按钮4, 48, "〓", accompaniment::onPauseClicked));
    c.push_back(transportButton("按钮3", 按钮3, 8, "▲", accompaniment::onPlayClicked));

    ControlDesc slider = control("滑块条1", Kind::SliderBar, 滑块条1, 8, 584, 160, 32);
    slider.slider = {.minimum = 0, .maximum = 100, .position = 75, .pageSize = 5, .lineSize = 1, .tickFrequency = 5};
    slider.onLeftReleased = accompaniment::onVolumeSliderReleased;
    c.push_back(slider);

    ControlDesc fill = control("标签4", Kind::Label, 标签4, 0, 0, 80, 16);
    fill.parentId = 外形框1.component;
    fill.label.textColour = {0, 0, 0};
    fill.label.gradientMode = 1;
    fill.label.gradient = {Colour{255, 0, 0}, Colour{0, 255, 0}, Colour{0, 0, 255}};
    fill.label.gradientBorderWidth = 1024;
    fill.label.hAlign = ui::HAlign::Left;
    fill.label.vAlign = ui::VAlign::Centre;
    fill.onLeftReleased = accompaniment::onProgressFillReleased;
    c.push_back(fill);

    ControlDesc frame = control("外形框1", Kind::ShapeBox, 外形框1, 8, 560, 160, 16);
    frame.shape = {.background = kSkyBlue, .outline = {0, 0, 0}, .outlineWidth = 2, .fill = {0, 0, 128}};
    frame.onLeftReleased = accompaniment::onProgressFrameReleased;
    c.push_back(frame);

    ControlDesc timer = invisible("时钟1", Kind::Timer, 时钟1);
    timer.onTick = accompaniment::onProgressTick;
    c.push_back(timer);
    c.push_back(invisible("录音1", Kind::WaveRecord, 录音1));
    c.push_back(invisible("媒体播放1", Kind::MediaPlay, 媒体播放1Ref));

    ControlDesc loadMusic = control("按钮2", Kind::Button, 按钮2, 8, 528, 160, 24);
    loadMusic.caption = "载入伴奏";
    loadMusic.onClicked = accompaniment::onLoadAccompanimentClicked;
    c.push_back(loadMusic);

    c.push_back(invisible("系统音量1", Kind::SysVolume, 系统音量1));

    ControlDesc dialog = invisible("通用对话框1", Kind::CommonDlg, 通用对话框1);
    dialog.title = "墨弦生的36键MIDI电子琴";
    c.push_back(dialog);

    ControlDesc loadScore = control("按钮1", Kind::Button, 按钮1, 8, 496, 160, 24);
    loadScore.caption = "载入琴谱";
    loadScore.onClicked = score::onLoadScoreClicked;
    c.push_back(loadScore);

    ControlDesc picture = control("图片框1", Kind::PicBox, 图片框1, 176, 8, 504, 512);
    picture.background = kSkyBlue;
    picture.picture = bytesOf(resources::initialScore());
    picture.animate = true;
    c.push_back(picture);

    ControlDesc instruments = control("列表框1", Kind::ListBox, 列表框1, 8, 32, 160, 456);
    instruments.list = {.textColour = Colour{255, 255, 255}, .background = kSkyBlue, .border = true};
    instruments.onSelected = keyboard::onInstrumentSelected;
    c.push_back(instruments);

    ControlDesc notation = keyTemplate("标签3", 标签3, 152, 624, 20, 32, "");
    notation.label.border = ui::Border::None;
    notation.label.textColour = {0, 0, 128};
    notation.label.background = kSkyBlue;
    notation.label.gradient = {Colour{128, 128, 128}, Colour{255, 255, 255}, Colour{128, 128, 128}};
    c.push_back(notation);

    ControlDesc devices = control("组合框1", Kind::ComboBox, 组合框1, 8, 8, 160, 20);
    devices.list = {.textColour = Colour{0, 0, 0}, .background = Colour{255, 255, 255}, .border = true};
    devices.onSelected = keyboard::onDeviceSelected;
    c.push_back(devices);

    c.push_back(invisible("MIDI演奏", Kind::MidiPlay, MIDI演奏Ref));

    ControlDesc black = keyTemplate("标签2", 标签2, 166, 528, 20, 48, "AQW1234567890PL");
    black.label.border = ui::Border::Thin;
    black.label.textColour = {255, 255, 255};
    black.label.background = Colour{96, 96, 96};
    black.label.gradient = {Colour{96, 96, 96}, std::nullopt, Colour{0, 0, 0}};
    c.push_back(black);

    ControlDesc white = keyTemplate("标签1", 标签1, 152, 528, 24, 96, "ZXCVBNMSDFGHJKERTYUIO");
    white.label.border = ui::Border::Thin;
    white.label.textColour = {0, 0, 0};
    white.label.background = Colour{255, 255, 255};
    white.label.gradient = {Colour{192, 192, 192}, Colour{128, 128, 128}, Colour{96, 96, 96}};
    c.push_back(white);

    return w;
}

} // namespace app
