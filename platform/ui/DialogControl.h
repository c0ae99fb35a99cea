#pragma once
// The open-file dialog: title, filter, and the file name kept between uses; GUI thread.

#include "platform/ui/Control.h"
#include "platform/ui/Ui.h"

namespace ui {

class DialogControl : public Control {
public:
    DialogControl(ComponentRef ref, QWidget* owner, const ControlDesc& desc);

    std::string readText(int property) const override;
    void writeText(int property, std::string_view text) override;

    // Modal; its own event loop keeps timers ticking. True when a file was confirmed.
    bool open(const DialogDriver& driver);

private:
    QWidget* m_owner;
    std::string m_title;
    std::string m_fileName;
    std::string m_filter;
};

// "desc|*.a;*.b|desc2|*.c" as the toolkit's name filters: "desc (*.a *.b)", "desc2 (*.c)".
QStringList nameFilters(std::string_view filter);

} // namespace ui
