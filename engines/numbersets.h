// The digit patterns, guard patterns and parity tables of the EAN/UPC symbologies
// (ISO/IEC 15420), kept once for every EAN/UPC engine, and the 2- and 5-digit add-on
// encoding that all of them share.
#pragma once

#include <string>
#include <string_view>

#include "canvas.h"
#include "errors.h"

namespace engines {

// Module patterns: '1' a dark module, '0' a light one.
inline constexpr std::string_view kStartGuard = "101";
inline constexpr std::string_view kCentreGuard = "01010";
inline constexpr std::string_view kEndGuard = "101";
// UPC-E has no centre guard; its end guard is six modules long.
inline constexpr std::string_view kUpceEndGuard = "010101";
inline constexpr std::string_view kAddOnStart = "1011";
inline constexpr std::string_view kAddOnSeparator = "01";
inline constexpr int kDigitModules = 7;

// The 7-module pattern of a digit in number set 'A', 'B' or 'C'; empty when the set
// or the digit is none of those.
std::string_view DigitPattern(char set, char digit);
// The same for a one-character text; empty for any other text, so that a caller that
// appends it keeps what it held.
inline std::string_view DigitPattern(char set, std::string_view digit)
{
    return digit.size() == 1 ? DigitPattern(set, digit.front()) : std::string_view{};
}

// The number sets of EAN-13 digits 2 to 7 as six set letters ("AABABB"), chosen by
// the leading digit; empty when the leading character is no digit.
std::string_view LeadingDigitSets(char leading);

// The number sets of the six UPC-E digits (number system 0) as six set letters
// ("BAABBA"), chosen by the check digit that they carry; empty for a non-digit.
std::string_view UpceParitySets(char check);

// The value of one digit character. Any other character raises ConvertError naming
// it, as the conversion of that one-character text would.
int ConvertDigit(char c);

// The check digit of EAN/UPC digits: weights 3 and 1 alternating from the rightmost
// digit; value turns each character into its digit (and may refuse it).
template <class Value>
int CheckDigitOf(std::string_view digits, Value value)
{
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) sum += ((digits.size() - i) % 2 == 1 ? 3 : 1) * value(digits[i]);
    return (10 - sum % 10) % 10;
}

// Whether a text is as long as an add-on: 2 or 5 characters.
inline bool IsAddOnLength(std::size_t length) { return length == 2 || length == 5; }
// Modules an add-on of that many digits adds to a symbol's picture: the 12-module gap
// before it and its own 20 or 47 modules; none for another length.
inline constexpr int AddOnStripModules(std::size_t digits) { return digits == 2 ? 32 : digits == 5 ? 59 : 0; }

// Where an engine paints an add-on: the left edge of its first module, the module
// width, the bars' top and bottom, the digits' top, how many modules right of its
// group's first bar module a digit starts, and the font to assign before each digit
// (none: the one the canvas has).
struct AddOnPlace {
    int left, module, top, bottom, textY, textShift;
    Rgb barColor;
    const Font* font;
};
// The add-on's bars and, above each group, its digit on a white box.
void PaintAddOn(Canvas& canvas, std::string_view modules, const std::string& digits, const AddOnPlace& place);

// The add-on module string: "1011", then each digit in the set its parity table gives,
// "01" between digits. A text of neither 2 nor 5 characters gives "1011" alone; a
// character other than '0' to '9' raises ConvertError.
std::string EncodeSupplemental(const std::string& text);

}  // namespace engines
