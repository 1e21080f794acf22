// The one build path: a symbol's inputs (texts, sizes, page values in mils, font,
// colour) and the resolution to draw at turn into engine settings, the picture's size,
// a painter and what a scanner should read, or into the notice that refuses them.
// The editors, the command line and the printer draw through it, so each rule and each
// sentence stands once.
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "engines/Tean8unit.h"
#include "engines/Tupc_a_barunit.h"
#include "engines/Tupce_unit.h"
#include "engines/c39unit.h"
#include "engines/code128.h"
#include "engines/ena13unit.h"
#include "engines/rounding.h"
#include "platform/export.h"
#include "symbols/kind.h"
#include "symbols/pagevalues.h"
#include "symbols/recording.h"
#include "symbols/scanreport.h"

namespace symbols {

struct Inputs {
    std::string message, addOn, comment;
    double height = 0;  // bar height in inches
    // Code 39: narrow bar in mils; EAN-13: symbol width in whole inches (1 to 9);
    // UPC-A, EAN-8, UPC-E: module width in whole mils; Code 128, GS1-128: module in
    // mils; ITF-14: narrow bar in mils.
    double width = 0;
    double ratio = 2.0;  // Code 39 and ITF-14 wide to narrow
    Bearers bearers = Bearers::Frame;  // ITF-14
    PageValues page;     // mils
    engines::Font font;
    engines::Rgb barColor = engines::kBlack;
    // Dots per inch of the picture: the screen's, --dpi or the printer's. Code 39, UPC-A,
    // EAN-8 and UPC-E draw at the screen's where it is 0 or below; the others refuse it.
    int resolution = 0;
};

// The editors' defaults: height, width and ratio of an untouched editor. Code 128: bars
// of 1 inch and modules of 13 mils (the EAN/UPC module at 100 %); GS1-128 and ITF-14:
// bars of 1.3 inches (33 mm, above the 31.75 mm GS1 asks where a carton is scanned in
// general distribution) and modules or narrow bars of 20 mils (0.508 mm, inside the GS1
// logistics range of 0.495 to 1.016 mm), ITF-14 wide bars 2.5 times the narrow ones.
Inputs Defaults(Kind kind);

// Where a build was refused, so that an editor can tell it at its own step.
enum class Refusal {
    None,
    Input,       // a message, add-on or size the symbology does not take
    Conversion,  // a pasted non-digit, told as the general error box tells conversion errors
    Resolution,  // no resolution to draw at
    Size,        // a picture of nothing, or too large to draw
    Bars,        // bars that would not be whole on the picture
    Layout,      // Code 39: sized, but too short a message to lay out
};

// A symbol ready to draw, or why not.
struct Drawing {
    Refusal refusal = Refusal::None;
    QString error;
    int width = 0, height = 0, resolution = 0;
    int module = 0;  // pixels of a module; Code 39 and ITF-14: of a narrow element
    // What the engine drew, once; paint replays it on any canvas.
    std::shared_ptr<const Recording> recording;
    platform::SymbolPainter paint;
    // What a scanner should read of it, for the scan check; drawn stays empty.
    BuiltSymbol built;

    bool Drawable() const { return refusal == Refusal::None; }
    // What export writes: the picture's size and resolution, and the replay.
    platform::ExportedSymbol Exported() const { return {width, height, resolution, paint}; }
};

// Checks inputs in the order the editor of kind checks them and lays the symbol out
// at inputs.resolution.
Drawing Prepare(Kind kind, const Inputs& inputs);

// Engine settings, in the order the editors make them. The font is kept by address.
int ConfigureCode39(engines::Tc39& engine, const Inputs& inputs, const engines::Font& font);
void ConfigureEan13(engines::TENA13& engine, const Inputs& inputs, const engines::Font* font);
// After the resolution is known: the message and the comment's place.
void PlaceEan13(engines::TENA13& engine, const std::string& message, int fontSize);
// Draws the comment, the symbol and its add-on where the EAN-13 editor places them.
void DrawEan13(engines::TENA13& engine, int fontSize, bool commented, engines::Canvas& canvas);
// The EAN-13 picture's width: the engine's (stated), unless its bars reach beyond it;
// then wide enough for them and the right margin after them.
int Ean13PictureWidth(int stated, int rightMargin, const FillExtent& bars);

// Where the bars of a symbol fall short of a whole symbol on a picture of a given size. Every filled rectangle is a bar (or, in Code 39, a space): each must be
// at least a pixel wide and high, lie within the picture's left, right and top edges,
// and the shortest of them must end above its bottom edge (longer guard bars may lose
// their extension there, as tall EAN-13 symbols always have).
enum class BarsFault { None, NoBars, TooNarrow, TooLow, CutLeft, CutRight, CutTop, CutBottom };
BarsFault CheckBars(const FillExtent& bars, int width, int height);
// The notice for a fault: widthInput names the box that sets the bar width, lowHint
// says what gives the bars more height.
std::string BarsNotice(BarsFault fault, int resolution, const std::string& widthInput, const std::string& lowHint);
inline const std::string kLowBarsHint = "make the 'Bar code Height' larger";
// EAN-13 bars lose two and a half intervals and a text row of the bar code height.
inline const std::string kLowEan13BarsHint =
    "make the 'Bar code Height' larger, or the Interval Space or the font smaller";

template <class Engine>
void ConfigureUpc(Engine& engine, const Inputs& inputs, int modules, const engines::Font* font)
{
    const std::size_t addOn = inputs.addOn.size();
    engine.SetResolution(inputs.resolution);
    engine.SetBarColor(inputs.barColor);
    engine.SetFont(font);
    // An add-on adds its modules and the gap before it to the module count.
    engine.SetModuleCount(modules + engines::AddOnStripModules(addOn));
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

}  // namespace symbols
