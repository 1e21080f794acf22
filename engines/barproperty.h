// The base of the UPC-A, EAN-8 and UPC-E engines: the parameters of one build, the
// pixel layout that every setter brings up to date at once, and the painting of bars,
// digits, comment and add-on that the three share, driven by a description of each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "canvas.h"

namespace engines {

// A stretch of main-symbol modules painted alike. Under a run of short data bars a
// human-readable digit stands at every seventh module, from the run's first on.
struct BarRun {
    int first, last;  // modules counted from 1, both included
    bool full;        // full-length guard bars, else short data bars
    int firstDigit;   // index of the run's first digit in the human-readable digits; -1: none
};

// What sets one symbology's picture apart: its modules, how they are painted, where the
// digits under the bars stand and how far right the add-on starts.
struct SymbolLayout {
    int modules;
    std::span<const BarRun> runs;  // in painting order
    // A digit whose group starts at module i stands at
    // x = OriginX + digitFonts × F + (i + digitShift) × M.
    int digitFonts;
    int digitShift;
    // The add-on's first module starts at OriginX + addOnOffset × M.
    int addOnOffset;
};

class Tbar {
public:
    // What a derived length or picture side reads when it cannot be laid out: it, or a
    // length it is made of, lies beyond kMaxPixels or is no number.
    static constexpr int kTooLarge = INT32_MAX;

    // Every setter stores its value and recomputes the derived values that depend on it,
    // each step with the resolution of that moment: the screen's, re-read each time,
    // unless the caller has given the resolution of the device it draws for. The font
    // comes first.
    void ReadResolution();
    // Draws for a device of this many dots per inch from now on; 0 follows the screen again.
    void SetResolution(int dpi);
    void SetCanvas(Canvas* target) { canvas = target; }
    void SetBarColor(Rgb color) { barColor = color; }
    void SetFont(const Font* textFont);
    void SetModuleWidth(int pixels);
    void SetModuleCount(int modules);
    void SetBarHeight(int pixels);
    void SetMessage(const std::string& text) { message = text; }
    // Moves the bars down by a text row without enlarging the picture computed before.
    void SetComment(const std::string& text);
    void SetLeftSpace(double mils);
    void SetTopSpace(double mils);
    void SetRightSpace(double mils);
    void SetDownSpace(double mils);
    void SetInterval(double mils);

    int Resolution() const { return resolution; }
    // The picture size the symbol needs; kTooLarge when it, or any length or page value
    // at Resolution (or the font size), is beyond kMaxPixels or no number.
    int SymbolWidth() const;
    int SymbolHeight() const;

    Rgb BarColor() const { return barColor; }
    int ModuleWidth() const { return moduleWidth; }
    int BarHeight() const { return barHeight; }
    const std::string& Message() const { return message; }
    const std::string& Comment() const { return comment; }
    int ModuleCount() const { return moduleCount; }
    double LeftSpace() const { return leftSpace; }
    double TopSpace() const { return topSpace; }
    double RightSpace() const { return rightSpace; }
    double DownSpace() const { return downSpace; }
    double Interval() const { return interval; }
    int BodyHeight() const { return bodyHeight; }
    int OriginX() const { return originX; }
    int BarTop() const { return barTop; }
    int BarsWidth() const { return barsWidth; }

    // The 2- or 5-digit add-on's module string.
    static std::string EncodeSupplemental(const std::string& text);

protected:
    // UPC-A and EAN-8: a message of exactly `digits` digits, the first `leftDigits` in
    // set A, the rest and the check digit in set C; the check digit is appended to
    // Message. Another length gives the empty text; a non-digit raises ConvertError
    // before anything changes.
    std::string EncodeWithCheckDigit(const std::string& text, std::size_t digits, std::size_t leftDigits);
    // 3, 1, 3, ... weights from the first digit; raises ConvertError for a non-digit.
    static char CheckDigit(std::string_view digits);

    // Left digit, bars with the digits under them, right digit and comment, in that
    // order. Paints nothing unless modules is the layout's whole module string and the
    // symbol can be laid out.
    void PaintSymbol(const SymbolLayout& layout, std::string_view modules, std::string_view leftDigit,
                     std::string_view digits, std::string_view rightDigit) const;
    // The add-on, when supplemental holds 2 or 5 characters; a non-digit raises
    // ConvertError before any of it is painted.
    void PaintAddOn(const SymbolLayout& layout, const std::string& supplemental) const;

private:
    void CalcBarsWidth();
    void CalcSymbolWidth();
    void CalcOriginX();
    void CalcBarTop();
    void CalcBodyHeight();
    void CalcSymbolHeight();

    int Px(double mils) const;
    int FontPixels() const;
    bool InputsFit() const;
    bool PaintingFits(int modulesAcross) const;

    Canvas* canvas = nullptr;
    Rgb barColor;
    const Font* font = nullptr;
    std::int32_t moduleWidth = 0;
    std::int32_t barHeight = 0;
    std::string message;
    std::string comment;
    std::int32_t resolution = 0;
    std::int32_t givenResolution = 0;  // 0: the screen's
    std::int32_t moduleCount = 0;
    double leftSpace = 0;
    double topSpace = 0;
    double rightSpace = 0;
    double downSpace = 0;
    double interval = 0;
    std::int32_t bodyHeight = 0;
    std::int32_t originX = 0;
    std::int32_t barTop = 0;
    std::int32_t barsWidth = 0;
    std::int32_t symbolWidth = 0;
    std::int32_t symbolHeight = 0;
};

}  // namespace engines
