#include "qtcanvas.h"

#include <QFontMetrics>

#include "engines/environment.h"
#include "engines/rounding.h"

namespace platform {

// The windows are laid out for "MS Sans Serif". Where it is missing, the metric twin
// of Arial comes closest in width; the wider default sans face would clip the labels.
QString DesignFamily()
{
    static const QString family = [] {
        const QString name = QStringLiteral("MS Sans Serif");
        QFont::insertSubstitutions(name, {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
        return name;
    }();
    return family;
}

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

// One drawn text: its face, size, style and colour, the box colour, the device
// resolution and the text itself.
struct TextKey {
    engines::Font font;
    QRgb box;
    int dpi;
    std::string text;
    friend bool operator==(const TextKey&, const TextKey&) = default;
};

struct Drawn {
    QImage picture;
    QRect ink;  // where the glyphs are in picture, null for a blank text
};

// The bounding rectangle of every pixel not in the box colour.
QRect InkOf(const QImage& picture, QRgb box)
{
    QRect ink;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (row[x] != box) ink |= QRect(x, y, 1, 1);
    }
    return ink;
}

// The texts drawn lately, each as the picture TextOut leaves: its box in the brush
// colour with the text on it. A handful of entries serves every build; the store is
// emptied when it grows past its size, so odd texts (comment lines) cannot fill memory.
Drawn DrawnText(const TextKey& key)
{
    static std::vector<std::pair<TextKey, Drawn>> store;
    for (const auto& [k, drawn] : store)
        if (k == key) return drawn;
    const QFont font = ToQFont(key.font, key.dpi);
    const QString s = QString::fromStdString(key.text);
    const QFontMetrics metrics(font);
    QImage picture(std::max(1, metrics.horizontalAdvance(s)), std::max(1, metrics.height()), QImage::Format_RGB32);
    picture.fill(key.box);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(ToQColor(key.font.color));
        painter.drawText(0, metrics.ascent(), s);
    }
    if (store.size() >= 64) store.clear();
    const Drawn drawn{picture, InkOf(picture, key.box)};
    store.emplace_back(key, drawn);
    return drawn;
}

QImage NewImage(int width, int height) { return QImage(width, height, QImage::Format_RGB32); }
ImageAllocator& allocator()
{
    static ImageAllocator allocate = NewImage;
    return allocate;
}
}  // namespace

QImage TextPicture(const engines::Font& font, QRgb box, int dpi, const std::string& text)
{
    return DrawnText({font, box, dpi, text}).picture;
}

QImage WhiteImage(int width, int height)
{
    if (width <= 0 || height <= 0) return {};
    QImage image = allocator()(width, height);
    if (!image.isNull()) image.fill(Qt::white);
    return image;
}

void SetImageAllocator(ImageAllocator allocate) { allocator() = allocate ? std::move(allocate) : NewImage; }

}  // namespace platform

namespace platform {

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
    if (log_ && brushPixel_ != qRgb(255, 255, 255) && right > left && bottom > top)
        log_->bars.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
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
    const Drawn glyphs = DrawnText({textFont_, brushPixel_, image_.logicalDpiY(), text});
    const QImage& drawn = glyphs.picture;
    if (log_) log_->texts.push_back({text, QPoint(x, y), drawn, brushPixel_, glyphs.ink.translated(x, y)});
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
