// UPC-E engine: the six digits of a zero-suppressed UPC-A message, number system 0,
// whose check digit is carried by the number sets of the digits alone. Builds the
// 51-module pattern and paints it through the layout of the bar symbol base.
// The build path runs it once, on a recording canvas; every output replays that recording.
#pragma once

#include <string>
#include <string_view>

#include "barproperty.h"
#include "numbersets.h"

namespace engines {

class Tupce : public Tbar {
public:
    static constexpr int kModules = 51;
    // The add-on digits, empty, 2 or 5 of them; the build path assigns them directly.
    std::string Supplemental;

    // The 7-module pattern of a digit in number set A or B; nothing for a non-digit.
    static std::string_view NumberSetA(std::string_view digit) { return DigitPattern('A', digit); }
    static std::string_view NumberSetB(std::string_view digit) { return DigitPattern('B', digit); }

    // The check digit of the UPC-A message that the six digits of Message stand for, as
    // one character; the empty text when Message is shorter than six characters. A
    // non-digit among the six raises ConvertError ("'x' is not a valid integer value").
    std::string ExpandToUpcA() const;
    // The 11-digit UPC-A message that six UPC-E digits stand for; the empty text for
    // another length. A non-digit raises ConvertError.
    static std::string Expand(std::string_view six);
    // The six digits the standard's zero suppression gives for an 11-digit UPC-A message
    // of number system 0; the empty text where none does. Several six-digit messages
    // expand to one number, but only this one is its standard form.
    static std::string StandardForm(std::string_view upcA);
    // The 51-module string of six digits, in the number sets that ExpandToUpcA's check
    // digit selects; the empty text for another length or an empty expansion. A non-digit
    // raises ConvertError. Message is left as it is.
    std::string Encode(const std::string& text) const;
    // Encodes Message and paints the symbol; paints nothing for a message that Encode
    // gives no module string for. A non-digit raises before anything is painted.
    void Draw() const;
    // The add-on right of the symbol, for Supplemental of 2 or 5 characters; a non-digit
    // raises ConvertError before any of it is painted.
    void DrawSupplemental() const;
};

}  // namespace engines
