// The standard's figures (ISO/IEC 15420 for EAN/UPC, ISO/IEC 16388 for Code 39) and
// how a measured symbol stands against them: quiet zones, module, add-on gap and the
// Code 39 ratio, each shortfall with what to change.
#include "scanparts.h"

#include <QLocale>
#include <cmath>

#include "engines/rounding.h"
#include "engines/Tean8unit.h"
#include "engines/Tupc_a_barunit.h"
#include "engines/Tupce_unit.h"
#include "engines/code128.h"
#include "engines/ena13unit.h"
#include "platform/numtext.h"

namespace symbols::scan {

namespace {
const Standard kStandards[] = {
    {symbols::Kind::Code39, "Code 39", 5, 0, 10, 10, 0},
    {symbols::Kind::Ean13, "EAN-13", 30, engines::TENA13::kModules, 11, 7, 7},
    {symbols::Kind::UpcA, "UPC-A", 30, engines::Tupc_a::kModules, 9, 9, 9},
    {symbols::Kind::Ean8, "EAN-8", 22, engines::Tean8::kModules, 7, 7, 7},
    {symbols::Kind::UpcE, "UPC-E", 17, engines::Tupce::kModules, 9, 7, 7},
    // Three bars a symbol character; the stop character has a fourth.
    {symbols::Kind::Code128, "Code 128", 3, 0, 10, 10, 0},
    {symbols::Kind::Gs1_128, "GS1-128", 3, 0, 10, 10, 0},
    // Start and stop two bars each, five in each of the seven digit pairs.
    {symbols::Kind::Itf14, "ITF-14", 2 + 7 * 5 + 2, 0, 10, 10, 0},
};
const AddOnShape kAddOns[] = {{2, 7, 20}, {5, 16, 47}};
}  // namespace

const Standard& StandardOf(symbols::Kind symbology)
{
    for (const Standard& standard : kStandards)
        if (standard.symbology == symbology) return standard;
    return kStandards[0];
}

const AddOnShape* AddOnOf(const QString& addOn)
{
    for (const AddOnShape& shape : kAddOns)
        if (shape.digits == addOn.size()) return &shape;
    return nullptr;
}

std::size_t MainBars(const BuiltSymbol& built, const Standard& standard)
{
    // Code 39 draws every character, the start and stop characters included, with five bars.
    if (built.symbology == symbols::Kind::Code39) return std::size_t(standard.bars) * (built.number.size() + 2);
    if (built.symbology == symbols::Kind::Code128 || built.symbology == symbols::Kind::Gs1_128) {
        if (built.modules < engines::kCode128StopModules) return 0;
        const int characters = (built.modules - engines::kCode128StopModules) / engines::kCode128CharModules;
        return std::size_t(standard.bars) * std::size_t(characters) + std::size_t(standard.bars) + 1;
    }
    return std::size_t(standard.bars);
}

QString Fixed1(double value) { return QLocale().toString(value, 'f', 1); }
QString MilsText(double value) { return platform::FloatToStr(value); }


// "raise the Interval Space from 0 to 37 mils" where that gains pixels of room at
// leverage pixels of room per pixel of interval; empty when the interval cannot.
QString IntervalChange(const Report& r, int pixels, double leverage)
{
    const BuiltSymbol& built = r.built;
    if (leverage == 0 || pixels <= 0) return {};
    const int interval = static_cast<int>(std::ceil(pixels / std::abs(leverage) - kSlack));
    const int mils = r.MilsToAdd(interval);
    if (leverage > 0)
        return QStringLiteral("raise the Interval Space from %1 to %2 mils")
            .arg(MilsText(built.interval), MilsText(built.interval + mils));
    if (built.interval < mils) return {};
    return QStringLiteral("lower the Interval Space from %1 to %2 mils")
        .arg(MilsText(built.interval), MilsText(built.interval - mils));
}

void QuietZone(Report& r, const QString& side, int pixels, double module, int least, const char* blankSpace)
{
    const symbols::Kind kind = r.built.symbology;
    const QString unit = kind == symbols::Kind::Code39   ? QStringLiteral("narrow widths")
                         : kind == symbols::Kind::Itf14 ? QStringLiteral("narrow bars")
                                                        : QStringLiteral("modules");
    r.figures << QStringLiteral("%1 quiet zone: %2 %3 (%4 px); the standard asks at least %5.")
                     .arg(side, Fixed1(pixels / module), unit)
                     .arg(pixels)
                     .arg(least);
    const int missing = static_cast<int>(std::ceil(least * module - kSlack)) - pixels;
    if (missing <= 0) return;
    r.Hint(side.toLower() + QStringLiteral(" quiet zone"),
           QStringLiteral("%1 quiet zone %2 %3, the standard asks %4: raise the %5 by %6 mils.")
               .arg(side, Fixed1(pixels / module), unit)
               .arg(least)
               .arg(QString::fromLatin1(blankSpace))
               .arg(r.MilsToAdd(missing)));
}

void QuietZones(Report& r)
{
    const bool addOn = r.m.addOnModule > 0;
    QuietZone(r, QStringLiteral("Left"), r.m.left, r.m.module, r.standard.leftQuiet, "Left Blank Space");
    if (addOn)
        QuietZone(r, QStringLiteral("Add-on right"), r.m.right, r.m.addOnModule, kAddOnRightQuiet,
                  "Right Blank Space");
    else
        QuietZone(r, QStringLiteral("Right"), r.m.right, r.m.module, r.standard.rightQuiet, "Right Blank Space");
}

// In every editor's layout the add-on stands a fixed distance from where the symbol
// would start, and the symbol starts one font size further in for the digit left of
// it: each point of font size is one pixel less of gap.
void AddOnGap(Report& r)
{
    const double modules = r.m.gap / r.m.module;
    const int least = r.standard.gapMin;
    r.figures << QStringLiteral("Add-on gap: %1 modules (%2 px); the standard asks %3 to %4.")
                     .arg(Fixed1(modules))
                     .arg(r.m.gap)
                     .arg(least)
                     .arg(kGapMax);
    const int font = r.built.fontSize;
    const int missing = static_cast<int>(std::ceil(least * r.m.module - kSlack)) - r.m.gap;
    if (missing > 0) {
        const QString change = font - missing >= 1
                                   ? QStringLiteral("choose a font of %1 points or less").arg(font - missing)
                                   : QStringLiteral("choose a smaller font");
        r.Hint(QStringLiteral("add-on gap"), QStringLiteral("Add-on gap %1 modules, the standard asks %2 to %3: %4, "
                                                            "each point less moves the add-on a pixel away.")
                                                 .arg(Fixed1(modules))
                                                 .arg(least)
                                                 .arg(kGapMax)
                                                 .arg(change));
        return;
    }
    const int excess = r.m.gap - static_cast<int>(std::floor(kGapMax * r.m.module + kSlack));
    if (excess > 0)
        r.Hint(QStringLiteral("add-on gap"),
               QStringLiteral("Add-on gap %1 modules, the standard asks at most %2: choose a font of %3 points, "
                              "each point more brings the add-on a pixel nearer.")
                   .arg(Fixed1(modules))
                   .arg(kGapMax)
                   .arg(font + excess));
}

double PrintedMils(double pixels, int resolution) { return pixels * 1000 / resolution; }

void ModuleWidth(Report& r)
{
    const int resolution = r.resolution;
    const double mils = PrintedMils(r.m.module, resolution);
    const double percent = mils / kNominalMils * 100;
    r.figures << QStringLiteral("Module: %1 px = %2 mils printed, %3 % of %4 mils; the standard allows %5 % to %6 %.")
                     .arg(Fixed1(r.m.module), Fixed1(mils), Fixed1(percent))
                     .arg(kNominalMils)
                     .arg(kMinPercent)
                     .arg(kMaxPercent);
    if (percent >= kMinPercent - kSlack && percent <= kMaxPercent + kSlack) return;
    const double bound = (percent < kMinPercent ? kMinPercent : kMaxPercent) / 100 * kNominalMils * resolution / 1000;
    const int pixels = std::max(1, static_cast<int>(percent < kMinPercent ? std::ceil(bound) : std::floor(bound)));
    const QString input = r.built.widthFor ? r.built.widthFor(pixels) : QString();
    const QString target = QStringLiteral("%1 px = %2 mils").arg(pixels).arg(Fixed1(PrintedMils(pixels, resolution)));
    r.Hint(QStringLiteral("module width"),
           QStringLiteral("Module %1 mils printed is %2 % of %3 mils, outside the standard's %4 % to %5 %: %6.")
               .arg(Fixed1(mils), Fixed1(percent))
               .arg(kNominalMils)
               .arg(kMinPercent)
               .arg(kMaxPercent)
               .arg(input.isEmpty() ? QStringLiteral("modules of %1 would do").arg(target)
                                    : QStringLiteral("choose %1 (modules of %2)").arg(input, target)));
}

void Code39Ratio(Report& r)
{
    const int resolution = r.resolution;
    const int narrow = static_cast<int>(r.m.module);
    const double mils = PrintedMils(narrow, resolution);
    const double ratio = double(r.m.wide) / narrow;
    const double least = mils <= kThinNarrowMils + kSlack ? kThinRatio : kLeastRatio;
    r.figures << QStringLiteral("Narrow bar %1 px = %2 mils printed, wide bar %3 px: ratio %4 drawn; the standard "
                                "asks at least %5 (2.2 for narrow bars of 20 mils or less).")
                     .arg(narrow)
                     .arg(Fixed1(mils))
                     .arg(r.m.wide)
                     .arg(QLocale().toString(ratio, 'f', 2))
                     .arg(Fixed1(least));
    if (ratio >= least - kSlack) return;
    QStringList changes;
    // The ratios the editor offers, 2.0 to 3.0; a wide bar is a whole number of pixels.
    for (int tenths = 20; tenths <= 30; ++tenths) {
        const int wide = engines::RoundToInt(narrow * tenths / 10.0);
        if (double(wide) / narrow < least - kSlack) continue;
        changes << QStringLiteral("choose a 'Narrow To Width Ratio' of %1 (wide bars of %2 px)")
                       .arg(Fixed1(tenths / 10.0))
                       .arg(wide);
        break;
    }
    if (least == kThinRatio && r.built.widthFor) {
        const int thick = static_cast<int>(std::floor(kThinNarrowMils * resolution / 1000)) + 1;
        if (const QString input = r.built.widthFor(thick); !input.isEmpty())
            changes << QStringLiteral("%1 (narrow bars of %2 px = %3 mils)")
                           .arg(input)
                           .arg(thick)
                           .arg(Fixed1(PrintedMils(thick, resolution)));
    }
    r.Hint(QStringLiteral("ratio"),
           QStringLiteral("Wide-to-narrow ratio %1 drawn (narrow %2 px = %3 mils, wide %4 px), the standard asks at "
                          "least %5: %6.")
               .arg(QLocale().toString(ratio, 'f', 2))
               .arg(narrow)
               .arg(Fixed1(mils))
               .arg(r.m.wide)
               .arg(Fixed1(least))
               .arg(changes.join(QStringLiteral(" or "))));
}

double PrintedMm(double pixels, int resolution) { return pixels * 25.4 / resolution; }
// Millimetres to the figures the GS1 ranges are given in: 0.495, 31.75.
QString Mm(double value) { return QLocale().toString(value, 'f', value < 10 ? 3 : 2); }

// ISO/IEC 15417 leaves Code 128's module to the application: the figure alone.
void Code128Module(Report& r)
{
    r.figures << QStringLiteral("Module: %1 px = %2 mils printed.")
                     .arg(Fixed1(r.m.module), Fixed1(PrintedMils(r.m.module, r.resolution)));
}

// GS1-128's module and ITF-14's narrow bar against the logistics range.
void LogisticsModule(Report& r)
{
    const bool itf = r.built.symbology == Kind::Itf14;
    const QString element = itf ? QStringLiteral("Narrow bar") : QStringLiteral("Module");
    const double mm = PrintedMm(r.m.module, r.resolution);
    r.figures << QStringLiteral("%1: %2 px = %3 mm printed; GS1 asks %4 to %5 mm where cartons are scanned.")
                     .arg(element, Fixed1(r.m.module), Mm(mm), Mm(kLogisticsLeastMm), Mm(kLogisticsMostMm));
    if (mm >= kLogisticsLeastMm - kSlack && mm <= kLogisticsMostMm + kSlack) return;
    const bool small = mm < kLogisticsLeastMm;
    const double bound = (small ? kLogisticsLeastMm : kLogisticsMostMm) / 25.4 * r.resolution;
    const int pixels = std::max(1, static_cast<int>(small ? std::ceil(bound - kSlack) : std::floor(bound + kSlack)));
    const QString input = r.built.widthFor ? r.built.widthFor(pixels) : QString();
    const QString target = QStringLiteral("%1 of %2 px = %3 mm").arg(element.toLower()).arg(pixels).arg(Mm(PrintedMm(pixels, r.resolution)));
    r.Hint(itf ? QStringLiteral("narrow bar width") : QStringLiteral("module width"),
           QStringLiteral("%1 %2 mm printed, outside the %3 to %4 mm GS1 asks where cartons are scanned: %5.")
               .arg(element, Mm(mm), Mm(kLogisticsLeastMm), Mm(kLogisticsMostMm))
               .arg(input.isEmpty() ? QStringLiteral("a %1 would do").arg(target)
                                    : QStringLiteral("choose %1 (a %2)").arg(input, target)));
}

void LogisticsBarHeight(Report& r)
{
    const double mm = PrintedMm(r.m.barHeight, r.resolution);
    r.figures << QStringLiteral("Bar height: %1 px = %2 mm printed; GS1 asks at least %3 mm where the symbol is "
                                "scanned in general distribution.")
                     .arg(r.m.barHeight)
                     .arg(Mm(mm), Mm(kLogisticsBarMm));
    if (mm >= kLogisticsBarMm - kSlack) return;
    const int pixels = static_cast<int>(std::ceil(kLogisticsBarMm / 25.4 * r.resolution - kSlack));
    // The height in hundredths of an inch that the build turns into that many rows.
    int hundredths = static_cast<int>(std::ceil(pixels * 100.0 / r.resolution - kSlack));
    while (engines::RoundToInt(hundredths / 100.0 * r.resolution) < pixels) ++hundredths;
    r.Hint(QStringLiteral("bar height"),
           QStringLiteral("Bars %1 mm high, GS1 asks at least %2 mm where the symbol is scanned in general "
                          "distribution: make the 'Bar code Height' %3 inches (bars of %4 px).")
               .arg(Mm(mm), Mm(kLogisticsBarMm), QLocale().toString(hundredths / 100.0, 'f', 2))
               .arg(pixels));
}

// The length a GS1-128 symbol takes on the carton: its modules and the least quiet zones.
void Gs1Length(Report& r)
{
    const int modules = r.built.modules + r.standard.leftQuiet + r.standard.rightQuiet;
    const double mm = PrintedMm(r.m.module * modules, r.resolution);
    r.figures << QStringLiteral("Length with quiet zones of %1 modules: %2 mm; GS1 asks at most %3 mm.")
                     .arg(r.standard.leftQuiet)
                     .arg(Mm(mm), Mm(kGs1LongestMm));
    if (mm <= kGs1LongestMm + kSlack) return;
    // Narrower modules only where they stay within the logistics range.
    const int most = static_cast<int>(std::floor(kGs1LongestMm / 25.4 * r.resolution / modules + kSlack));
    const bool narrower = most >= 1 && PrintedMm(most, r.resolution) >= kLogisticsLeastMm - kSlack;
    const QString input = narrower && r.built.widthFor ? r.built.widthFor(most) : QString();
    const QString change = input.isEmpty() ? QString() : QStringLiteral("choose %1 (modules of %2 px), or ").arg(input).arg(most);
    r.Hint(QStringLiteral("length"),
           QStringLiteral("GS1-128 symbol %1 mm long with its quiet zones, GS1 asks at most %2 mm: %3put fewer "
                          "Application Identifiers in this symbol and the rest in a second one.")
               .arg(Mm(mm), Mm(kGs1LongestMm), change));
}

void ItfBearers(Report& r)
{
    const int least = 2 * static_cast<int>(r.m.module);
    const bool frame = r.m.bearerSides > 0;
    r.figures << QStringLiteral("Bearer bars: %1 px above, %2 px below%3; GS1 asks at least twice the narrow bar, %4 px.")
                     .arg(r.m.bearerTop)
                     .arg(r.m.bearerBottom)
                     .arg(frame ? QStringLiteral(", %1 px at the sides").arg(r.m.bearerSides) : QString())
                     .arg(least);
    if (r.m.bearerTop == 0 || r.m.bearerBottom == 0) {
        r.Hint(QStringLiteral("bearer bars"),
               QStringLiteral("ITF-14 without bearer bars above and below its bars, where a slanting scan may read a "
                              "short number: choose bearer bars as a frame, or above and below only where the "
                              "printing needs no frame."));
        return;
    }
    int thinnest = std::min(r.m.bearerTop, r.m.bearerBottom);
    if (frame) thinnest = std::min(thinnest, r.m.bearerSides);
    if (thinnest < least)
        r.Hint(QStringLiteral("bearer bars"),
               QStringLiteral("ITF-14 bearer bars %1 px thick, GS1 asks at least twice the narrow bar, %2 px: draw the "
                              "symbol again with bearer bars, which are drawn twice the narrow bar thick.")
                   .arg(thinnest)
                   .arg(least));
}

void StandardFigures(Report& r)
{
    QuietZones(r);
    switch (r.built.symbology) {
    case Kind::Code39: Code39Ratio(r); return;
    case Kind::Code128: Code128Module(r); return;
    case Kind::Gs1_128:
        LogisticsModule(r);
        LogisticsBarHeight(r);
        Gs1Length(r);
        return;
    case Kind::Itf14:
        LogisticsModule(r);
        LogisticsBarHeight(r);
        ItfBearers(r);
        return;
    case Kind::Ean13:
    case Kind::Ean8:
    case Kind::UpcA:
    case Kind::UpcE: break;
    }
    if (r.m.addOnModule > 0) AddOnGap(r);
    ModuleWidth(r);
}

}  // namespace symbols::scan
