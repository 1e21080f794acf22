#include "fonts.h"

#include <QImage>
#include <algorithm>

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

int PictureTextDpi()
{
    static const int dpi = QImage(1, 1, QImage::Format_RGB32).logicalDpiY();
    return dpi;
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

}  // namespace platform
