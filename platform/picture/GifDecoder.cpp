#include "platform/picture/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace picture {
namespace {

struct MemoryInput {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int length)
{
    auto* input = static_cast<MemoryInput*>(gif->UserData);
    if (length <= 0)
        return 0;
    const size_t count = std::min<size_t>(static_cast<size_t>(length), input->bytes.size() - input->position);
    std::memcpy(out, input->bytes.data() + input->position, count);
    input->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

GifHandle open(MemoryInput& input)
{
    int error = 0;
    return GifHandle(DGifOpen(&input, readFromMemory, &error));
}

// Reads the rest of an extension's sub-blocks; false when the file breaks off.
bool skipExtensionBlocks(GifFileType* gif)
{
    GifByteType* block = nullptr;
    do {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    } while (block != nullptr);
    return true;
}

bool skipImageData(GifFileType* gif)
{
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block != nullptr) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

struct Control {
    int disposal = DISPOSAL_UNSPECIFIED;
    int delayCs = 0;
    int transparent = NO_TRANSPARENT_COLOR;
};

// Reads a graphic control or loop block and the rest of its sub-blocks.
bool readExtension(GifFileType* gif, Control& control, int* loopBlock)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return false;
    if (block == nullptr)
        return true;
    if (code == GRAPHICS_EXT_FUNC_CODE && block[0] == 4) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(4, block + 1, &gcb) == GIF_OK) {
            control.disposal = gcb.DisposalMode;
            control.delayCs = gcb.DelayTime;
            control.transparent = gcb.TransparentColor;
        }
    } else if (code == APPLICATION_EXT_FUNC_CODE && block[0] == 11 &&
               (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0)) {
        // The first sub-block with id 1 holds the repetition count.
        for (;;) {
            if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
                return false;
            if (block == nullptr)
                return true;
            if (block[0] >= 3 && block[1] == 1 && loopBlock != nullptr && *loopBlock < 0)
                *loopBlock = block[2] | (block[3] << 8);
        }
    }
    return skipExtensionBlocks(gif);
}

// What the first pass learns from the block structure alone, without decoding any pixels.
struct Outline {
    int imageCount = 0;
    bool anyDelay = false;
    int loopBlock = -1; // the loop block's repetition count, or -1 without one
};

Outline outline(std::span<const uint8_t> bytes)
{
    Outline result;
    MemoryInput input{bytes};
    GifHandle gif = open(input);
    if (!gif)
        return result;
    Control control;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR || type == TERMINATE_RECORD_TYPE)
            break;
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR || !skipImageData(gif.get()))
                break;
            ++result.imageCount;
            result.anyDelay = result.anyDelay || control.delayCs > 0;
            control = Control{};
        } else if (type == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif.get(), control, &result.loopBlock))
                break;
        } else {
            break;
        }
    }
    return result;
}

constexpr int kDefaultDelayMs = 100;

int frameDelayMs(int delayCs)
{
    return delayCs <= 1 ? kDefaultDelayMs : delayCs * 10;
}

class Compositor {
public:
    Compositor(int width, int height)
        : m_width(width), m_height(height), m_canvas(static_cast<size_t>(width) * height, 0u)
    {
    }

    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0; // clipped to the screen, right and bottom exclusive
        bool empty() const { return left >= right || top >= bottom; }
    };

    Rect clip(const GifImageDesc& desc) const
    {
        Rect r;
        r.left = std::clamp(desc.Left, 0, m_width);
        r.top = std::clamp(desc.Top, 0, m_height);
        r.right = std::clamp(desc.Left + desc.Width, 0, m_width);
        r.bottom = std::clamp(desc.Top + desc.Height, 0, m_height);
        return r;
    }

    void save(const Rect& r)
    {
        m_saved.clear();
        if (r.empty())
            return;
        m_saved.reserve(static_cast<size_t>(r.right - r.left) * (r.bottom - r.top));
        for (int y = r.top; y < r.bottom; ++y) {
            const uint32_t* row = &m_canvas[static_cast<size_t>(y) * m_width];
            m_saved.insert(m_saved.end(), row + r.left, row + r.right);
        }
    }

    void restore(const Rect& r)
    {
        if (r.empty() || m_saved.size() != static_cast<size_t>(r.right - r.left) * (r.bottom - r.top))
            return;
        auto source = m_saved.begin();
        for (int y = r.top; y < r.bottom; ++y) {
            std::copy_n(source, r.right - r.left, &m_canvas[static_cast<size_t>(y) * m_width + r.left]);
            source += r.right - r.left;
        }
    }

    void clear(const Rect& r)
    {
        for (int y = r.top; y < r.bottom; ++y)
            std::fill_n(&m_canvas[static_cast<size_t>(y) * m_width + r.left], r.right - r.left, 0u);
    }

    // Draws one decoded line of the image whose unclipped left edge is imageLeft.
    void drawLine(int y, int imageLeft, const Rect& r, const GifPixelType* line,
                  const std::array<uint32_t, 256>& palette, int transparent)
    {
        if (y < r.top || y >= r.bottom)
            return;
        uint32_t* out = &m_canvas[static_cast<size_t>(y) * m_width];
        for (int x = r.left; x < r.right; ++x) {
            const GifPixelType index = line[x - imageLeft];
            if (index != transparent)
                out[x] = palette[index];
        }
    }

    const std::vector<uint32_t>& canvas() const { return m_canvas; }
    std::vector<uint32_t> takeCanvas() { return std::move(m_canvas); }

