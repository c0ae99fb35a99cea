#include "platform/ui/GradientRows.h"

namespace ui {

std::vector<Colour> gradientRows(std::span<const OptColour> stops, int height)
{
    std::vector<Colour> colours;
    for (const OptColour& c : stops)
        if (c)
            colours.push_back(*c);
    if (colours.size() < 2 || height <= 0)
        return {};

    const int n = static_cast<int>(colours.size());
    const int spacing = height / (n - 1);
    std::vector<Colour> rows(static_cast<size_t>(height), colours.back());
    if (spacing == 0)
        return rows;

    auto channel = [](int from, int to, double t) {
        return static_cast<uint8_t>(from + static_cast<int>((to - from) * t));
    };
    for (int y = 0; y < height; ++y) {
        const int segment = y / spacing;
        if (segment + 1 >= n)
            continue;
        const Colour& a = colours[static_cast<size_t>(segment)];
        const Colour& b = colours[static_cast<size_t>(segment) + 1];
        const double t = static_cast<double>(y % spacing) / spacing;
        rows[static_cast<size_t>(y)] = {channel(a.r, b.r, t), channel(a.g, b.g, t), channel(a.b, b.b, t)};
    }
    return rows;
}

} // namespace ui
