// EAN-8 engine: appends the check digit to a 7-digit message, builds the 67-module
// pattern and paints bars, the human-readable digits, the comment line and the 2- or
// 5-digit add-on through the layout of the bar symbol base.
// The build path runs it once, on a recording canvas; every output replays that recording.
#pragma once

#include <string>
#include <string_view>

#include "barproperty.h"
#include "numbersets.h"

namespace engines {

class Tean8 : public Tbar {
public:
    static constexpr int kModules = 67;
    // The add-on digits, empty, 2 or 5 of them; the build path assigns them directly.
    std::string Supplemental;

    // The 7-module pattern of a digit in number set A, B or C; nothing for a non-digit.
    static std::string_view NumberSetA(std::string_view digit) { return DigitPattern('A', digit); }
    static std::string_view NumberSetB(std::string_view digit) { return DigitPattern('B', digit); }
    static std::string_view NumberSetC(std::string_view digit) { return DigitPattern('C', digit); }

    // The 67-module string of a 7-digit message, whose check digit is appended to
    // Message; the empty text for another length, Message then unchanged. A non-digit
    // raises ConvertError ("'x' is not a valid integer value") before anything changes.
    std::string Encode(const std::string& text);
    // Encodes Message and paints the symbol. Once per engine: Message then holds eight
    // digits, which a second Draw, like any other length, paints nothing for.
    void Draw();
    // The add-on right of the symbol, for Supplemental of 2 or 5 characters; a non-digit
    // raises ConvertError before any of it is painted.
    void DrawSupplemental() const;
};

}  // namespace engines
