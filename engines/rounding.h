// Every length becomes pixels through this one rounding: halves go to the even
// neighbour, so 2.5 gives 2 and 3.5 gives 4 on every device.
#pragma once

#include <cmath>
#include <cstdint>

namespace engines {

// No length and no picture side beyond this many pixels is laid out: a bitmap that
// large cannot be made, and sums of such lengths would overflow.
inline constexpr int kMaxPixels = 32767;

inline std::int64_t RoundHalfEven(double x)
{
    double lower = std::floor(x);
    double diff = x - lower;
    if (diff > 0.5) return static_cast<std::int64_t>(lower) + 1;
    if (diff < 0.5) return static_cast<std::int64_t>(lower);
    auto l = static_cast<std::int64_t>(lower);
    return (l % 2 == 0) ? l : l + 1;
}

inline int RoundToInt(double x) { return static_cast<int>(RoundHalfEven(x)); }

}  // namespace engines
