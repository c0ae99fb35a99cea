#pragma once
// Turning the handlers' double-precision results into the integers that properties and commands take;
// pure functions, any thread.

#include <cmath>
#include <cstdint>
#include <limits>

namespace accompaniment {

// Truncates toward zero. A result outside the 32-bit range saturates at its nearest end and NaN gives
// 0: a huge progress scale times a far click, or a length divided by a zero width, must still give a
// defined integer, since converting such a double directly is undefined behaviour.
[[nodiscard]] inline int32_t truncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace accompaniment
