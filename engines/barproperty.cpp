// Layout and painting shared by the UPC-A, EAN-8 and UPC-E engines. Lengths arrive in
// pixels (module width, bar height) or mils (page values) and are kept as pixels; a
// value beyond kMaxPixels is held as kTooLarge and carried into every sum made of it, so
// no pixel arithmetic can overflow and nothing is painted from it.
#include "barproperty.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "environment.h"
#include "numbersets.h"
#include "rounding.h"

namespace engines {
namespace {

constexpr int kTooLarge = Tbar::kTooLarge;

int Checked(std::int64_t pixels)
{
    return pixels >= -kMaxPixels && pixels <= kMaxPixels ? static_cast<int>(pixels) : kTooLarge;
}

// A sum of pixel lengths: too large when a part is, or when the total is.
int Sum(std::initializer_list<std::int64_t> parts)
{
    std::int64_t total = 0;
    for (std::int64_t part : parts) {
        if (part == kTooLarge) return kTooLarge;
        total += part;
    }
    return Checked(total);
}


}  // namespace

void Tbar::ReadResolution() { resolution = givenResolution > 0 ? givenResolution : ScreenResolution(); }

void Tbar::SetResolution(int dpi)
{
    givenResolution = dpi;
    ReadResolution();
}

void Tbar::SetFont(const Font* textFont)
{
    font = textFont;
    CalcBarTop();
    CalcBodyHeight();
}

void Tbar::SetModuleWidth(int pixels)
{
    moduleWidth = pixels;
    CalcBarsWidth();
}

void Tbar::SetModuleCount(int modules)
{
    moduleCount = modules;
    CalcBarsWidth();
}

void Tbar::SetBarHeight(int pixels)
{
    barHeight = pixels;
    CalcBodyHeight();
}

void Tbar::SetComment(const std::string& text)
{
    comment = text;
    CalcBarTop();
}

void Tbar::SetLeftSpace(double mils)
{
    leftSpace = mils;
    CalcOriginX();
    CalcSymbolWidth();
}

void Tbar::SetTopSpace(double mils)
{
    topSpace = mils;
    CalcBarTop();
    CalcSymbolHeight();
}

void Tbar::SetRightSpace(double mils)
{
    rightSpace = mils;
    CalcSymbolWidth();
}

void Tbar::SetDownSpace(double mils)
{
    downSpace = mils;
    CalcSymbolHeight();
}

void Tbar::SetInterval(double mils)
{
    interval = mils;
    CalcBarTop();
    CalcBodyHeight();
}

void Tbar::CalcBarsWidth()
{
    barsWidth = Checked(std::int64_t{moduleCount} * moduleWidth);
    CalcSymbolWidth();
}

// One column of F pixels on each side of the bars holds the digits that stand outside
// them; the spaces are summed before they are rounded.
void Tbar::CalcSymbolWidth()
{
    ReadResolution();
    const int f = FontPixels();
    symbolWidth = Sum({f, f, Px(leftSpace + rightSpace), barsWidth});
}

void Tbar::CalcOriginX()
{
    ReadResolution();
    originX = Px(leftSpace);
}

// A comment line takes one text row above the bars.
void Tbar::CalcBarTop()
{
    ReadResolution();
    barTop = Sum({Px(topSpace + interval), comment.empty() ? 0 : FontPixels()});
}

void Tbar::CalcBodyHeight()
{
    ReadResolution();
    const int f = FontPixels();
    bodyHeight = Sum({f, comment.empty() ? 0 : f, Px(interval), Checked(barHeight)});
    CalcSymbolHeight();
}

// The text rows count once more here than in BodyHeight: the room below the digits.
void Tbar::CalcSymbolHeight()
{
    ReadResolution();
    const int f = FontPixels();
    symbolHeight = Sum({f, comment.empty() ? 0 : f, Px(topSpace + downSpace), bodyHeight});
}

int Tbar::Px(double mils) const
{
    const double pixels = mils / 1000 * resolution;
    // Written so that NaN fails the test too.
    return std::fabs(pixels) <= kMaxPixels ? RoundToInt(pixels) : kTooLarge;
}

int Tbar::FontPixels() const { return font ? Checked(font->size) : 0; }

bool Tbar::InputsFit() const
{
    for (int pixels : {FontPixels(), Checked(moduleWidth), Checked(barHeight), Px(leftSpace), Px(topSpace),
                       Px(rightSpace), Px(downSpace), Px(interval)})
        if (pixels == kTooLarge) return false;
    return true;
}

int Tbar::SymbolWidth() const { return InputsFit() ? symbolWidth : kTooLarge; }

int Tbar::SymbolHeight() const { return InputsFit() ? symbolHeight : kTooLarge; }

// Whether a picture modulesAcross modules wide, with a digit column on either side,
// the bars, the interval and a text row below its top lies within kMaxPixels.
bool Tbar::PaintingFits(int modulesAcross) const
{
    if (!canvas || !InputsFit()) return false;
    const int f = FontPixels();
    return Sum({originX, f, f, std::int64_t{modulesAcross} * moduleWidth}) != kTooLarge &&
           Sum({barTop, barHeight, Px(interval), f}) != kTooLarge;
}

std::string Tbar::EncodeSupplemental(const std::string& text) { return engines::EncodeSupplemental(text); }

char Tbar::CheckDigit(std::string_view digits)
{
    return static_cast<char>('0' + CheckDigitOf(digits, ConvertDigit));
}

std::string Tbar::EncodeWithCheckDigit(const std::string& text, std::size_t digits, std::size_t leftDigits)
{
    if (text.size() != digits) return {};
    const char check = CheckDigit(text);
    std::string modules(kStartGuard);
    for (std::size_t i = 0; i < digits; ++i) {
        if (i == leftDigits) modules += kCentreGuard;
        modules += DigitPattern(i < leftDigits ? 'A' : 'C', text[i]);
    }
    modules += DigitPattern('C', check);
    modules += kEndGuard;
    // Last, because text may be Message itself.
    message += check;
    return modules;
}

void Tbar::PaintSymbol(const SymbolLayout& layout, std::string_view modules, std::string_view leftDigit,
                       std::string_view digits, std::string_view rightDigit) const
{
    // The right digit stands in the digit column after the last module, which
    // PaintingFits counts already: a picture that SymbolWidth fits is painted whole.
    if (modules.size() != static_cast<std::size_t>(layout.modules) || !PaintingFits(layout.modules)) return;
    const int f = FontPixels(), m = moduleWidth, h = barHeight;
    // Data bars are 14/15 of the guard bars; the digits stand an interval below them.
    const int shortBottom = RoundToInt(h / 15.0 * 14 + barTop);
    const int textY = RoundToInt(interval / 1000 * resolution + h / 15.0 * 14 + barTop);
    const auto moduleX = [&](int i) { return f + originX + (i - 1) * m; };
    const auto digit = [](std::string_view s, std::size_t at) {
        return std::string(s.substr(std::min(at, s.size()), 1));
    };

    // Each digit's white box goes down before the bars after it, which cover it again
    // where it reaches into them.
    canvas->SetBrushColor(kWhite);
    if (font) canvas->SetFont(*font);
    canvas->TextOut(originX, textY, std::string(leftDigit));
    for (const BarRun& run : layout.runs) {
        for (int i = run.first; i <= run.last; ++i) {
            if (modules[static_cast<std::size_t>(i - 1)] == '1') {
                canvas->SetBrushColor(barColor);
                canvas->FillRect(moduleX(i), barTop, moduleX(i) + m, run.full ? barTop + h : shortBottom);
            }
            if (run.firstDigit >= 0 && (i - run.first) % kDigitModules == 0) {
                canvas->SetBrushColor(kWhite);
                const auto at = static_cast<std::size_t>(run.firstDigit + (i - run.first) / kDigitModules);
                const int x = originX + layout.digitFonts * f + (i + layout.digitShift) * m;
                canvas->TextOut(x, textY, digit(digits, at));
            }
        }
    }
    canvas->SetBrushColor(kWhite);
    canvas->TextOut(moduleX(layout.modules + 1), textY, std::string(rightDigit));
    if (!comment.empty()) canvas->TextOut(originX, barTop - f - Px(interval), comment);
}

void Tbar::PaintAddOn(const SymbolLayout& layout, const std::string& supplemental) const
{
    if (!IsAddOnLength(supplemental.size())) return;
    const std::string modules = EncodeSupplemental(supplemental);
    const int count = static_cast<int>(modules.size());
    if (!PaintingFits(layout.addOnOffset + count)) return;
    const int f = FontPixels(), m = moduleWidth;
    // The add-on's bars start a text row and an interval below the main bars' top and
    // end level with the guard bars; its digits stand above them.
    const int top = RoundToInt(f + barTop + interval / 1000 * resolution);
    const int bottom = barTop + barHeight;
    engines::PaintAddOn(*canvas, modules, supplemental,
                        {originX + layout.addOnOffset * m, m, top, bottom, barTop, 0, barColor, font});
}

}  // namespace engines
