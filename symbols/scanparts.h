// The scan check's parts, shared by its units: the standard's figures for each
// symbology, the pixel row a scanner would cross, and the report that every check
// adds its figures and hints to. Not for use outside the scan report.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "symbols/scanreport.h"

namespace symbols::scan {

// The published figures (ISO/IEC 15420 for EAN/UPC, ISO/IEC 16388 for Code 39, ISO/IEC
// 15417 for Code 128, ISO/IEC 16390 for ITF-14, and GS1's figures for GS1-128
// and ITF-14 on cartons).
struct Standard {
    symbols::Kind symbology;
    const char* name;
    int bars;                    // dark bars of the symbol; Code 39, Code 128: of one character
    int modules;                 // from the first bar's left edge to the last bar's right edge
    int leftQuiet, rightQuiet;   // least quiet zones in modules; Code 39, ITF-14: narrow widths
    int gapMin;                  // least add-on gap, modules
};


struct AddOnShape {
    qsizetype digits;
    int bars, modules;
};

inline constexpr int kGapMax = 12;
inline constexpr int kAddOnRightQuiet = 5;
inline constexpr double kNominalMils = 13;  // the EAN/UPC module at 100 %
inline constexpr double kMinPercent = 80, kMaxPercent = 200;
inline constexpr double kThinNarrowMils = 20;  // Code 39 narrow bars up to this need the larger ratio
inline constexpr double kThinRatio = 2.2, kLeastRatio = 2.0;
// GS1-128 and ITF-14 scanned in logistics, as GS1 gives them: the module (the
// narrow bar) from 0.495 to 1.016 mm, bars at least 31.75 mm (1.25 in) high where scanned
// in general distribution, a GS1-128 symbol at most 165 mm long with its quiet zones.
inline constexpr double kLogisticsLeastMm = 0.495, kLogisticsMostMm = 1.016;
inline constexpr double kLogisticsBarMm = 31.75;
inline constexpr double kGs1LongestMm = 165;
// A measured figure compares with a whole minimum without float noise deciding it.
inline constexpr double kSlack = 1e-9;

const Standard& StandardOf(Kind symbology);
const AddOnShape* AddOnOf(const QString& addOn);
std::size_t MainBars(const BuiltSymbol& built, const Standard& standard);

struct Run {
    int left, right;  // dark columns, right excluded
    friend bool operator==(const Run&, const Run&) = default;
};
// The dark runs of row y, and the row to measure; -1 when there is none.
std::vector<Run> DarkRuns(const QImage& picture, int y);
int ScanRow(const QImage& picture);
QImage Rgb32(const QImage& picture);

QString Fixed1(double value);
QString MilsText(double value);

// A text of the build as the picture holds it: its box in the box colour with the
// glyphs on it, drawn as the preview draws it.
struct PlacedText {
    std::string text;
    QPoint at;     // top-left corner of the box
    QImage drawn;  // the box in its colour with the glyphs on it
    QRgb box;      // the box colour: every other pixel of drawn is a glyph's
    QRect ink;     // the glyphs' bounding rectangle in the picture; null when blank
};

struct Report {
    const BuiltSymbol& built;
    const Standard& standard;
    const SymbolMeasures& m;
    const QImage& picture;
    int resolution;
    std::vector<QRect> bars;         // every rectangle filled in a colour other than white
    std::vector<PlacedText> texts;   // in the order they were drawn
    QStringList figures, hints, names;

    void Hint(const QString& name, const QString& text)
    {
        names << name;
        hints << text;
    }
    int MilsToAdd(int pixels) const { return MilsFor(pixels, resolution); }
};

// "raise the Interval Space from 0 to 37 mils" where that gains pixels of room at
// leverage pixels of room per pixel of interval; empty when the interval cannot.
QString IntervalChange(const Report& r, int pixels, double leverage);

// The measured figures against the standard's: quiet zones, then the Code 39 ratio or
// the add-on gap and the module.
void StandardFigures(Report& r);
// Texts that leave the picture or run into the bars, bars cut off, and a UPC-E message
// that is not the standard short form of its number.
void LayoutFaults(Report& r);

}  // namespace symbols::scan
