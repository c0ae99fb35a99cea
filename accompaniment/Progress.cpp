#include "accompaniment/Progress.h"

#include "accompaniment/MediaPlayer.h"
#include "accompaniment/Numbers.h"
#include "accompaniment/TitleData.h"
#include "app/FormIds.h"
#include "platform/ui/Ui.h"

namespace accompaniment {

void onProgressTick()
{
    const double position = 媒体播放1.mediaPosition();
    const double scale = ui::readInt(app::标签4, ui::label::GradientBorderWidth);
    ui::writeInt(app::标签4, ui::Width, truncateToInt32(position / scale));

    const double fill = ui::readInt(app::标签4, ui::Width);
    const double frame = ui::readInt(app::外形框1, ui::Width);
    // With whole-pixel widths: the fill has reached the frame's last pixel.
    if (fill - (frame - 1) >= -0.0000001)
        ui::writeInt(app::时钟1, ui::timer::Period, 0);

    ui::writeText(app::主窗口, ui::window::Caption, titleFromData(ui::readBytes(app::主窗口, ui::window::TitleData)));
}

void onProgressFrameReleased(int x, int, int)
{
    const double scale = ui::readInt(app::标签4, ui::label::GradientBorderWidth);
    媒体播放1.playFrom(truncateToInt32(scale * x));
    ui::setFocus(app::主窗口);
}

// The fill lies at the frame's top left corner, so its x measures the same distance along the bar.
void onProgressFillReleased(int x, int y, int keys) { onProgressFrameReleased(x, y, keys); }

} // namespace accompaniment
