#pragma once
// The main window and its controls by component reference; constants, any thread.

#include "platform/ui/FormTypes.h"

namespace app {

constexpr int32_t kWindowId = 1375797249;

constexpr ui::ComponentRef 主窗口{kWindowId, 100728832};
constexpr ui::ComponentRef 按钮5{kWindowId, 369164526};
constexpr ui::ComponentRef 按钮4{kWindowId, 369164525};
constexpr ui::ComponentRef 按钮3{kWindowId, 369164524};
constexpr ui::ComponentRef 滑块条1{kWindowId, 369164515};
constexpr ui::ComponentRef 标签4{kWindowId, 369164497};
constexpr ui::ComponentRef 外形框1{kWindowId, 369164496};
constexpr ui::ComponentRef 时钟1{kWindowId, 369164492};
constexpr ui::ComponentRef 录音1{kWindowId, 369164485};
constexpr ui::ComponentRef 媒体播放1Ref{kWindowId, 369164484};
constexpr ui::ComponentRef 按钮2{kWindowId, 369164483};
constexpr ui::ComponentRef 系统音量1{kWindowId, 369164482};
constexpr ui::ComponentRef 通用对话框1{kWindowId, 369164480};
constexpr ui::ComponentRef 按钮1{kWindowId, 369164479};
constexpr ui::ComponentRef 图片框1{kWindowId, 369164476};
constexpr ui::ComponentRef 列表框1{kWindowId, 369164475};
constexpr ui::ComponentRef 标签3{kWindowId, 369164469};
constexpr ui::ComponentRef 组合框1{kWindowId, 369164360};
constexpr ui::ComponentRef MIDI演奏Ref{kWindowId, 369164359};
constexpr ui::ComponentRef 标签2{kWindowId, 369164321};
constexpr ui::ComponentRef 标签1{kWindowId, 369164290};

} // namespace app
