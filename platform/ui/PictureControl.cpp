#include "platform/ui/PictureControl.h"

#include "platform/picture/Picture.h"
#include "platform/ui/PictureWidget.h"
#include "platform/ui/Ui.h"

#include <cstring>

namespace ui {
namespace {

std::vector<PictureWidget::Frame> toFrames(picture::Picture&& decoded)
{
    std::vector<PictureWidget::Frame> frames;
    frames.reserve(decoded.frames.size());
    for (picture::Frame& f : decoded.frames) {
        QImage image(f.width, f.height, QImage::Format_ARGB32);
        for (int y = 0; y < f.height; ++y)
            std::memcpy(image.scanLine(y), f.pixels.data() + static_cast<size_t>(y) * f.width,
                        static_cast<size_t>(f.width) * sizeof(uint32_t));
        std::vector<uint32_t>().swap(f.pixels);   // let go of each frame as soon as it is copied
        frames.push_back({std::move(image), f.delayMs});
    }
    return frames;
}

} // namespace

PictureControl::PictureControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc)
    : Control(Kind::PicBox, ref,
              new PictureWidget(parent, desc.background.value_or(Colour{240, 240, 240}), desc.animate))
{
    m_tag = desc.tag;
}

PictureWidget* PictureControl::pictureWidget() const { return static_cast<PictureWidget*>(widget()); }

int PictureControl::frameCount() const { return pictureWidget()->frameCount(); }

std::vector<uint8_t> PictureControl::readBytes(int property) const
{
    if (property != picBox::Picture)
        return Control::readBytes(property);
    return m_bytes;
}

void PictureControl::writeBytes(int property, const std::vector<uint8_t>& bytes)
{
    if (property != picBox::Picture) {
        Control::writeBytes(property, bytes);
        return;
    }
    pictureWidget()->show({}, 0);   // the old picture goes first
    m_bytes = bytes;
    if (m_bytes.empty())
        return;
    picture::Picture decoded = picture::decode(m_bytes, widget()->width(), widget()->height());
    const int loops = decoded.loopCount;
    pictureWidget()->show(toFrames(std::move(decoded)), loops);
}

} // namespace ui
