// The UPC-A layout: the number system digit left of the bars and the check digit right
// of them, both also encoded under full-length bars; five digits under each half.
#include "Tupc_a_barunit.h"

#include <array>

namespace engines {
namespace {

constexpr std::size_t kMessageDigits = 11;
constexpr std::size_t kSetADigits = 6;

constexpr std::array<BarRun, 5> kRuns{{
    {1, 10, true, -1},   // start guard, number system digit
    {11, 45, false, 1},  // digits 2 to 6
    {46, 50, true, -1},  // centre guard
    {51, 85, false, 6},  // digits 7 to 11
    {86, 95, true, -1},  // check digit, end guard
}};

constexpr SymbolLayout kLayout{Tupc_a::kModules, kRuns, 1, -1, 107};

}  // namespace

std::string Tupc_a::Encode(const std::string& text) { return EncodeWithCheckDigit(text, kMessageDigits, kSetADigits); }

void Tupc_a::Draw()
{
    const std::string modules = Encode(Message());
    if (modules.empty()) return;
    const std::string& digits = Message();
    PaintSymbol(kLayout, modules, digits.substr(0, 1), digits, digits.substr(kMessageDigits, 1));
}

void Tupc_a::DrawSupplemental() const { PaintAddOn(kLayout, Supplemental); }

}  // namespace engines
