#include "score/ScoreLoading.h"

#include "accompaniment/FileName.h"
#include "app/FormIds.h"
#include "platform/ui/Ui.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace score {

std::vector<uint8_t> readWholeFile(const std::string& path)
{
    if (path.empty())
        return {};
    const std::filesystem::path file(std::u8string(path.begin(), path.end()));
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return {};
    const uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size == 0 || size > kMaxFileBytes)
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

void onLoadScoreClicked()
{
    ui::writeText(app::通用对话框1, ui::dialog::Filter, "图片文件|*.bmp;*.jpg;*.gif");
    if (ui::openFileDialog(app::通用对话框1)) {
        const std::string path = ui::readText(app::通用对话框1, ui::dialog::FileName);
        // The box drops its picture first and decodes the bytes by their content; no bytes leave it empty.
        ui::writeBytes(app::图片框1, ui::picBox::Picture, readWholeFile(path));
        // The caption names the file even when the box could show nothing.
        ui::writeText(app::按钮1, ui::button::Caption, accompaniment::fileNameOf(path));
    }
    ui::setFocus(app::主窗口);
}

} // namespace score
