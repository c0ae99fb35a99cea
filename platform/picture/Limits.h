#pragma once
// Size limits every decoder checks before it allocates pixels; constants and pure functions.

#include <cstddef>
#include <cstdint>

namespace picture::limits {

// One frame may hold at most 64 Mi pixels (256 MiB), after any DCT scaling.
inline constexpr uint64_t kMaxFramePixels = uint64_t{64} << 20;
// All frames of an animation together; an animation that would need more keeps the frames that fit.
inline constexpr uint64_t kMaxTotalPixels = uint64_t{64} << 20;
// No codec here packs more than a few thousand pixels into one byte of input (12-bit LZW codes for
// 4096-pixel strings are the densest), so a header promising more than this per byte of file is lying.
// Small images are let through whatever the file size: an RLE bitmap may end early on purpose.
inline constexpr uint64_t kMaxPixelsPerInputByte = 4096;
inline constexpr uint64_t kAlwaysAllowedPixels = uint64_t{1} << 20;

// True when a width × height frame fits the frame budget.
[[nodiscard]] constexpr bool fitsFrame(uint64_t width, uint64_t height)
{
    return width > 0 && height > 0 && width <= kMaxFramePixels && height <= kMaxFramePixels &&
           width * height <= kMaxFramePixels;
}

// True when `pixels` could come out of `inputBytes` bytes at `pixelsPerByte` at the most.
[[nodiscard]] constexpr bool plausible(uint64_t pixels, size_t inputBytes,
                                       uint64_t pixelsPerByte = kMaxPixelsPerInputByte)
{
    return pixels <= kAlwaysAllowedPixels || pixels / pixelsPerByte <= inputBytes;
}

// True when a width × height image may be allocated for a file of inputBytes bytes.
[[nodiscard]] constexpr bool allowed(uint64_t width, uint64_t height, size_t inputBytes)
{
    return fitsFrame(width, height) && plausible(width * height, inputBytes);
}

} // namespace picture::limits
