#include "accompaniment/DefaultTune.h"

#include "accompaniment/MediaPlayer.h"

namespace accompaniment {

void openDefaultAccompaniment(std::string_view path) { (void)媒体播放1.openMedia(path); }

void closeAccompaniment() { 媒体播放1.close(); }

} // namespace accompaniment