private:
    int m_width;
    int m_height;
    std::vector<uint32_t> m_canvas;
    std::vector<uint32_t> m_saved;
};

// Decodes an image's lines into the canvas, in interlaced order when the image is interlaced.
bool drawImage(GifFileType* gif, Compositor& compositor, const Compositor::Rect& rect,
               const std::array<uint32_t, 256>& palette, int transparent)
{
    const GifImageDesc& desc = gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0)
        return skipImageData(gif);
    std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
    static constexpr int kPassStart[] = {0, 4, 2, 1};
    static constexpr int kPassStep[] = {8, 8, 4, 2};
    const int passes = desc.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        const int start = desc.Interlace ? kPassStart[pass] : 0;
        const int step = desc.Interlace ? kPassStep[pass] : 1;
        for (int row = start; row < desc.Height; row += step) {
            if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
                return false;
            compositor.drawLine(desc.Top + row, desc.Left, rect, line.data(), palette, transparent);
        }
    }
    return true;
}

} // namespace

Picture decodeGif(std::span<const uint8_t> bytes, uint64_t totalPixelBudget)
{
    const Outline plan = outline(bytes);

    MemoryInput input{bytes};
    GifHandle gif = open(input);
    if (!gif)
        return {};
    const int width = gif->SWidth;
    const int height = gif->SHeight;
    if (!limits::allowed(static_cast<uint64_t>(std::max(width, 0)), static_cast<uint64_t>(std::max(height, 0)),
                         bytes.size()))
        return {};

    Picture picture;
    if (plan.loopBlock < 0)
        picture.loopCount = 1;
    else
        picture.loopCount = plan.loopBlock == 0 ? 0 : plan.loopBlock + 1;

    // Which images end a frame: with delays, the delayed ones; without delays but with a loop block,
    // every image; otherwise all images make up one frame.
    const bool everyImageIsFrame = !plan.anyDelay && plan.loopBlock >= 0;

    Compositor compositor(width, height);
    const size_t framePixels = static_cast<size_t>(width) * height;
    uint64_t totalPixels = 0;
    Control control;
    int imageIndex = 0;
    bool groupOpen = false; // images drawn since the last frame was taken
    int groupDelayCs = 0;
    bool broken = false;
    bool full = false;

    // The last frame takes the canvas itself instead of a copy.
    auto takeFrame = [&](int delayCs, bool last) {
        if (totalPixels + framePixels > totalPixelBudget) {
            full = true;
            return;
        }
        totalPixels += framePixels;
        Frame frame;
        frame.width = width;
        frame.height = height;
        if (last)
            frame.pixels = compositor.takeCanvas();
        else
            frame.pixels = compositor.canvas();
        frame.delayMs = delayCs;
        picture.frames.push_back(std::move(frame));
        groupOpen = false;
    };

    bool trailer = false;
    while (!broken && !full) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR)
            break;
        if (type == TERMINATE_RECORD_TYPE) {
            trailer = true;
            break;
        }
        if (type == EXTENSION_RECORD_TYPE) {
            if (!readExtension(gif.get(), control, nullptr))
                break;
            continue;
        }
        // giflib refuses LZW code sizes above 8 bits here, which no colour table can need.
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR) {
            broken = true;
            break;
        }
        const GifImageDesc& desc = gif->Image;
        const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
        // Images are decoded line by line, so only the time spent on a lying header needs a bound.
        const uint64_t imagePixels = static_cast<uint64_t>(std::max(desc.Width, 0)) * std::max(desc.Height, 0);
        const bool plausible = imagePixels / limits::kMaxPixelsPerInputByte <= bytes.size();
        if (map == nullptr || !plausible) {
            broken = true;
            break;
        }
        // Indices beyond the colour table show black, as the table's unused entries would.
        std::array<uint32_t, 256> palette;
        palette.fill(0xFF000000u);
        for (int i = 0; i < std::min(map->ColorCount, 256); ++i) {
            const GifColorType& c = map->Colors[i];
            palette[static_cast<size_t>(i)] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
        }

        const Compositor::Rect rect = compositor.clip(desc);
        if (control.disposal == DISPOSE_PREVIOUS)
            compositor.save(rect);
        if (!drawImage(gif.get(), compositor, rect, palette, control.transparent)) {
            broken = true;
            break;
        }
        groupOpen = true;
        groupDelayCs = control.delayCs;
        ++imageIndex;
        // The outline saw every image this pass can reach, so after its last one nothing follows.
        if (imageIndex >= plan.imageCount) {
            takeFrame(groupDelayCs, true);
            break;
        }
        if (everyImageIsFrame || control.delayCs > 0)
            takeFrame(groupDelayCs, false);
        if (control.disposal == DISPOSE_BACKGROUND)
            compositor.clear(rect);
        else if (control.disposal == DISPOSE_PREVIOUS)
            compositor.restore(rect);
        control = Control{};
    }

    // A file that ends without its trailer keeps its last complete images; one whose image data broke
    // off drops the frame that image belonged to.
    if (!broken && !full && groupOpen)
        takeFrame(groupDelayCs, true);
    if (trailer && imageIndex == 0)
        takeFrame(0, true); // a complete file without images shows its screen, transparent

    if (picture.frames.size() == 1)
        picture.frames.front().delayMs = 0;
    else
        for (Frame& frame : picture.frames)
            frame.delayMs = frameDelayMs(frame.delayMs);
    return picture;
}

} // namespace picture
