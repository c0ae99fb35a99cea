#include "accompaniment/VolumeSlider.h"

#include "accompaniment/MediaPlayer.h"
#include "accompaniment/Numbers.h"
#include "app/FormIds.h"
#include "platform/ui/Ui.h"

namespace accompaniment {

void onVolumeSliderReleased(int x, int, int)
{
    const double maximum = ui::readInt(app::滑块条1, ui::slider::Maximum);
    const double width = ui::readInt(app::滑块条1, ui::Width);
    // The release point along the slider becomes the position; the slider itself keeps at most 32767.
    ui::writeInt(app::滑块条1, ui::slider::Position, truncateToInt32(x * maximum / width));
    const int32_t position = ui::readInt(app::滑块条1, ui::slider::Position);
    媒体播放1.setVolume(position, position);
    ui::setFocus(app::主窗口);
}

} // namespace accompaniment
