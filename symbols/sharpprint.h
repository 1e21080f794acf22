// Printing a build again at the printer's own resolution, so that every module (every
// Code 39 element) covers a whole number of printer dots, and the figures the print
// option dialog shows of either way of printing.
#pragma once

#include <QImage>
#include <QString>

#include "symbols/symbolbuild.h"

namespace symbols {

// An editor's one record of its last finished build, as the preview shows it: the
// symbol every output replays, and the inputs that draw it again at another resolution.
struct Shown {
    Inputs inputs;        // as built
    Drawing drawing;      // drawable; its resolution and module are the build's
    bool turned = false;  // the preview shows it a quarter turn clockwise
    Kind Symbology() const { return drawing.built.symbology; }
};

// The inputs of a build for another resolution. Lengths are in inches and mils and
// keep their size; the font's size, which the layouts also take as pixels, is scaled
// with the resolution, so the text keeps its size and its place against the bars.
Inputs AtResolution(const Inputs& built, int builtResolution, int resolution);

struct SharpPicture {
    QImage picture;  // null where it could not be drawn
    int module = 0;  // dots
    QString error;   // why not
};
// The build drawn again at resolution, turned as the preview shows it.
SharpPicture DrawSharp(const Shown& shown, int resolution);

// One line on what the printer gets: the module in dots when the picture is stretched
// from the screen's resolution, and in dots, mils and per cent of the picture's own
// when sharp. printerDpi 0: not known; shown null: no build to draw again.
QString PrintFigures(const Shown* shown, const SharpPicture& sharp, int screenDpi, int printerDpi, bool sharpOn);

}  // namespace symbols
