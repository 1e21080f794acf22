// Every length becomes pixels through this one rounding: halves go to the even
// neighbour, so 2.5 gives 2 and 3.5 gives 4 on every device.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace engines {

// No length and no picture side beyond this many pixels is laid out: a bitmap that
// large cannot be made, and sums of such lengths would overflow.
inline constexpr int kMaxPixels = 32767;
// Nor is a picture of more pixels than this drawn, 64 MB at 32 bits a pixel: it holds
// the largest sheet a printer takes (A0, 33.1 x 46.8 inches, 14.3 million pixels at
// 96 dpi), and a build of it, with the work bitmap and the clipboard's copy, stays
// near a second and a few hundred MB. A side of 32767 pixels across the whole other
// side would be 4 GB.
inline constexpr std::int64_t kMaxPictureArea = std::int64_t{1} << 24;

// Defined for every double, because pasted text can carry any number here: NaN gives
// 0, and values beyond the int64 range (infinities included) give its nearest end, so
// a huge length stays huge instead of wrapping round to a small or negative one.
inline std::int64_t RoundHalfEven(double x)
{
    using Limits = std::numeric_limits<std::int64_t>;
    if (std::isnan(x)) return 0;
    // -2^63 is exact in a double; 2^63 is the first double beyond int64.
    constexpr double kTwo63 = 9223372036854775808.0;
    if (x >= kTwo63) return Limits::max();
    if (x <= -kTwo63) return Limits::min();
    const double lower = std::floor(x);
    const double diff = x - lower;
    const auto l = static_cast<std::int64_t>(lower);
    if (diff > 0.5) return l + 1;
    if (diff < 0.5) return l;
    return (l % 2 == 0) ? l : l + 1;
}

// The same rounding, saturated to the int range instead of wrapping.
inline int RoundToInt(double x)
{
    const std::int64_t rounded = RoundHalfEven(x);
    if (rounded > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (rounded < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

}  // namespace engines
