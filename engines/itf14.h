// ITF-14 (ISO/IEC 16390, as GS1 uses it on cartons): the 14 digits of a GTIN on a
// shipping carton in Interleaved 2 of 5, as narrow and wide elements. The widths in
// pixels come from the narrow width and the wide:narrow ratio the drawing asks for.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "errors.h"

namespace engines {

// ITF-14's wide elements are 2.25 to 3 times the narrow ones.
inline constexpr double kItf14MinRatio = 2.25;
inline constexpr double kItf14MaxRatio = 3.0;

struct Itf14Symbol {
    // The 14 digits, check digit last: also the human-readable line.
    std::string digits;
    // Start, seven digit pairs and stop, from left to right, bars and spaces
    // alternating, a bar first: true for a wide element. The start is four narrow
    // elements, each pair ten (the first digit in the bars, the second in the spaces),
    // the stop a wide bar, a narrow space and a narrow bar.
    std::vector<bool> wide;
};

// 13 digits get their check digit; 14 must end with the right one. Anything else
// raises EncodeError: a non-digit, another length, a wrong check digit (naming the
// digit expected).
Itf14Symbol EncodeItf14(std::string_view text);

// The elements' widths in pixels: narrow ones `narrow` pixels, wide ones ratio *
// narrow rounded to the nearest pixel (halves up), then kept within 2.25 to 3 times the
// narrow width so that rounding never takes the printed ratio out of that range (a
// 1-pixel narrow element gets 3-pixel wide ones at any ratio). Raises EncodeError
// for a narrow width below 1 pixel or a ratio outside 2.25 to 3.
std::vector<int> Itf14PixelWidths(const std::vector<bool>& wide, int narrow, double ratio);

}  // namespace engines
