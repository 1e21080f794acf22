#include "export.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cstring>

#include "platform/qtcanvas.h"
#include "platform/savebytes.h"
#include "platform/svgcanvas.h"

namespace platform {

namespace {

constexpr double kMetresPerInch = 0.0254;

QString WritePdf(const ExportedSymbol& symbol, QIODevice& device)
{
    const int r = symbol.resolution;
    const QSize size(symbol.width, symbol.height);
    QPdfWriter writer(&device);
    writer.setResolution(r);
    writer.setPageSize(QPageSize(QSizeF(double(size.width()) / r, double(size.height()) / r), QPageSize::Inch, {},
                                 QPageSize::ExactMatch));
    writer.setPageMargins({0, 0, 0, 0});
    writer.setCreator(QStringLiteral("Ruvola BarCode Generator"));
    QPainter painter;
    if (!painter.begin(&writer)) return device.errorString();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    // The text at the size the picture has it, whatever resolution the page is laid out in.
    PainterCanvas canvas(painter, PictureTextDpi());
    symbol.paint(canvas);
    return painter.end() ? QString() : device.errorString();
}

}  // namespace

int DotsPerMetre(int dpi) { return qRound(dpi / kMetresPerInch); }

void SetResolution(QImage& picture, int dpi)
{
    if (dpi <= 0) return;
    const int dpm = DotsPerMetre(dpi);
    picture.setDotsPerMeterX(dpm);
    picture.setDotsPerMeterY(dpm);
}

// One pass that packs black pixels into bits and gives up at the first colour; a
// batch spends less on this than Qt's dithering conversion and a separate check.
QImage OneBitPicture(const QImage& picture)
{
    // Every build makes a 32-bit picture; others are converted first.
    const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
    const QImage rgb = direct ? picture : picture.convertToFormat(QImage::Format_RGB32);
    const int width = rgb.width(), height = rgb.height();
    QImage mono(width, height, QImage::Format_Mono);
    if (mono.isNull()) return picture;
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const auto rowBytes = std::size_t(width) * sizeof(QRgb), packedBytes = std::size_t(mono.bytesPerLine());
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = mono.scanLine(y);
        // Rows through the bars repeat the one above: their bits are copied.
        if (y > 0 && std::memcmp(in, rgb.constScanLine(y - 1), rowBytes) == 0) {
            std::memcpy(out, mono.constScanLine(y - 1), packedBytes);
            continue;
        }
        std::memset(out, 0, packedBytes);
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = in[x] & 0xFFFFFF;
            if (pixel == 0)
                out[x >> 3] |= uchar(0x80 >> (x & 7));
            else if (pixel != 0xFFFFFF)
                return picture;
        }
    }
    mono.setDotsPerMeterX(picture.dotsPerMeterX());
    mono.setDotsPerMeterY(picture.dotsPerMeterY());
    return mono;
}

QImage PrintedBits(const QImage& picture)
{
    QImage bits = OneBitPicture(picture);
    if (bits.format() != QImage::Format_Mono) return bits;
    bits.invertPixels();
    bits.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    return bits;
}

QRectF OnWholeDots(QPointF corner, QSize size)
{
    return QRectF(corner + QPointF(0.25, 0.25), QSizeF(size) - QSizeF(0.75, 0.75));
}

QString WriteSymbol(const ExportedSymbol& symbol, const QString& format, QIODevice& device)
{
    if (format == QLatin1String("png")) {
        QImage picture = WhiteImage(symbol.width, symbol.height);
        if (picture.isNull())
            return QStringLiteral("No memory for a %1 x %2 picture.").arg(symbol.width).arg(symbol.height);
        {
            ImageCanvas canvas(picture);
            symbol.paint(canvas);
        }
        QImage png = OneBitPicture(picture);
        SetResolution(png, symbol.resolution);
        QImageWriter writer(&device, "png");
        if (writer.write(png)) return QString();
        return device.errorString().isEmpty() ? writer.errorString() : device.errorString();
    }
    if (format == QLatin1String("svg")) {
        const QByteArray svg = SvgDocument(symbol.width, symbol.height, symbol.resolution, symbol.paint);
        return device.write(svg) == svg.size() ? QString() : device.errorString();
    }
    return WritePdf(symbol, device);
}

QString ExportSymbol(const ExportedSymbol& symbol, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (symbol.width <= 0 || symbol.height <= 0 || symbol.resolution <= 0 || !symbol.paint)
        return QStringLiteral("Build a symbol before exporting it.");
    if (suffix != QLatin1String("png") && suffix != QLatin1String("svg") && suffix != QLatin1String("pdf"))
        return QStringLiteral("'%1' is not a PNG, SVG or PDF file name.").arg(QFileInfo(path).fileName());
    return SaveAs(path, [&](QIODevice& device) { return WriteSymbol(symbol, suffix, device); });
}

}  // namespace platform
