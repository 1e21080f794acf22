// ITF-14: the check digit and the Interleaved 2 of 5 patterns.
#include "itf14.h"

#include <array>
#include <algorithm>
#include <cmath>

#include "code128.h"
#include "gs1.h"

namespace engines {
namespace {

// The five elements of each digit, '1' wide: two of five are wide, with weights 1, 2,
// 4, 7 and 0 summing to the digit (0 is 4 + 7).
constexpr std::array<std::string_view, 10> kDigitPatterns{"00110", "10001", "01001", "11000", "00101",
                                                          "10100", "01100", "00011", "10010", "01010"};

}  // namespace

Itf14Symbol EncodeItf14(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            throw EncodeError(NameCharacter(text, i) + " is not a digit: ITF-14 takes 13 digits, or 14 with the check digit.");
    if (text.size() != 13 && text.size() != 14)
        throw EncodeError("ITF-14 takes 13 digits, or 14 with the check digit; this has " + std::to_string(text.size()) + ".");
    Itf14Symbol symbol;
    const char check = static_cast<char>('0' + Gs1CheckDigit(text.substr(0, 13)));
    if (text.size() == 14 && text[13] != check)
        throw EncodeError(WrongCheckDigit(text[13], check));
    symbol.digits = std::string(text.substr(0, 13)) + check;

    symbol.wide.assign(4, false);
    for (std::size_t i = 0; i < symbol.digits.size(); i += 2) {
        const std::string_view bars = kDigitPatterns[static_cast<std::size_t>(symbol.digits[i] - '0')];
        const std::string_view spaces = kDigitPatterns[static_cast<std::size_t>(symbol.digits[i + 1] - '0')];
        for (std::size_t k = 0; k < 5; ++k) {
            symbol.wide.push_back(bars[k] == '1');
            symbol.wide.push_back(spaces[k] == '1');
        }
    }
    symbol.wide.insert(symbol.wide.end(), {true, false, false});
    return symbol;
}

std::vector<int> Itf14PixelWidths(const std::vector<bool>& wide, int narrow, double ratio)
{
    if (narrow < 1) throw EncodeError("The narrow element must be at least 1 pixel wide.");
    if (!(ratio >= kItf14MinRatio && ratio <= kItf14MaxRatio))
        throw EncodeError("ITF-14's wide:narrow ratio must be 2.25 to 3.0.");
    // Guards against a narrow width whose wide one would overflow an int.
    if (narrow > 100000) throw EncodeError("The narrow element is too wide: at most 100000 pixels.");
    const auto lowest = static_cast<int>(std::ceil(kItf14MinRatio * narrow));
    const auto highest = static_cast<int>(std::floor(kItf14MaxRatio * narrow));
    const int wideWidth = std::clamp(static_cast<int>(std::floor(ratio * narrow + 0.5)), lowest, highest);
    std::vector<int> widths;
    widths.reserve(wide.size());
    for (bool w : wide) widths.push_back(w ? wideWidth : narrow);
    return widths;
}

}  // namespace engines
