// What an editor may use of the window that hosts it: the settings every build
// reads (page values in mils, text font, bar colour) and the dialogs that change
// them or print. Editors know the main window only through this.
#pragma once

#include "engines/canvas.h"
#include "symbols/pagevalues.h"

namespace symbols {
struct Shown;
}

class QImage;
class QWidget;

class EditorHost {
public:
    virtual ~EditorHost() = default;

    virtual PageValues Pages() const = 0;
    // The shared font object itself: engines keep a reference to it for one build.
    virtual const engines::Font& TextFont() const = 0;
    virtual engines::Rgb BarColor() const = 0;
    // Whether each build's picture is read back and checked against the standard.
    virtual bool ScanCheckOn() const = 0;

    virtual void ShowPageSetting(QWidget* owner) = 0;
    virtual void ShowFontDialog() = 0;
    virtual void ShowColorDialog() = 0;
    // Puts a copy of picture into the picture to print and shows the print option dialog;
    // shown, where the picture is a build, lets it be drawn again at the printer's resolution.
    virtual void ShowPrintOption(QWidget* owner, const QImage& picture, const symbols::Shown* shown) = 0;
    virtual void ReleasePrintBitmap() = 0;
    // The labels dialog: shown printed on a sheet of labels, as copies or counting up.
    virtual void ShowLabels(QWidget* owner, const symbols::Shown& shown) = 0;
};
