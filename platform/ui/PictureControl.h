#pragma once
// A picture box: keeps the bytes written to it and shows the picture they hold, stretched; GUI thread.

#include "platform/ui/Control.h"

namespace ui {

class PictureWidget;

class PictureControl : public Control {
public:
    PictureControl(ComponentRef ref, QWidget* parent, const ControlDesc& desc);

    std::vector<uint8_t> readBytes(int property) const override;
    void writeBytes(int property, const std::vector<uint8_t>& bytes) override;

    // Frames of the shown picture (0 when empty); for tests and diagnostics.
    int frameCount() const;

private:
    PictureWidget* pictureWidget() const;
    std::vector<uint8_t> m_bytes;
};

} // namespace ui
