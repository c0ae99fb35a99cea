#pragma once
// Decodes a GIF file (still or animated) into composited frames through giflib; safe on any thread.

#include "platform/picture/Limits.h"
#include "platform/picture/Picture.h"

namespace picture {

// Every frame is the whole logical screen. Images without a delay are drawn into the same frame as the
// images after them, up to one that carries a delay; when no image has a delay but the file has a loop
// block, every image is its own frame. Delays of 0 or 1 centiseconds show for 100 ms. Images are clipped
// to the screen; disposal methods 0 to 3 are honoured, and the canvas starts transparent. A file that
// breaks off keeps the frames that were complete, and so does an animation whose frames would need more
// than totalPixelBudget pixels together.
[[nodiscard]] Picture decodeGif(std::span<const uint8_t> bytes, uint64_t totalPixelBudget = limits::kMaxTotalPixels);

} // namespace picture
