// ruvola-batch's command line: the options, their defaults and the usage text.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "engines/canvas.h"
#include "symbols/kind.h"
#include "symbols/pagevalues.h"

inline constexpr int kDefaultDpi = 96;
// Labels are drawn on the dots of a common label printer unless --dpi says otherwise.
inline constexpr int kDefaultSheetDpi = 300;

struct Options {
    QString batch;  // empty: one symbol from the arguments
    QString pattern;  // "-": standard output
    QString format;   // png, svg or pdf: from --format, else the pattern's suffix
    std::optional<QString> comment;
    std::optional<double> height, width, ratio;
    std::optional<symbols::Bearers> bearers;  // ITF-14's
    PageValues page;
    engines::Font font;
    int dpi = kDefaultDpi;
    // One thread by default: where the processors are busy, more only wait for each other.
    int jobs = 1;
    QStringList positional;
    // Labels: a sheet template ("Avery 5160", a part number, or custom:...) fills one
    // PDF; empty: a file for each symbol.
    QString sheet;
    int sheetStart = 1;  // the first label's position on the first sheet
    int copies = 1;      // labels of each symbol
    int count = 1;       // symbols counting up from each message

    bool ToStandardOutput() const { return pattern == QLatin1String("-"); }
};

// Reads the arguments (the program's name first). --help and --version print their
// text and end the program; a usage error is told on standard error and ends it with
// status 2.
Options ParseArguments(const QStringList& arguments);

// Whether a symbology takes its width in whole units only (EAN-13: whole inches).
bool WholeWidthOnly(const QString& symbology);
