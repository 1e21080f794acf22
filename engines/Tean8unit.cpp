// The EAN-8 layout: four digits under each half, and the first and the check digit
// once more outside the bars, in the text columns on either side.
#include "Tean8unit.h"

#include <array>

namespace engines {
namespace {

constexpr std::size_t kMessageDigits = 7;
constexpr std::size_t kSetADigits = 4;

// Module 64, the check digit's last, is always light: the full-length run that starts
// there paints the end guard alone.
constexpr std::array<BarRun, 5> kRuns{{
    {1, 3, true, -1},    // start guard
    {4, 31, false, 0},   // digits 1 to 4
    {32, 36, true, -1},  // centre guard
    {37, 63, false, 4},  // digits 5 to 7 and the check digit
    {64, 67, true, -1},  // end guard
}};

constexpr SymbolLayout kLayout{Tean8::kModules, kRuns, 1, -1, 79};

}  // namespace

std::string Tean8::Encode(const std::string& text) { return EncodeWithCheckDigit(text, kMessageDigits, kSetADigits); }

void Tean8::Draw()
{
    const std::string modules = Encode(Message());
    if (modules.empty()) return;
    const std::string& digits = Message();
    PaintSymbol(kLayout, modules, digits.substr(0, 1), digits, digits.substr(kMessageDigits, 1));
}

void Tean8::DrawSupplemental() const { PaintAddOn(kLayout, Supplemental); }

}  // namespace engines
