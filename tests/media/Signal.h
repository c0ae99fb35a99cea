#pragma once
// Measures of rendered sound for the media tests.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace media::testing {

// Root mean square of the samples [from, to).
inline double rms(const std::vector<float>& v, size_t from = 0, size_t to = SIZE_MAX)
{
    to = std::min(to, v.size());
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += double{v[i]} * v[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

} // namespace media::testing
