// The one rounding of lengths to pixels, for every bit pattern of a double: NaN gives
// 0, values beyond int64 its nearest end, every other value the integer nearest to it
// with halves to the even neighbour (the same as nearbyint in the default rounding
// mode), and RoundToInt is that integer saturated to the int range.
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "check.h"
#include "engines/rounding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size != sizeof(double)) return -1;
    double x = 0;
    std::memcpy(&x, data, sizeof x);
    using Limits = std::numeric_limits<std::int64_t>;
    const std::int64_t r = engines::RoundHalfEven(x);
    if (std::isnan(x)) {
        FUZZ_CHECK(r == 0);
    } else if (x >= 9223372036854775808.0) {
        FUZZ_CHECK(r == Limits::max());
    } else if (x <= -9223372036854775808.0) {
        FUZZ_CHECK(r == Limits::min());
    } else {
        FUZZ_CHECK(std::fegetround() == FE_TONEAREST);
        FUZZ_CHECK(r == static_cast<std::int64_t>(std::nearbyint(x)));
        const long double diff = static_cast<long double>(x) - static_cast<long double>(r);
        FUZZ_CHECK(diff <= 0.5L && diff >= -0.5L);
        if (diff == 0.5L || diff == -0.5L) FUZZ_CHECK(r % 2 == 0);
    }
    const int i = engines::RoundToInt(x);
    const std::int64_t clamped = std::clamp<std::int64_t>(r, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    FUZZ_CHECK(i == clamped);
    return 0;
}
