// The scan check of a finished build: what a scanner read from the picture on the
// clipboard set against what was built, and how the symbol stands against the
// standard's minimums, measured on the picture's own pixel columns. Every shortfall
// says what to change. Pure logic on a picture, so every figure can be tested.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/scancheck.h"
#include "symbols/kind.h"

namespace symbols {
struct Drawing;
}

// How the Interval Space moves things in an editor's layout: the pixels a text moves
// away from the bars, or gains below it up to the picture's bottom edge, for each pixel
// of interval. 0 where the interval does not part them, negative where it takes room.
struct IntervalLeverage {
    double commentFromBars = 1;
    double charactersFromBars = 1;
    double addOnDigitsFromBars = 1;
    double roomBelowCharacters = 1;
};

// What a scanner should read of a build, and what the scan check's advice rests on.
struct BuiltSymbol {
    symbols::Kind symbology = symbols::Kind::Ean13;
    QString number;  // as a scanner reports it: EAN/UPC with the check digit, UPC-E in 8 digits
    QString addOn;   // empty, 2 or 5 digits
    QString comment;
    int fontSize = 0;     // points, which the layouts also take as pixels
    double interval = 0;  // the Interval Space in use, mils
    IntervalLeverage leverage;
    // The input that gives a module (Code 39: a narrow bar) of this many pixels, such as
    // "a 'Single Bar Width' of 16 mils"; empty when the editor's input cannot give it.
    std::function<QString(int pixels)> widthFor;
    // Code 128: the modules from the first bar to the last, which vary with the message.
    int modules = 0;
    symbols::Bearers bearers = symbols::Bearers::None;  // ITF-14's as drawn
};

// Figures read off one pixel row through the bars, in pixels.
struct SymbolMeasures {
    bool measured = false;  // the row crosses exactly the bars that were built
    int row = -1;
    int left = 0, right = 0;  // light columns before the first bar and after the last
    double module = 0;        // the module; Code 39: the narrow element
    int wide = 0;             // Code 39: the wide element
    int gap = 0;              // light columns between the symbol and its add-on
    double addOnModule = 0;
    int barHeight = 0;        // rows of the first bar, bearer bars left out
    // ITF-14: the bearer bars' thickness above and below the bars and of a frame's
    // upright sides; 0 where there are none. The quiet zones lie inside a frame.
    int bearerTop = 0, bearerBottom = 0, bearerSides = 0;
};

struct ScanReport {
    bool failed = false;  // reads nothing, or something else than was built
    QString line;         // the one line beside the preview
    QStringList details;  // what was read, every figure and every hint, one a line
    QStringList hints;    // the shortfalls, each with what to change
};

// A built number as the user is shown it: a control character (GS1-128's group
// separator) as its control picture.
QString ShownNumber(const QString& number);

// The decoder family that reads a symbology.
platform::ScanFamily ScanFamilyOf(symbols::Kind kind);

SymbolMeasures MeasurePicture(const QImage& picture, const BuiltSymbol& built);
// The picture is the drawing's, painted on a new white picture of its size (and maybe
// damaged since): the drawing's recording tells where its bars and texts were meant to go.
ScanReport AssessScan(const QImage& picture, const symbols::Drawing& drawing, const platform::ScanRead& read);

// BuiltSymbol::widthFor of an input in whole mils that becomes pixels as
// round(mils / 1000 × resolution): "a 'label' of 16 mils".
std::function<QString(int pixels)> WholeMilsInput(const QString& label, int resolution);

// The fewest whole mils to add to a page value so that every length it is part of
// grows by at least this many pixels, whatever the rest of the length is; 0 without
// a resolution.
int MilsFor(int pixels, int resolution);
