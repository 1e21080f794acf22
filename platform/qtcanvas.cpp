#include "qtcanvas.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstring>

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

// Pictures written directly need only the pixel; the painter's colour serves the others.
void ImageCanvas::SetBrushColor(engines::Rgb color)
{
    if (!Direct()) PainterCanvas::SetBrushColor(color);
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

// Side by side bars of one height and colour (the modules of one bar) are gathered into
// one span, and spans of one height into a band: a build paints some sixty modules, or
// a Code 39 symbol a hundred bars and spaces, each a hundred rows high.
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
    if (!band_.empty() && (top != bandTop_ || bottom != bandBottom_)) Flush();
    bandTop_ = top;
    bandBottom_ = bottom;
    if (!band_.empty() && band_.back().color == brushPixel_ && band_.back().right == left) {
        band_.back().right = right;
        return;
    }
    band_.push_back({left, right, brushPixel_});
}

void ImageCanvas::Flush()
{
    if (band_.empty()) return;
    // The painter that is open on the image owns its pixels already; the rows are
    // written where it writes, without asking the image to detach them again.
    uchar* const bits = const_cast<uchar*>(image_.constBits());
    const qsizetype stride = image_.bytesPerLine();
    const auto row = [&](int y) { return reinterpret_cast<QRgb*>(bits + y * stride); };
    QRgb* const first = row(bandTop_);
    for (const Span& span : band_) std::fill(first + span.left, first + span.right, span.color);
    // The first row is copied where the band covers it, one stretch of touching or
    // overlapping spans at a time (a Code 39 symbol's bars and spaces are one); what lies
    // between the stretches stays as it was. A stretch of one span (an EAN/UPC bar) is
    // filled row by row, which costs less than copying a few pixels.
    if (band_.size() > 1)
        std::sort(band_.begin(), band_.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    for (std::size_t i = 0; i < band_.size();) {
        const std::size_t start = i;
        const int from = band_[i].left;
        int to = band_[i].right;
        for (++i; i < band_.size() && band_[i].left <= to; ++i) to = std::max(to, band_[i].right);
        if (i == start + 1) {
            for (int y = bandTop_ + 1; y < bandBottom_; ++y) std::fill(row(y) + from, row(y) + to, band_[start].color);
            continue;
        }
        const std::size_t bytes = std::size_t(to - from) * sizeof(QRgb);
        for (int y = bandTop_ + 1; y < bandBottom_; ++y) std::memcpy(row(y) + from, first + from, bytes);
    }
    band_.clear();
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
