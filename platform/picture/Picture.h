#pragma once
// The decoded form of a picture file, ready for the picture box: plain data that any thread may build or read.

#include <cstdint>
#include <span>
#include <vector>

namespace picture {

struct Frame {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, row-major, top row first, width*height entries
    int delayMs = 0;              // how long this frame shows in an animation (0 for stills)
};

struct Picture {
    // Empty means nothing to show. Every frame is the full composited canvas, so a viewer only has
    // to show them in turn.
    std::vector<Frame> frames;
    // How many times an animation plays through; 0 means forever. A GIF without a loop block plays
    // once (1); a loop block asking for n > 0 repetitions plays n + 1 times, as browsers do.
    int loopCount = 0;
    bool empty() const { return frames.empty(); }
};

// Decodes BMP, JPEG, icon, cursor, GIF and PCX, recognised by their first bytes only. boxWidth and
// boxHeight give the size the picture will be stretched to: a JPEG is decoded at the smallest DCT scale
// that is still at least that size in both directions (full size when the image is smaller or the box
// is 0 × 0). Anything not decodable, damaged, truncated or beyond the size limits gives an empty
// Picture; nothing is thrown.
[[nodiscard]] Picture decode(std::span<const uint8_t> bytes, int boxWidth = 0, int boxHeight = 0);

} // namespace picture
