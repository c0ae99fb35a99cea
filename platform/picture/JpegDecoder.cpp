#include "platform/picture/JpegDecoder.h"

#include "platform/picture/Limits.h"

#include <climits>
#include <csetjmp>
#include <cstdio>

// jpeglib.h first: it brings the configuration that decides which messages jerror.h defines.
#include <jpeglib.h>
#include <jerror.h>

namespace picture {
namespace {

// Huffman coding spends at least one bit on every 8 × 8 block, so a real file holds no more than 512
// pixels per byte; only arithmetic coding of a flat image gets below that.
constexpr uint64_t kPixelsPerByte = 1024;
// libjpeg's own memory (a progressive image keeps all its coefficients) stays below this.
constexpr long kMaxLibraryMemory = 512L << 20;
// Every scan of a progressive image walks all its blocks; real encoders use a dozen or so.
constexpr int kMaxScans = 128;
// Warnings about odd but harmless markers are tolerated up to this many.
constexpr int kMaxWarnings = 100;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    int warnings;
};

[[noreturn]] void fail(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings that mean missing or corrupt image data end the decoding like errors do.
void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
        fail(cinfo);
    default:
        if (++errors->warnings > kMaxWarnings)
            fail(cinfo);
    }
}

void silence(j_common_ptr) {}

void onProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        fail(cinfo);
}

// Picks the smallest n/8 scale at which the output still covers the box.
void chooseScale(jpeg_decompress_struct& cinfo, int boxWidth, int boxHeight)
{
    cinfo.scale_denom = 8;
    cinfo.scale_num = 8;
    if (boxWidth <= 0 || boxHeight <= 0)
        return;
    for (unsigned n = 1; n <= 8; ++n) {
        cinfo.scale_num = n;
        jpeg_calc_output_dimensions(&cinfo);
        if (cinfo.output_width >= static_cast<unsigned>(boxWidth) &&
            cinfo.output_height >= static_cast<unsigned>(boxHeight))
            return;
    }
    cinfo.scale_num = 8;
}

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// The libjpeg calls, kept apart from every object with a destructor so that a longjmp out of the
// library skips nothing that needs cleaning up. The caller owns the frame and destroys cinfo.
bool decodeInto(jpeg_decompress_struct& cinfo, ErrorManager& errors, jpeg_progress_mgr& progress,
                std::span<const uint8_t> bytes, int boxWidth, int boxHeight, Frame& frame)
{
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxLibraryMemory;
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK)
        return false;
    if (!limits::plausible(uint64_t{cinfo.image_width} * cinfo.image_height, bytes.size(), kPixelsPerByte))
        return false;

    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        break;
    }
    chooseScale(cinfo, boxWidth, boxHeight);
    jpeg_calc_output_dimensions(&cinfo);
    if (!limits::fitsFrame(cinfo.output_width, cinfo.output_height))
        return false;

    jpeg_start_decompress(&cinfo);
    const JDIMENSION width = cinfo.output_width;
    const JDIMENSION height = cinfo.output_height;
    const int components = cinfo.output_components;
    // Photoshop writes CMYK inverted and says so in its Adobe marker.
    const bool inverted = cinfo.saw_Adobe_marker;
    frame.width = static_cast<int>(width);
    frame.height = static_cast<int>(height);
    frame.pixels.assign(static_cast<size_t>(width) * height, 0u);
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                width * static_cast<JDIMENSION>(components), 1);
    while (cinfo.output_scanline < height) {
        uint32_t* out = &frame.pixels[static_cast<size_t>(cinfo.output_scanline) * width];
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1)
            return false;
        const JSAMPLE* in = row[0];
        if (components == 1) {
            for (JDIMENSION x = 0; x < width; ++x)
                out[x] = rgb(in[x], in[x], in[x]);
        } else if (!cmyk) {
            for (JDIMENSION x = 0; x < width; ++x, in += 3)
                out[x] = rgb(in[0], in[1], in[2]);
        } else {
            for (JDIMENSION x = 0; x < width; ++x, in += 4) {
                uint32_t c = in[0], m = in[1], y = in[2], k = in[3];
                if (!inverted) {
                    c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                }
                out[x] = rgb((c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
            }
        }
    }
    // The image is complete; whatever follows it (even a missing end marker) does not matter.
    jpeg_abort_decompress(&cinfo);
    return true;
}

struct Destroyer {
    jpeg_decompress_struct* cinfo;
    ~Destroyer() { jpeg_destroy_decompress(cinfo); }
};

} // namespace

Picture decodeJpeg(std::span<const uint8_t> bytes, int boxWidth, int boxHeight)
{
    if (bytes.size() > ULONG_MAX)
        return {};
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = fail;
    errors.base.emit_message = onMessage;
    errors.base.output_message = silence;
    Destroyer destroyer{&cinfo};
    Frame frame;
    if (!decodeInto(cinfo, errors, progress, bytes, boxWidth, boxHeight, frame))
        return {};
    Picture picture;
    picture.frames.push_back(std::move(frame));
    return picture;
}

} // namespace picture
