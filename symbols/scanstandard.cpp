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
    const bool code39 = r.built.symbology == symbols::Kind::Code39;
    const QString unit = code39 ? QStringLiteral("narrow widths") : QStringLiteral("modules");
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

void StandardFigures(Report& r)
{
    QuietZones(r);
    if (r.built.symbology == Kind::Code39) {
        Code39Ratio(r);
        return;
    }
    if (r.m.addOnModule > 0) AddOnGap(r);
    ModuleWidth(r);
}

}  // namespace symbols::scan
