// Texts drawn once through Qt and kept: a build draws the same dozen digits every time,
// and copying a kept picture costs a fraction of laying the text out again.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <string>

#include "engines/canvas.h"

namespace platform {

struct DrawnText {
    QImage picture;
    QRect ink;  // where the glyphs are in picture, null for a blank text
};

// The box a text takes at dpi dots per inch: its advance by the font's height, at
// least a pixel either way, as TextDrawn draws it.
QSize TextBox(const engines::Font& font, int dpi, const std::string& text);

// A text as a 32-bit picture of dpi dots per inch shows it: its box (the text's advance
// by the font's height) in the box colour with the glyphs on it. Drawn once and kept,
// so every later use of the same text is a copy.
DrawnText TextDrawn(const engines::Font& font, QRgb box, int dpi, const std::string& text);

}  // namespace platform
