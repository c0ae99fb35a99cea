#include "keyboard/KeyboardBuilder.h"

#include "app/FormIds.h"
#include "keyboard/KeyArrays.h"
#include "keyboard/KeyCaption.h"
#include "platform/ui/Ui.h"

#include <array>
#include <string>

namespace keyboard {
namespace {

// Entry k nonzero: step k makes a black key across the border of white keys k and k + 1.
constexpr std::array<int, 21> blackKeyFlags{
    1, 1, 1, 0, 1, 1, 0,
    1, 1, 1, 0, 1, 1, 0,
    1, 1, 1, 0, 1, 1, 0,
};

// The n-th character (1-based) of a text; empty past its end.
std::string character(const std::string& text, int n)
{
    return n >= 1 && n <= static_cast<int>(text.size()) ? text.substr(static_cast<size_t>(n - 1), 1) : std::string();
}

// Places are reckoned as real numbers and truncated toward zero.
int place(double left, double width, int k) { return static_cast<int>(left + width * k); }

void makeKey(ui::ComponentRef templ, int slot, int tagIndex, int left, std::string_view lineBreaks, int note)
{
    ui::ComponentRef& key = keyWidgets[slot];
    ui::copyControl(templ, key);
    const std::string tag = character(ui::readText(templ, ui::Tag), tagIndex);
    ui::writeText(key, ui::Tag, tag);
    ui::writeInt(key, ui::Left, left);
    ui::writeText(key, ui::label::Caption, std::string(lineBreaks) + fullWidth(tag));
    ui::writeInt(key, ui::label::GradientBorderWidth, note);
    ui::writeInt(key, ui::Visible, 1);
}

} // namespace

void buildKeyboard()
{
    const double whiteWidth = ui::readInt(app::标签1, ui::Width);
    int note = 48;
    int blackSlot = 22;
    for (int k = 1; k <= 21; ++k) {
        // The black key to the right of white key k is made first, so it sounds one below it.
        if (blackKeyFlags[static_cast<size_t>(k - 1)] != 0) {
            makeKey(app::标签2, blackSlot, blackSlot - 21, place(ui::readInt(app::标签2, ui::Left), whiteWidth, k),
                    "\r\n\r\n", note);
            ++note;
            ++blackSlot;
        }

        const int whiteLeft = place(ui::readInt(app::标签1, ui::Left), whiteWidth, k);
        makeKey(app::标签1, k, k, whiteLeft, "\r\n\r\n\r\n\r\n\r\n\r\n", note);
        ++note;

        ui::ComponentRef& degree = degreeLabels[k];
        ui::copyControl(app::标签3, degree);
        ui::writeText(degree, ui::label::Caption, degreeCaption(k));
        ui::writeInt(degree, ui::Left, ui::readInt(keyWidgets[k], ui::Left) + 2);
        ui::writeInt(degree, ui::Visible, 1);
    }
}

} // namespace keyboard
