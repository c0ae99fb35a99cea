#pragma once
// The description of a window and its controls, as the program stores it; plain data, any thread.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ui {

// Names one control of a window; both zero names nothing.
struct ComponentRef {
    int32_t window = 0;
    int32_t component = 0;

    bool isNull() const { return window == 0 && component == 0; }
    friend bool operator==(const ComponentRef&, const ComponentRef&) = default;
};

enum class Kind {
    Window, Label, Button, ListBox, ComboBox, SliderBar, ShapeBox, PicBox, Timer, CommonDlg,
    WaveRecord, MediaPlay, SysVolume, MidiPlay,
};

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};
// An unset colour: "default" for a background (the button face), "left out" for a gradient stop.
using OptColour = std::optional<Colour>;

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Centre, Bottom };
enum class Border { None, Thin };
enum class FontFace { Default, Transport };

using ClickHandler = std::function<void()>;
// x and y arrive as unsigned 16-bit client coordinates; keys: 1 Ctrl, 2 Shift, 4 Alt.
using MouseHandler = std::function<void(int x, int y, int keys)>;
using KeyHandler = std::function<void(int keyCode, int keys)>;

struct LabelLook {
    Border border = Border::None;
    Colour textColour{0, 0, 0};
    OptColour background;                  // nullopt: the button-face colour
    int gradientMode = 0;                  // 0 flat, 1 top to bottom
    std::array<OptColour, 3> gradient{};
    int gradientBorderWidth = 5;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    bool wordWrap = false;
};

struct SliderSetup {
    int minimum = 0, maximum = 100, position = 0;
    int pageSize = 5, lineSize = 1, tickFrequency = 5;
};

struct ShapeSetup {
    Colour background{0, 0, 0};
    Colour outline{0, 0, 0};
    int outlineWidth = 2;
    Colour fill{0, 0, 0};
};

struct ListSetup {
    OptColour textColour;
    OptColour background;
    bool border = true;
};

struct ControlDesc {
    std::string name;
    Kind kind = Kind::Label;
    int32_t id = 0;
    int32_t parentId = 0;                  // 0: the window; otherwise the control it lies in
    int left = 0, top = 0, width = 0, height = 0;
    bool visible = true;
    std::string caption;
    std::string tag;
    FontFace font = FontFace::Default;
    LabelLook label;
    SliderSetup slider;
    ShapeSetup shape;
    ListSetup list;
    OptColour background;                  // picture box
    std::vector<uint8_t> picture;          // picture box: the stored picture's bytes
    bool animate = true;                   // picture box: play animated pictures
    std::string title;                     // file dialog
    ClickHandler onClicked;                // buttons
    ClickHandler onSelected;               // list and combo box: a selection made by the user
    ClickHandler onTick;                   // timers
    MouseHandler onLeftReleased;           // labels, shape boxes, sliders
};

struct WindowDesc {
    int32_t windowId = 0;
    int32_t componentId = 0;
    std::string caption;
    int width = 0, height = 0;             // outer size, frame included
    Colour background{0, 0, 0};
    std::vector<uint8_t> icon;             // ICO bytes
    std::vector<uint8_t> titleData;
    std::vector<ControlDesc> controls;     // form order: the first lies on top
    ClickHandler onCreated;
    KeyHandler onKeyDown;
    KeyHandler onKeyUp;
    ClickHandler onFocusLost;              // the window itself lost the keyboard focus
    ClickHandler onDestroyed;              // the window is going away, its controls still exist
};

} // namespace ui
