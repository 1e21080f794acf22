// The engines' font and colour values as Qt's, and back.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "engines/canvas.h"

namespace platform {

// The windows and the symbols' default text are designed for "MS Sans Serif"; where it
// is missing it stands for its nearest face. Every window sets this up on first use; a
// program without windows calls it before it draws, to draw the text as the editors do.
QString DesignFamily();

// The font at its point size, as a font dialog shows it.
QFont ToPointFont(const engines::Font& font);
// The logical resolution every build's picture has while it is painted (a new
// picture's own), which sets the text's pixel size on it; vector files and PDF pages
// draw the text at the same size in the picture's pixels.
int PictureTextDpi();
// The font for painting on a device of the given resolution.
QFont ToQFont(const engines::Font& font, int dpi);
engines::Font FromQFont(const QFont& font, engines::Rgb color);
QColor ToQColor(engines::Rgb color);
engines::Rgb FromQColor(const QColor& color);

}  // namespace platform
