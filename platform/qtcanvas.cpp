#include "qtcanvas.h"

#include <QFontMetrics>

#include "platform/textcache.h"

namespace platform {

PainterCanvas::PainterCanvas(QPainter& painter, int textDpi) : painter_(painter), textDpi_(textDpi)
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
}

void PainterCanvas::SetBrushColor(engines::Rgb color) { brush_ = ToQColor(color); }

void PainterCanvas::SetFont(const engines::Font& font)
{
    font_ = font;
    painter_.setFont(ToQFont(font, textDpi_ > 0 ? textDpi_ : painter_.device()->logicalDpiY()));
    painter_.setPen(ToQColor(font.color));
}

int PainterCanvas::FontSize() const { return font_.size; }

void PainterCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right > left && bottom > top) painter_.fillRect(QRect(left, top, right - left, bottom - top), brush_);
}

bool PainterCanvas::TextOut(int x, int y, const std::string& text)
{
    if (!painter_.isActive()) return false;
    const QString s = QString::fromStdString(text);
    const QFontMetrics metrics(painter_.font(), painter_.device());
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()), brush_);
    painter_.drawText(x, y + metrics.ascent(), s);
    return true;
}


ImageCanvas::ImageCanvas(QImage& image) : PainterHolder(image), PainterCanvas(painter), image_(image) {}

void ImageCanvas::SetBrushColor(engines::Rgb color)
{
    PainterCanvas::SetBrushColor(color);
    brushPixel_ = qRgb(color.r, color.g, color.b);
}

// Texts come from the store of drawn texts, so the painter needs no font of its own
// unless the picture is of a kind written through it.
void ImageCanvas::SetFont(const engines::Font& font)
{
    if (!Direct()) PainterCanvas::SetFont(font);
    textFont_ = font;
}

int ImageCanvas::FontSize() const { return textFont_.size; }

bool ImageCanvas::Direct() const
{
    return image_.format() == QImage::Format_RGB32 || image_.format() == QImage::Format_ARGB32;
}

ImageCanvas::~ImageCanvas() { Flush(); }

// Side by side bars of one height and colour (the modules of one bar) are gathered and
// written as one rectangle: a build paints some sixty modules, each a hundred rows high.
void ImageCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (!Direct()) {
        PainterCanvas::FillRect(left, top, right, bottom);
        return;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image_.width());
    bottom = std::min(bottom, image_.height());
    if (left >= right || top >= bottom) return;
    if (pending_.active && pending_.color == brushPixel_ && pending_.top == top && pending_.bottom == bottom &&
        pending_.right == left) {
        pending_.right = right;
        return;
    }
    Flush();
    pending_ = {left, top, right, bottom, brushPixel_, true};
}

void ImageCanvas::Flush()
{
    if (!pending_.active) return;
    pending_.active = false;
    // The painter that is open on the image owns its pixels already; the rows are
    // written where it writes, without asking the image to detach them again.
    uchar* const bits = const_cast<uchar*>(image_.constBits());
    const qsizetype stride = image_.bytesPerLine();
    for (int y = pending_.top; y < pending_.bottom; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + y * stride);
        std::fill(row + pending_.left, row + pending_.right, pending_.color);
    }
}

bool ImageCanvas::TextOut(int x, int y, const std::string& text)
{
    if (!painter.isActive()) return false;
    if (!Direct()) return PainterCanvas::TextOut(x, y, text);
    Flush();
    const DrawnText glyphs = TextDrawn(textFont_, brushPixel_, image_.logicalDpiY(), text);
    const QImage& drawn = glyphs.picture;
    const QRect target = QRect(QPoint(x, y), drawn.size()) & image_.rect();
    if (target.isEmpty()) return true;
    uchar* const bits = const_cast<uchar*>(image_.constBits());
    const qsizetype stride = image_.bytesPerLine();
    for (int row = target.top(); row <= target.bottom(); ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(drawn.constScanLine(row - y)) + (target.left() - x);
        std::copy(from, from + target.width(), reinterpret_cast<QRgb*>(bits + row * stride) + target.left());
    }
    return true;
}

}  // namespace platform
