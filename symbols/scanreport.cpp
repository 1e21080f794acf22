#include "scanreport.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "engines/rounding.h"
#include "platform/fonts.h"
#include "platform/textcache.h"
#include "scanparts.h"
#include "symbols/symbolbuild.h"

using namespace symbols::scan;

namespace {

QString Symbol(const QString& symbology, const QString& number, const QString& addOn)
{
    QString text = symbology + QLatin1Char(' ') + ShownNumber(number);
    if (!addOn.isEmpty()) text += QStringLiteral(" + ") + addOn;
    return text;
}

// A scanner reports an EAN-13 symbol whose first digit is 0 as the UPC-A symbol it is.
bool SameSymbol(const BuiltSymbol& built, const Standard& standard, const platform::ScanRead& read)
{
    if (read.symbology == QString::fromLatin1(standard.name) && read.text == built.number) return true;
    return built.symbology == symbols::Kind::Ean13 && read.symbology == QStringLiteral("UPC-A") &&
           QLatin1Char('0') + read.text == built.number;
}

// Where the recording put its bars and texts on the picture, as the preview painted
// them: texts in the picture's own text resolution, out of the store of drawn texts.
void PlaceDrawing(Report& r, const symbols::Recording& recording)
{
    const engines::Rgb white = engines::kWhite;
    for (const auto& fill : recording.Fills())
        if (!(fill.color == white) && fill.right > fill.left && fill.bottom > fill.top)
            r.bars.emplace_back(QPoint(fill.left, fill.top), QPoint(fill.right - 1, fill.bottom - 1));
    const int dpi = platform::PictureTextDpi();
    for (const auto& text : recording.Texts()) {
        const QRgb box = qRgb(text.box.r, text.box.g, text.box.b);
        const platform::DrawnText glyphs = platform::TextDrawn(text.font, box, dpi, text.text);
        const QPoint at(text.x, text.y);
        r.texts.push_back({text.text, at, glyphs.picture, box, glyphs.ink.translated(at)});
    }
}

}  // namespace

QString ShownNumber(const QString& number)
{
    QString shown = number;
    for (QChar& c : shown)
        if (c.unicode() < 0x20) c = QChar(char16_t(0x2400 + c.unicode()));
    return shown;
}

platform::ScanFamily ScanFamilyOf(symbols::Kind kind)
{
    switch (kind) {
    case symbols::Kind::Code39: return platform::ScanFamily::Code39;
    case symbols::Kind::Code128:
    case symbols::Kind::Gs1_128: return platform::ScanFamily::Code128;
    case symbols::Kind::Itf14: return platform::ScanFamily::Itf;
    case symbols::Kind::Ean13:
    case symbols::Kind::Ean8:
    case symbols::Kind::UpcA:
    case symbols::Kind::UpcE: break;
    }
    return platform::ScanFamily::EanUpc;
}

int MilsFor(int pixels, int resolution)
{
    if (resolution <= 0) return 0;
    // Strictly more than the pixels asked: exactly that many would lose one where the rest
    // of the length stands on a half, which rounds to even, or a hair below it.
    return static_cast<int>(std::floor(pixels * 1000.0 / resolution + kSlack)) + 1;
}

std::function<QString(int pixels)> WholeMilsInput(const QString& label, int resolution)
{
    return [label, resolution](int pixels) -> QString {
        if (resolution <= 0 || pixels <= 0) return {};
        // The rounding sends half a pixel either way, so the answer lies within a mil
        // or two of the lower edge.
        const int from = std::max(1, static_cast<int>(std::floor((pixels - 0.5) * 1000 / resolution)) - 1);
        for (int mils = from; mils <= from + 4; ++mils)
            if (engines::RoundToInt(mils / 1000.0 * resolution) == pixels)
                return QStringLiteral("a '%1' of %2 mils").arg(label).arg(mils);
        return {};
    };
}

ScanReport AssessScan(const QImage& image, const symbols::Drawing& drawing, const platform::ScanRead& read)
{
    const BuiltSymbol& built = drawing.built;
    const QImage picture = Rgb32(image);
    const Standard& standard = StandardOf(built.symbology);
    // Without a resolution nothing converts to mils: the reading alone is told.
    const SymbolMeasures m = drawing.resolution > 0 ? MeasurePicture(picture, built) : SymbolMeasures{};
    Report r{built, standard, m, picture, drawing.resolution, {}, {}, {}, {}, {}};
    if (drawing.recording) PlaceDrawing(r, *drawing.recording);
    if (m.measured) {
        StandardFigures(r);
    } else {
        r.figures << QStringLiteral("The bars could not be measured: no pixel row crosses exactly the bars built.");
    }
    LayoutFaults(r);

    ScanReport report;
    const QString name = QString::fromLatin1(standard.name);
    const QString builtSymbol = Symbol(name, built.number, built.addOn);
    if (!read.found) {
        report.failed = true;
        report.line = QStringLiteral("Scanner reads nothing");
    } else if (!SameSymbol(built, standard, read) || (!read.addOn.isEmpty() && read.addOn != built.addOn)) {
        report.failed = true;
        report.line = QStringLiteral("Scanner reads %1, not %2")
                          .arg(Symbol(read.symbology, read.text, read.addOn), builtSymbol);
    } else if (read.addOn != built.addOn) {
        report.failed = true;
        report.line = QStringLiteral("Scanner reads %1 %2 without its add-on").arg(name, built.number);
        if (m.measured)
            report.line += QStringLiteral("; the add-on stands %1 modules away").arg(Fixed1(m.gap / m.module));
    } else {
        report.line = QStringLiteral("Scanner reads ") + builtSymbol;
    }
    report.details << QStringLiteral("From the picture on the clipboard: ") + report.line + QLatin1Char('.');
    if (read.found && read.symbology != name)
        report.details << QStringLiteral("A scanner reports it as %1.")
                              .arg(Symbol(read.symbology, read.text, read.addOn));
    report.details << r.figures;
    if (!r.hints.isEmpty()) {
        report.line += QStringLiteral(" · %1 %2: %3")
                           .arg(r.hints.size())
                           .arg(r.hints.size() == 1 ? QStringLiteral("hint") : QStringLiteral("hints"))
                           .arg(r.names.join(QStringLiteral(", ")));
        report.details << r.hints;
    } else if (m.measured) {
        report.line += QStringLiteral(" · within the standard's minimums");
    }
    report.hints = r.hints;
    return report;
}
