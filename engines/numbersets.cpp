// EAN/UPC pattern and parity tables and the add-on encoding. Set B is set A read
// backwards with every module inverted, set C is set A inverted; the tables spell all
// three out so that each can be checked against the published ones at a glance.
#include "numbersets.h"

#include <array>

namespace engines {
namespace {

constexpr std::array<std::string_view, 10> kSetA{"0001101", "0011001", "0010011", "0111101", "0100011",
                                                 "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr std::array<std::string_view, 10> kSetB{"0100111", "0110011", "0011011", "0100001", "0011101",
                                                 "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr std::array<std::string_view, 10> kSetC{"1110010", "1100110", "1101100", "1000010", "1011100",
                                                 "1001110", "1010000", "1000100", "1001000", "1110100"};

// Leading digit 0 to 9: number sets of EAN-13 digits 2 to 7.
constexpr std::array<std::string_view, 10> kLeadingDigitSets{"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                                             "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

// UPC-E, number system 0: by the check digit, which is carried by the parities alone.
constexpr std::array<std::string_view, 10> kUpceParitySets{"BBBAAA", "BBABAA", "BBAABA", "BBAAAB", "BABBAA",
                                                           "BAABBA", "BAAABB", "BABABA", "BABAAB", "BAABAB"};

// 2-digit add-on: by the add-on's value mod 4.
constexpr std::array<std::string_view, 4> kTwoDigitAddOnSets{"AA", "AB", "BA", "BB"};

// 5-digit add-on: by its check value, which is carried by the parities alone.
constexpr std::array<std::string_view, 10> kFiveDigitAddOnSets{"BBAAA", "BABAA", "BAABA", "BAAAB", "ABBAA",
                                                               "AABBA", "AAABB", "ABABA", "ABAAB", "AABAB"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string NotAnInteger(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

// The two digits taken as one number, as the add-on's parity rule reads them.
int TwoDigitValue(const std::string& text)
{
    if (!IsDigit(text[0]) || !IsDigit(text[1])) throw ConvertError(NotAnInteger(text));
    return (text[0] - '0') * 10 + (text[1] - '0');
}

// Each digit is converted on its own, so a stray character is named alone.
int FiveDigitCheck(const std::string& text)
{
    int weighted = 0;
    for (std::size_t i = 0; i < text.size(); ++i) weighted += (i % 2 == 0 ? 3 : 9) * ConvertDigit(text[i]);
    return weighted % 10;
}

}  // namespace

std::string_view DigitPattern(char set, char digit)
{
    if (!IsDigit(digit)) return {};
    const auto d = static_cast<std::size_t>(digit - '0');
    switch (set) {
    case 'A': return kSetA[d];
    case 'B': return kSetB[d];
    case 'C': return kSetC[d];
    default: return {};
    }
}

std::string_view LeadingDigitSets(char leading)
{
    return IsDigit(leading) ? kLeadingDigitSets[static_cast<std::size_t>(leading - '0')] : std::string_view{};
}

std::string_view UpceParitySets(char check)
{
    return IsDigit(check) ? kUpceParitySets[static_cast<std::size_t>(check - '0')] : std::string_view{};
}

int ConvertDigit(char c)
{
    if (!IsDigit(c)) throw ConvertError(NotAnInteger(std::string(1, c)));
    return c - '0';
}

std::string EncodeSupplemental(const std::string& text)
{
    std::string modules(kAddOnStart);
    std::string_view sets;
    if (text.size() == 2)
        sets = kTwoDigitAddOnSets[static_cast<std::size_t>(TwoDigitValue(text) % 4)];
    else if (text.size() == 5)
        sets = kFiveDigitAddOnSets[static_cast<std::size_t>(FiveDigitCheck(text))];
    else
        return modules;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0) modules += kAddOnSeparator;
        modules += DigitPattern(sets[i], text[i]);
    }
    return modules;
}

void PaintAddOn(Canvas& canvas, std::string_view modules, const std::string& digits, const AddOnPlace& place)
{
    const int count = static_cast<int>(modules.size()), m = place.module;
    for (int k = 1; k <= count; ++k) {
        const int left = place.left + (k - 1) * m;
        if (modules[static_cast<std::size_t>(k - 1)] == '1') {
            canvas.SetBrushColor(place.barColor);
            canvas.FillRect(left, place.top, left + m, place.bottom);
        }
        // A digit over every group of nine modules, the first after the start pattern.
        if (k >= 5 && (k - 5) % 9 == 0) {
            canvas.SetBrushColor(kWhite);
            if (place.font) canvas.SetFont(*place.font);
            canvas.TextOut(left + place.textShift * m, place.textY, digits.substr(static_cast<std::size_t>((k - 5) / 9), 1));
        }
    }
}

}  // namespace engines
