// ruvola-batch --sheet: the symbols of a batch or of the arguments placed on sheets of
// labels, in order, and written as one PDF.
#pragma once

#include <QImage>

#include "options.h"
#include "platform/bitcanvas.h"
#include "symbols/symbolbuild.h"

// Writes the sheets; the exit status: 0 when every label was placed, 1 when some line
// was told (the others are placed), 2 when the sheet cannot be used or the file not
// written.
int RunSheet(const Options& options);

// A drawing as the sheet prints it, each pixel a dot: where it is black and white, one
// bit a dot with black first in its colour table, as SheetWriter takes it without
// converting it again; bits holds the rows from one symbol to the next. Null when there
// is no memory for it.
QImage SheetPicture(const symbols::Drawing& drawing, platform::BitCanvas& bits);
