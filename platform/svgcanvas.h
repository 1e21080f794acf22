// The symbol as an SVG drawing: bars as rectangles, text as text, in the picture's
// pixel units, the document sized in inches.
#pragma once

#include <QByteArray>
#include <functional>
#include <string>

#include "engines/canvas.h"

namespace platform {

// The SVG document of a symbol of width x height pixels at dpi, painted by paint.
QByteArray SvgDocument(int width, int height, int dpi, const std::function<void(engines::Canvas&)>& paint);

// An engines::Canvas that writes SVG elements: filled rectangles and text as text,
// in pixel units of the picture.
class SvgCanvas : public engines::Canvas {
public:
    SvgCanvas() = default;
    void SetBrushColor(engines::Rgb color) override { brush_ = color; }
    void SetFont(const engines::Font& font) override { font_ = font; }
    int FontSize() const override { return font_.size; }
    void FillRect(int left, int top, int right, int bottom) override;
    bool TextOut(int x, int y, const std::string& text) override;
    const QByteArray& Body() const { return body_; }

private:
    engines::Rgb brush_ = engines::kWhite;
    engines::Font font_;
    QByteArray body_;
};

}  // namespace platform
