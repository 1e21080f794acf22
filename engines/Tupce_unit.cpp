// UPC-E: zero suppression back to UPC-A for the check digit, the parity encoding that
// carries it, and the layout with the digits placed by module count alone.
#include "Tupce_unit.h"

#include <array>
#include <string_view>

#include "numbersets.h"

namespace engines {
namespace {

constexpr std::size_t kDigits = 6;

// The published zero-suppression rule, by the last digit d6: d1 to d5 keep their order,
// with a fill of five digits after the first `kept` of them.
struct Expansion {
    std::size_t kept;
    std::string_view fill;
};
constexpr std::array<Expansion, 10> kExpansions{{{2, "00000"},
                                                 {2, "10000"},
                                                 {2, "20000"},
                                                 {3, "00000"},
                                                 {4, "00000"},
                                                 {5, "00005"},
                                                 {5, "00006"},
                                                 {5, "00007"},
                                                 {5, "00008"},
                                                 {5, "00009"}}};

constexpr std::array<BarRun, 3> kRuns{{
    {1, 3, true, -1},    // start guard
    {4, 45, false, 0},   // the six digits
    {46, 51, true, -1},  // end guard
}};

// The digits under the bars stand 7 modules less a text column right of their group.
constexpr SymbolLayout kLayout{Tupce::kModules, kRuns, 0, 6, 63};

}  // namespace

std::string Tupce::Expand(std::string_view six)
{
    if (six.size() != kDigits) return {};
    for (char c : six) ConvertDigit(c);
    const Expansion& rule = kExpansions[static_cast<std::size_t>(ConvertDigit(six[5]))];
    std::string upcA = "0";
    upcA += six.substr(0, rule.kept);
    upcA += rule.fill;
    upcA += six.substr(rule.kept, 5 - rule.kept);
    return upcA;
}

std::string Tupce::ExpandToUpcA() const
{
    if (Message().size() < kDigits) return {};
    return std::string(1, CheckDigit(Expand(std::string_view(Message()).substr(0, kDigits))));
}

std::string Tupce::StandardForm(std::string_view upcA)
{
    if (upcA.size() != 11 || upcA[0] != '0') return {};
    for (char c : upcA) ConvertDigit(c);
    // Manufacturer m1 to m5, item p1 to p5; the first rule that fits is the standard's.
    const std::string_view m = upcA.substr(1, 5), p = upcA.substr(6, 5);
    const std::string m12(m.substr(0, 2));
    if (m.substr(3) == "00" && m[2] <= '2' && p.substr(0, 2) == "00") return m12 + std::string(p.substr(2)) + m[2];
    if (m.substr(3) == "00" && p.substr(0, 3) == "000") return std::string(m.substr(0, 3)) + std::string(p.substr(3)) + '3';
    if (m[4] == '0' && p.substr(0, 4) == "0000") return std::string(m.substr(0, 4)) + p[4] + '4';
    if (m[4] != '0' && p.substr(0, 4) == "0000" && p[4] >= '5') return std::string(m) + p[4];
    return {};
}

std::string Tupce::Encode(const std::string& text) const
{
    if (text.size() != kDigits) return {};
    const std::string check = ExpandToUpcA();
    if (check.empty()) return {};
    const std::string_view sets = UpceParitySets(check[0]);
    std::string modules(kStartGuard);
    for (std::size_t i = 0; i < kDigits; ++i) {
        // A non-digit has no pattern: it is refused rather than left out.
        ConvertDigit(text[i]);
        modules += DigitPattern(sets[i], text[i]);
    }
    modules += kUpceEndGuard;
    return modules;
}

void Tupce::Draw() const
{
    const std::string modules = Encode(Message());
    if (modules.empty()) return;
    PaintSymbol(kLayout, modules, "0", Message(), ExpandToUpcA());
}

void Tupce::DrawSupplemental() const { PaintAddOn(kLayout, Supplemental); }

}  // namespace engines
