#include "sharpprint.h"

#include <cmath>

#include "platform/qtcanvas.h"
#include "platform/turn.h"
#include "platform/whiteimage.h"
#include "symbols/notices.h"

namespace symbols {

Inputs AtResolution(const Inputs& built, int builtResolution, int resolution)
{
    Inputs inputs = built;
    inputs.resolution = resolution;
    if (builtResolution > 0)
        inputs.font.size = std::max(1, engines::RoundToInt(double(built.font.size) * resolution / builtResolution));
    return inputs;
}

SharpPicture DrawSharp(const Shown& shown, int resolution)
{
    const Drawing drawing = Prepare(shown.Symbology(), AtResolution(shown.inputs, shown.drawing.resolution, resolution));
    if (!drawing.Drawable()) return {{}, 0, drawing.error};
    // Painted at the picture's default resolution, as the preview is: the scaled font
    // then writes the text at its size on the preview, enlarged as the bars are.
    QImage picture = platform::WhiteImage(drawing.width, drawing.height);
    if (picture.isNull()) return {{}, 0, TooLargeNotice(drawing.width, drawing.height)};
    {
        platform::ImageCanvas canvas(picture);
        drawing.paint(canvas);
    }
    if (shown.turned) {
        QImage turned = platform::WhiteImage(drawing.height, drawing.width);
        if (turned.isNull()) return {{}, 0, TooLargeNotice(drawing.height, drawing.width)};
        platform::TurnQuarterInto(picture, turned);
        picture = std::move(turned);
    }
    return {std::move(picture), drawing.module, {}};
}

namespace {

QString Decimal(double value, int decimals) { return QString::number(value, 'f', decimals); }

// "modules of 4 or 5 dots for 4.23", or "of 4 dots" where the stretch is whole.
QString Stretched(const QString& elements, double dots)
{
    const double low = std::floor(dots + 1e-9), high = std::ceil(dots - 1e-9);
    if (low >= high) return QStringLiteral("%1 of %2 dots").arg(elements, Decimal(low, 0));
    return QStringLiteral("%1 of %2 or %3 dots for %4").arg(elements, Decimal(low, 0), Decimal(high, 0), Decimal(dots, 2));
}

}  // namespace

QString PrintFigures(const Shown* shown, const SharpPicture& sharp, int screenDpi, int printerDpi, bool sharpOn)
{
    if (printerDpi <= 0 || screenDpi <= 0)
        return QStringLiteral("The printer does not tell its resolution: the picture prints stretched, as it is.");
    const QString dpi = QStringLiteral("%1 dpi: ").arg(printerDpi);
    const double scale = double(printerDpi) / screenDpi;
    if (!shown) {
        const QString line = dpi + Stretched(QStringLiteral("pixels"), scale);
        return sharpOn ? line + QStringLiteral("; Sharp printing has no build to draw again") : line;
    }
    const bool narrowBars = shown->Symbology() == Kind::Code39 || shown->Symbology() == Kind::Itf14;
    const QString elements = narrowBars ? QStringLiteral("narrow bars") : QStringLiteral("modules");
    const double stretched = shown->drawing.module * scale;
    const QString stretch = Stretched(elements, stretched);
    if (sharp.picture.isNull())
        return dpi + stretch + QStringLiteral("; Sharp printing cannot draw this symbol at %1 dpi%2")
                                   .arg(printerDpi)
                                   .arg(sharpOn ? QStringLiteral(", so it prints stretched") : QString());
    const QString gives = QStringLiteral("%1 dots, %2 mils, %3 %")
                              .arg(sharp.module)
                              .arg(Decimal(sharp.module * 1000.0 / printerDpi, 1))
                              .arg(stretched > 0 ? engines::RoundToInt(sharp.module / stretched * 100) : 0);
    if (sharpOn) return dpi + QStringLiteral("Sharp printing gives %1; stretched, %2").arg(gives, stretch);
    return dpi + stretch + QStringLiteral("; Sharp printing gives ") + gives;
}

}  // namespace symbols
