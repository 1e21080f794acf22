// EAN-13 encoding and painting. Lengths arrive in inches and become pixels at the
// engine's resolution only while drawing; a length too long to lay out stops the
// drawing before any pixel arithmetic could overflow.
#include "ena13unit.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "numbersets.h"
#include "rounding.h"

namespace engines {
namespace {

constexpr std::size_t kSetB = 10;
constexpr std::size_t kSetC = 20;
constexpr std::size_t kStartGuardAt = 30;
constexpr std::size_t kCentreGuardAt = 31;
constexpr std::size_t kEndGuardAt = 32;
constexpr std::size_t kMessageDigits = 12;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
std::size_t DigitValue(char c) { return static_cast<std::size_t>(c - '0'); }

bool FitsPixels(double pixels) { return std::fabs(pixels) <= kMaxPixels; }

// A side of the picture, or INT32_MAX when it cannot be laid out.
int Side(std::int64_t pixels) { return FitsPixels(static_cast<double>(pixels)) ? static_cast<int>(pixels) : INT32_MAX; }

std::string AsGuard(std::string_view modules)
{
    std::string guard;
    for (char c : modules) guard += c == '1' ? TENA13::kGuardBar : TENA13::kGuardSpace;
    return guard;
}

}  // namespace

TENA13::TENA13()
{
    for (char digit = '0'; digit <= '9'; ++digit) {
        patterns[DigitValue(digit)] = DigitPattern('A', digit);
        patterns[kSetB + DigitValue(digit)] = DigitPattern('B', digit);
        patterns[kSetC + DigitValue(digit)] = DigitPattern('C', digit);
    }
    patterns[kStartGuardAt] = AsGuard(kStartGuard);
    patterns[kCentreGuardAt] = AsGuard(kCentreGuard);
    patterns[kEndGuardAt] = AsGuard(kEndGuard);
}

int TENA13::CheckDigit(const std::string& text)
{
    if (text.size() != kMessageDigits) return -1;
    for (char c : text)
        if (!IsDigit(c)) return -2;
    return CheckDigitOf(text, [](char c) { return static_cast<int>(DigitValue(c)); });
}

std::string TENA13::Encode(const std::string& text) const
{
    std::string modules = patterns[kStartGuardAt];
    // The leading digit is carried by the number sets of the next six digits.
    const std::string_view sets = text.empty() ? std::string_view{} : LeadingDigitSets(text[0]);
    if (sets.empty()) return modules;
    const int check = CheckDigit(text);
    if (check < 0) return {};
    const std::string digits = text.substr(1) + static_cast<char>('0' + check);
    for (std::size_t i = 0; i < 6; ++i)
        modules += patterns[(sets[i] == 'B' ? kSetB : 0) + DigitValue(digits[i])];
    modules += patterns[kCentreGuardAt];
    for (std::size_t i = 6; i < 12; ++i) modules += patterns[kSetC + DigitValue(digits[i])];
    modules += patterns[kEndGuardAt];
    return modules;
}

std::string TENA13::EncodeSupplemental(const std::string& text) { return engines::EncodeSupplemental(text); }

// Every length the engine holds, at its resolution, and the font size used as pixels.
bool TENA13::LengthsFit() const
{
    for (double inches : {codeHeight, codeWidth, commentX, commentY, intervalSpace, leftMargin, rightMargin,
                          topMargin, bottomMargin})
        if (!FitsPixels(inches * resolution)) return false;
    return FitsPixels(FontPixels());
}

int TENA13::Pixels(double inches) const { return RoundToInt(inches * resolution); }

int TENA13::SupplementalWidth() const
{
    if (!LengthsFit()) return INT32_MAX;
    if (!IsAddOnLength(supplemental.size())) return 0;
    return RoundToInt(resolution * codeWidth / kModules * AddOnStripModules(supplemental.size()));
}

int TENA13::SymbolWidth() const
{
    if (!LengthsFit()) return INT32_MAX;
    return Side(std::int64_t{Pixels(codeWidth + leftMargin + rightMargin)} + SupplementalWidth());
}

int TENA13::SymbolHeight() const
{
    if (!LengthsFit()) return INT32_MAX;
    return Side(Pixels(codeHeight + topMargin + bottomMargin));
}

void TENA13::DrawComment() const
{
    if (!canvas) return;
    if (font) canvas->SetFont(*font);
    if (comment.empty() || !LengthsFit()) return;
    canvas->TextOut(Pixels(commentX) - 10, Pixels(commentY), comment);
}

void TENA13::Draw(double x, double y) const
{
    if (!canvas || !LengthsFit() || !FitsPixels(x * resolution) || !FitsPixels(y * resolution)) return;
    const std::string modules = Encode(message);
    if (modules.size() != static_cast<std::size_t>(kModules)) return;

    const int xp = Pixels(x), yp = Pixels(y), fs = FontPixels();
    // A comment line takes one more interval and one more text row from the bars.
    const int h = comment.empty() ? Pixels(codeHeight - 2.5 * intervalSpace) - fs
                                  : Pixels(codeHeight - 3.5 * intervalSpace) - 2 * fs;
    // Guard bars reach 6 % below the data bars; all bars share the top edge.
    const int g = h + RoundToInt(0.06 * h);
    // The module width drops the remainder, so the bars may end short of CodeWidth.
    const int m = Pixels(codeWidth) / kModules;

    canvas->SetBrushColor(barColor);
    for (int k = 0; k < kModules; ++k) {
        const int left = xp + k * m;
        const char module = modules[static_cast<std::size_t>(k)];
        if (module == kGuardBar) canvas->FillRect(left, yp, left + m, yp + g);
        if (module == '1') canvas->FillRect(left, yp, left + m, yp + h);
    }

    // Digits come after the bars, on white boxes, each at the left edge of its group;
    // the leading digit stands left of the start guard.
    canvas->SetBrushColor(kWhite);
    const std::string text = message + static_cast<char>('0' + CheckDigit(message));
    const int top = yp + h + Pixels(0.5 * intervalSpace);
    canvas->TextOut(xp - fs - m, top, text.substr(0, 1));
    for (int i = 1; i <= 6; ++i) canvas->TextOut(xp + (3 + 7 * (i - 1)) * m, top, text.substr(static_cast<std::size_t>(i), 1));
    for (int i = 7; i <= 12; ++i) canvas->TextOut(xp + (50 + 7 * (i - 7)) * m, top, text.substr(static_cast<std::size_t>(i), 1));
}

void TENA13::DrawSupplemental(int x, int y) const
{
    if (!canvas || !LengthsFit() || !FitsPixels(x) || !FitsPixels(y) || !IsAddOnLength(supplemental.size())) return;
    const std::string modules = EncodeSupplemental(supplemental);

    const int fs = FontPixels();
    const int hs = Pixels(codeHeight - 2.5 * intervalSpace) - 2 * fs;
    // Rounded, unlike the main symbol's truncated module width: the two may differ.
    const int mw = RoundToInt(resolution * codeWidth / kModules);
    // A comment line moves the add-on's digits and both ends of its bars down two rows.
    const int shift = comment.empty() ? 0 : 2 * fs;
    const int top = RoundToInt(y + shift + fs + intervalSpace * resolution);
    const int bottom = y + hs + shift;
    // Each digit stands above its group, one module in from the group's left edge, in
    // the font DrawComment assigned.
    PaintAddOn(*canvas, modules, supplemental, {x, mw, top, bottom, y + shift, 1, barColor, nullptr});
}

}  // namespace engines
