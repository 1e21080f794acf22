// ruvola-batch --sheet: the symbols of a batch or of the arguments placed on sheets of
// labels, in order, and written as one PDF.
#pragma once

#include "options.h"

// Writes the sheets; the exit status: 0 when every label was placed, 1 when some line
// was told (the others are placed), 2 when the sheet cannot be used or the file not
// written.
int RunSheet(const Options& options);
