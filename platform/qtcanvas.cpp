#include "qtcanvas.h"

#include <QFontMetrics>

#include "engines/environment.h"
#include "engines/rounding.h"

namespace platform {

QFont ToPointFont(const engines::Font& font)
{
    QFont f(QString::fromStdString(font.face), std::max(1, font.size));
    f.setBold(font.style & engines::fsBold);
    f.setItalic(font.style & engines::fsItalic);
    f.setUnderline(font.style & engines::fsUnderline);
    f.setStrikeOut(font.style & engines::fsStrikeOut);
    return f;
}

QFont ToQFont(const engines::Font& font, int dpi)
{
    QFont f = ToPointFont(font);
    f.setPixelSize(std::max(1, engines::RoundToInt(font.size * dpi / 72.0)));
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

engines::Font FromQFont(const QFont& font, engines::Rgb color)
{
    engines::Font f;
    f.face = font.family().toStdString();
    // A font given in pixels has no point size; the engines take the size both as points
    // and as a text height in pixels, so it must be a positive number either way.
    if (font.pointSize() > 0)
        f.size = font.pointSize();
    else if (font.pixelSize() > 0)
        f.size = std::max(1, engines::RoundToInt(font.pixelSize() * 72.0 / std::max(1, engines::ScreenResolution())));
    f.style = (font.bold() ? engines::fsBold : 0u) | (font.italic() ? engines::fsItalic : 0u) |
              (font.underline() ? engines::fsUnderline : 0u) | (font.strikeOut() ? engines::fsStrikeOut : 0u);
    f.color = color;
    return f;
}

QColor ToQColor(engines::Rgb color) { return QColor(color.r, color.g, color.b); }

engines::Rgb FromQColor(const QColor& color)
{
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

PainterCanvas::PainterCanvas(QPainter& painter) : painter_(painter)
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
}

void PainterCanvas::SetBrushColor(engines::Rgb color) { brush_ = ToQColor(color); }

void PainterCanvas::SetFont(const engines::Font& font)
{
    font_ = font;
    painter_.setFont(ToQFont(font, painter_.device()->logicalDpiY()));
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

namespace {
QImage NewImage(int width, int height) { return QImage(width, height, QImage::Format_RGB32); }
ImageAllocator& allocator()
{
    static ImageAllocator allocate = NewImage;
    return allocate;
}
}  // namespace

QImage WhiteImage(int width, int height)
{
    if (width <= 0 || height <= 0) return {};
    QImage image = allocator()(width, height);
    if (!image.isNull()) image.fill(Qt::white);
    return image;
}

void SetImageAllocator(ImageAllocator allocate) { allocator() = allocate ? std::move(allocate) : NewImage; }

}  // namespace platform
