// What turns a symbol's inputs (texts, sizes, page values in mils, font, colour) into
// engine settings and drawing, shared by the editors and the command-line generator so
// that both draw the same symbol from the same values.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "editorhost.h"
#include "engines/Tean8unit.h"
#include "engines/Tupc_a_barunit.h"
#include "engines/Tupce_unit.h"
#include "engines/c39unit.h"
#include "engines/ena13unit.h"
#include "engines/rounding.h"
#include "platform/export.h"

namespace symbols {

enum class Kind { Code39, Ean13, Ean8, UpcA, UpcE };

// "code39", "ean13", "ean8", "upca", "upce" (any case, "-" and "_" ignored).
std::optional<Kind> KindNamed(std::string_view name);

struct Inputs {
    std::string message, addOn, comment;
    double height = 0;  // bar height in inches
    // Code 39: narrow bar in mils; EAN-13: symbol width in whole inches (1 to 9);
    // UPC-A, EAN-8, UPC-E: module width in whole mils.
    double width = 0;
    double ratio = 2.0;  // Code 39 wide to narrow
    PageValues page;     // mils
    engines::Font font;
    engines::Rgb barColor = engines::kBlack;
};

// The editors' defaults: height, width and ratio of an untouched editor.
Inputs Defaults(Kind kind);

// A symbol ready to draw, or why not (the editors' notice texts).
struct Drawing {
    std::string error;
    int width = 0, height = 0, resolution = 0;
    platform::SymbolPainter paint;
};

// Checks inputs as the editor of kind does and lays the symbol out at the engines'
// resolution (engines::ScreenResolution).
Drawing Prepare(Kind kind, const Inputs& inputs);

// Engine settings, in the order the editors make them. The font is kept by address.
int ConfigureCode39(engines::Tc39& engine, const Inputs& inputs, const engines::Font& font);
void ConfigureEan13(engines::TENA13& engine, const Inputs& inputs, const engines::Font* font);
// After the resolution is known: the message and the comment's place.
void PlaceEan13(engines::TENA13& engine, const std::string& message, int fontSize);
platform::SymbolPainter Ean13Painter(const engines::TENA13& engine, std::shared_ptr<const engines::Font> font,
                                     bool commented);
// The EAN-13 picture's width: the engine's, unless paint would put bars beyond it.
int Ean13PictureWidth(const engines::TENA13& engine, const platform::SymbolPainter& paint);

// Where the bars a painter would put on a picture of a given size fall short of a
// whole symbol. Every filled rectangle is a bar (or, in Code 39, a space): each must be
// at least a pixel wide and high, lie within the picture's left, right and top edges,
// and the shortest of them must end above its bottom edge (longer guard bars may lose
// their extension there, as tall EAN-13 symbols always have).
enum class BarsFault { None, NoBars, TooNarrow, TooLow, CutLeft, CutRight, CutTop, CutBottom };
BarsFault CheckBars(const platform::SymbolPainter& paint, int width, int height);
// The notice for a fault: widthInput names the box that sets the bar width, lowHint
// says what gives the bars more height.
std::string BarsNotice(BarsFault fault, int resolution, const std::string& widthInput, const std::string& lowHint);
inline const std::string kLowBarsHint = "make the 'Bar code Height' larger";
// EAN-13 bars lose two and a half intervals and a text row of the bar code height.
inline const std::string kLowEan13BarsHint =
    "make the 'Bar code Height' larger, or the Interval Space or the font smaller";

// An add-on adds its modules and the gap before it to the module count.
inline constexpr int kAddOnModules2 = 32;
inline constexpr int kAddOnModules5 = 59;

template <class Engine>
void ConfigureUpc(Engine& engine, const Inputs& inputs, int modules, const engines::Font* font)
{
    const std::size_t addOn = inputs.addOn.size();
    engine.ReadResolution();
    engine.SetBarColor(inputs.barColor);
    engine.SetFont(font);
    engine.SetModuleCount(modules + (addOn == 2 ? kAddOnModules2 : addOn == 5 ? kAddOnModules5 : 0));
    const int r = engine.Resolution();
    engine.SetModuleWidth(engines::RoundToInt(inputs.width / 1000.0 * r));
    engine.SetBarHeight(engines::RoundToInt(inputs.height * r));
    engine.SetMessage(inputs.message);
    engine.SetLeftSpace(inputs.page.fleft);
    engine.SetTopSpace(inputs.page.ftop);
    engine.SetRightSpace(inputs.page.fright);
    engine.SetDownSpace(inputs.page.fdown);
    engine.SetInterval(inputs.page.fiwidth);
    engine.Supplemental = inputs.addOn;
}

// The picture is sized before the comment is set: a comment moves the symbol down but
// never enlarges the picture.
template <class Engine>
platform::SymbolPainter UpcPainter(const Engine& engine, std::shared_ptr<const engines::Font> font)
{
    // Drawing appends the check digit to the engine's message: each painting starts
    // from the engine as it was before.
    return [engine, font](engines::Canvas& canvas) {
        Engine drawn = engine;
        drawn.SetCanvas(&canvas);
        drawn.Draw();
        if (!drawn.Supplemental.empty()) drawn.DrawSupplemental();
    };
}

}  // namespace symbols
