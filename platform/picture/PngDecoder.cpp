#include "platform/picture/PngDecoder.h"

#include "platform/picture/Limits.h"

#include <png.h>

#include <bit>
#include <cstring>

namespace picture {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// No single ancillary chunk of an icon needs more memory than this.
constexpr png_alloc_size_t kMaxChunkBytes = 8 << 20;

struct Source {
    std::span<const uint8_t> bytes;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > source->bytes.size() - source->position)
        png_error(png, "truncated");
    std::memcpy(out, source->bytes.data() + source->position, length);
    source->position += length;
}

void ignoreWarning(png_structp, png_const_charp) {}

[[noreturn]] void fail(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

uint32_t be32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The libpng calls, kept apart from every object with a destructor so that a longjmp out of the library
// skips nothing that needs cleaning up. The caller owns the frame and the row table.
bool decodeInto(png_structp png, png_infop info, Source& source, size_t inputBytes, Frame& frame,
                std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &source, readFromMemory);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!limits::allowed(width, height, inputBytes))
        return false;

    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    // Each pixel lands as the bytes of one 0xAARRGGBB value in this machine's byte order.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_add_alpha(png, 0xFF, PNG_FILLER_BEFORE);
        png_set_swap_alpha(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4)
        return false;

    frame.width = static_cast<int>(width);
    frame.height = static_cast<int>(height);
    frame.pixels.assign(size_t{width} * height, 0u);
    rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = reinterpret_cast<png_bytep>(&frame.pixels[size_t{y} * width]);
    png_read_image(png, rows.data());
    return true;
}

} // namespace

bool isPng(std::span<const uint8_t> bytes)
{
    return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

std::optional<PngInfo> readPngInfo(std::span<const uint8_t> bytes)
{
    // The signature, then the IHDR chunk: length, type, width, height, bit depth, colour type.
    if (!isPng(bytes) || bytes.size() < 26 || std::memcmp(&bytes[12], "IHDR", 4) != 0)
        return std::nullopt;
    PngInfo info;
    const uint32_t width = be32(&bytes[16]);
    const uint32_t height = be32(&bytes[20]);
    if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX)
        return std::nullopt;
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    const int depth = bytes[24];
    int channels = 1;
    switch (bytes[25]) {
    case 2: channels = 3; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: break;
    }
    info.bitsPerPixel = depth * channels;
    return info;
}

std::optional<Frame> decodePng(std::span<const uint8_t> bytes, size_t inputBytes)
{
    if (!isPng(bytes))
        return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, fail, ignoreWarning);
    if (png == nullptr)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    struct Destroyer {
        png_structp* png;
        png_infop* info;
        ~Destroyer() { png_destroy_read_struct(png, info, nullptr); }
    } destroyer{&png, &info};

    Source source{bytes, 0};
    Frame frame;
    std::vector<png_bytep> rows;
    if (!decodeInto(png, info, source, inputBytes, frame, rows))
        return std::nullopt;
    return frame;
}

} // namespace picture
