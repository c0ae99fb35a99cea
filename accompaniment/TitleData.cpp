#include "accompaniment/TitleData.h"

#include "accompaniment/GbkText.h"
#include "accompaniment/UnpackData.h"

#include <algorithm>
#include <string_view>

namespace accompaniment {

std::vector<uint8_t> removeMarkers(std::span<const uint8_t> data)
{
    constexpr uint8_t kMarker[4] = {'M', 'T', 'h', 'd'};
    std::vector<uint8_t> out;
    out.reserve(data.size());
    for (size_t i = 0; i < data.size();) {
        if (data.size() - i >= 4 && std::equal(kMarker, kMarker + 4, data.begin() + static_cast<std::ptrdiff_t>(i))) {
            i += 4;
            continue;
        }
        out.push_back(data[i++]);
    }
    return out;
}

std::string titleFromData(std::span<const uint8_t> titleData)
{
    const std::vector<uint8_t> text = unpackData(removeMarkers(titleData));
    const auto end = std::find(text.begin(), text.end(), uint8_t{0});
    return gbkToUtf8(std::string_view(reinterpret_cast<const char*>(text.data()), static_cast<size_t>(end - text.begin())));
}

} // namespace accompaniment
