#include "accompaniment/Transport.h"

#include "accompaniment/FileName.h"
#include "accompaniment/MediaPlayer.h"
#include "accompaniment/Numbers.h"
#include "app/FormIds.h"
#include "platform/ui/Ui.h"

#include <string>

namespace accompaniment {

void onLoadAccompanimentClicked()
{
    ui::writeText(app::通用对话框1, ui::dialog::Filter, "音乐文件|*.mp3;*.wav;*.mid");
    if (ui::openFileDialog(app::通用对话框1)) {
        const std::string path = ui::readText(app::通用对话框1, ui::dialog::FileName);
        if (媒体播放1.openMedia(path)) {
            ui::writeText(app::按钮2, ui::button::Caption, fileNameOf(path));
            onPlayClicked();
        } else {
            ui::writeText(app::按钮2, ui::button::Caption, "伴奏音乐文件");
        }
        // Stays until the next tick of the progress timer puts the stored title back.
        ui::writeText(app::主窗口, ui::window::Caption,
                      ui::readText(app::通用对话框1, ui::dialog::Title) + "正在打开" + path);
    }
    ui::setFocus(app::主窗口);
}

void onPlayClicked()
{
    const double length = 媒体播放1.mediaLength();
    const double frameWidth = ui::readInt(app::外形框1, ui::Width);
    // Milliseconds per pixel of the bar; the label stores anything below 5 as 5.
    ui::writeInt(app::标签4, ui::label::GradientBorderWidth, truncateToInt32(length / frameWidth));
    ui::writeInt(app::标签4, ui::Width, 0);
    const double scale = ui::readInt(app::标签4, ui::label::GradientBorderWidth);
    const double fill = ui::readInt(app::标签4, ui::Width);
    媒体播放1.playFrom(truncateToInt32(scale * fill));
    ui::writeInt(app::时钟1, ui::timer::Period, 998);
    ui::setFocus(app::主窗口);
}

void onPauseClicked()
{
    媒体播放1.togglePause();
    ui::writeInt(app::时钟1, ui::timer::Period, 0);
    ui::setFocus(app::主窗口);
}

void onStopClicked()
{
    媒体播放1.stopMedia();
    ui::writeInt(app::时钟1, ui::timer::Period, 0);
    ui::setFocus(app::主窗口);
}

} // namespace accompaniment
