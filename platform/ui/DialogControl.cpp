#include "platform/ui/DialogControl.h"

#include <QFileDialog>

namespace ui {

DialogControl::DialogControl(ComponentRef ref, QWidget* owner, const ControlDesc& desc)
    : Control(Kind::CommonDlg, ref, nullptr), m_owner(owner), m_title(desc.title), m_fileName(desc.caption)
{
    m_tag = desc.tag;
}

std::string DialogControl::readText(int property) const
{
    switch (property) {
    case dialog::Title: return m_title;
    case dialog::FileName: return m_fileName;
    default: return Control::readText(property);
    }
}

void DialogControl::writeText(int property, std::string_view text)
{
    if (property == dialog::Filter)
        m_filter = std::string(text);
    else
        Control::writeText(property, text);
}

QStringList nameFilters(std::string_view filter)
{
    const QStringList parts = QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size()))
                                  .split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

bool DialogControl::open(const DialogDriver& driver)
{
    std::optional<std::string> chosen;
    if (driver) {
        chosen = driver({m_title, m_filter, m_fileName});
    } else {
        QFileDialog dialog(m_owner, QString::fromStdString(m_title));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::ReadOnly, false);
        const QStringList filters = nameFilters(m_filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            dialog.selectNameFilter(filters.front());
        }
        if (!m_fileName.empty())
            dialog.selectFile(QString::fromStdString(m_fileName));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            chosen = dialog.selectedFiles().front().toStdString();
    }
    if (!chosen)
        return false;
    m_fileName = *chosen;
    return true;
}

} // namespace ui
