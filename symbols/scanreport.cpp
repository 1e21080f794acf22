#include "scanreport.h"

#include <QLocale>
#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "engines/Tupce_unit.h"
#include "engines/rounding.h"
#include "platform/numtext.h"

namespace {

// The published figures (ISO/IEC 15420 for EAN/UPC, ISO/IEC 16388 for Code 39).
struct Standard {
    symbols::Kind symbology;
    const char* name;
    int bars;                    // dark bars of the symbol; Code 39: of one character
    int modules;                 // from the first bar's left edge to the last bar's right edge
    int leftQuiet, rightQuiet;   // least quiet zones in modules; Code 39: narrow widths
    int gapMin;                  // least add-on gap, modules
};

const Standard kStandards[] = {
    {symbols::Kind::Code39, "Code 39", 5, 0, 10, 10, 0},
    {symbols::Kind::Ean13, "EAN-13", 30, 95, 11, 7, 7},
    {symbols::Kind::UpcA, "UPC-A", 30, 95, 9, 9, 9},
    {symbols::Kind::Ean8, "EAN-8", 22, 67, 7, 7, 7},
    {symbols::Kind::UpcE, "UPC-E", 17, 51, 9, 7, 7},
};

struct AddOnShape {
    qsizetype digits;
    int bars, modules;
};
const AddOnShape kAddOns[] = {{2, 7, 20}, {5, 16, 47}};

constexpr int kGapMax = 12;
constexpr int kAddOnRightQuiet = 5;
constexpr double kNominalMils = 13;  // the EAN/UPC module at 100 %
constexpr double kMinPercent = 80, kMaxPercent = 200;
constexpr double kThinNarrowMils = 20;  // Code 39 narrow bars up to this need the larger ratio
constexpr double kThinRatio = 2.2, kLeastRatio = 2.0;
// A measured figure compares with a whole minimum without float noise deciding it.
constexpr double kSlack = 1e-9;

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

// ---- pixel rows -------------------------------------------------------------------

struct Run {
    int left, right;  // dark columns, right excluded
    friend bool operator==(const Run&, const Run&) = default;
};

bool Dark(QRgb pixel) { return qGray(pixel) < 128; }

std::vector<Run> DarkRuns(const QImage& picture, int y)
{
    std::vector<Run> runs;
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    const int width = picture.width();
    for (int x = 0; x < width;) {
        if (!Dark(row[x])) {
            ++x;
            continue;
        }
        const int left = x;
        while (x < width && Dark(row[x])) ++x;
        runs.push_back({left, x});
    }
    return runs;
}

// The row to measure: the middle of the stretch of identical rows that crosses the most
// bars, among stretches not much shorter than the tallest. Rows through text change from
// one to the next; rows through bars do not.
int ScanRow(const QImage& picture)
{
    struct Block {
        int first, samples;
        std::size_t runs;
    };
    const int step = std::max(1, picture.height() / 256);
    std::vector<Block> blocks;
    std::vector<Run> previous;
    for (int y = 0; y < picture.height(); y += step) {
        std::vector<Run> runs = DarkRuns(picture, y);
        if (!blocks.empty() && runs == previous)
            ++blocks.back().samples;
        else
            blocks.push_back({y, 1, runs.size()});
        previous = std::move(runs);
    }
    int tallest = 0;
    for (const Block& block : blocks)
        if (block.runs > 0) tallest = std::max(tallest, block.samples);
    const Block* best = nullptr;
    for (const Block& block : blocks) {
        if (block.runs == 0 || block.samples * 4 < tallest) continue;
        if (!best || block.runs > best->runs || (block.runs == best->runs && block.samples > best->samples))
            best = &block;
    }
    return best ? best->first + (best->samples - 1) / 2 * step : -1;
}

QImage Rgb32(const QImage& picture)
{
    const auto format = picture.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
               ? picture
               : picture.convertToFormat(QImage::Format_RGB32);
}

// ---- texts ------------------------------------------------------------------------

QString Fixed1(double value) { return QLocale().toString(value, 'f', 1); }
QString MilsText(double value) { return platform::FloatToStr(value); }

struct Report {
    const BuiltSymbol& built;
    const Standard& standard;
    const SymbolMeasures& m;
    const QImage& picture;
    QStringList figures, hints, names;

    void Hint(const QString& name, const QString& text)
    {
        names << name;
        hints << text;
    }
    int MilsToAdd(int pixels) const { return MilsFor(pixels, built.resolution); }
};

// "raise the Interval Space from 0 to 37 mils" where that gains pixels of room at
// leverage pixels of room per pixel of interval; empty when the interval cannot.
QString IntervalChange(const BuiltSymbol& built, int pixels, double leverage)
{
    if (leverage == 0 || pixels <= 0) return {};
    const int interval = static_cast<int>(std::ceil(pixels / std::abs(leverage) - kSlack));
    const int mils = MilsFor(interval, built.resolution);
    if (leverage > 0)
        return QStringLiteral("raise the Interval Space from %1 to %2 mils")
            .arg(MilsText(built.interval), MilsText(built.interval + mils));
    if (built.interval < mils) return {};
    return QStringLiteral("lower the Interval Space from %1 to %2 mils")
        .arg(MilsText(built.interval), MilsText(built.interval - mils));
}

// ---- the standard's figures ----------------------------------------------------------

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
    const int resolution = r.built.resolution;
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
    const int resolution = r.built.resolution;
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

// ---- where texts and bars ended up ------------------------------------------------

struct TextGroup {
    const char* subject;  // of the hint's sentence
    const char* name;     // in the line
    bool plural;
    double fromBars;      // interval leverage away from the bars
    double roomBelow;     // interval leverage of the room below, to the bottom edge
    std::vector<const platform::DrawingLog::Text*> texts;
};

// The add-on is drawn last, one digit a text; the comment is the topmost text that
// reads like it; every other text is a human-readable character.
std::vector<TextGroup> GroupTexts(const BuiltSymbol& built)
{
    const IntervalLeverage& lever = built.leverage;
    TextGroup comment{"The comment line", "comment line", false, lever.commentFromBars, 0, {}};
    TextGroup characters{"The human-readable characters", "characters", true, lever.charactersFromBars,
                         lever.roomBelowCharacters, {}};
    TextGroup addOn{"The add-on digits", "add-on digits", true, lever.addOnDigitsFromBars, 0, {}};
    const auto& texts = built.drawn.texts;
    const std::size_t addOnFirst = texts.size() - std::min(texts.size(), std::size_t(built.addOn.size()));
    const platform::DrawingLog::Text* commentText = nullptr;
    for (std::size_t i = 0; i < addOnFirst; ++i)
        if (!built.comment.isEmpty() && QString::fromStdString(texts[i].text) == built.comment &&
            (!commentText || texts[i].at.y() < commentText->at.y()))
            commentText = &texts[i];
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i >= addOnFirst)
            addOn.texts.push_back(&texts[i]);
        else if (&texts[i] == commentText)
            comment.texts.push_back(&texts[i]);
        else
            characters.texts.push_back(&texts[i]);
    }
    return {characters, addOn, comment};
}

QString Verb(const TextGroup& group, const char* singular, const char* plural)
{
    return QString::fromLatin1(group.plural ? plural : singular);
}

void TextOutside(Report& r, const TextGroup& group)
{
    const QRect frame = r.picture.rect();
    int bottom = 0, right = 0, left = 0, top = 0, inked = 0, shown = 0;
    for (const auto* text : group.texts) {
        if (text->ink.isNull()) continue;
        ++inked;
        if (text->ink.intersects(frame)) ++shown;
        bottom = std::max(bottom, text->ink.bottom() - frame.bottom());
        right = std::max(right, text->ink.right() - frame.right());
        left = std::max(left, frame.left() - text->ink.left());
        top = std::max(top, frame.top() - text->ink.top());
    }
    if (inked == 0 || (bottom <= 0 && right <= 0 && left <= 0 && top <= 0)) return;
    QStringList cuts, changes;
    if (bottom > 0) {
        cuts << QStringLiteral("%1 pixel rows below the bottom edge").arg(bottom);
        if (const QString change = IntervalChange(r.built, bottom, group.roomBelow); !change.isEmpty())
            changes << change;
        changes << QStringLiteral("raise the Down Blank Space by %1 mils").arg(r.MilsToAdd(bottom));
    }
    if (right > 0) {
        cuts << QStringLiteral("%1 columns beyond the right edge").arg(right);
        changes << QStringLiteral("raise the Right Blank Space by %1 mils").arg(r.MilsToAdd(right));
    }
    if (left > 0) {
        cuts << QStringLiteral("%1 columns beyond the left edge").arg(left);
        changes << QStringLiteral("raise the Left Blank Space by %1 mils").arg(r.MilsToAdd(left));
    }
    if (top > 0) {
        cuts << QStringLiteral("%1 pixel rows above the top edge").arg(top);
        changes << QStringLiteral("raise the Top Blank Space by %1 mils").arg(r.MilsToAdd(top));
    }
    const QString how = shown == 0 ? Verb(group, "falls wholly outside the picture and does not show",
                                          "fall wholly outside the picture, so none of them shows")
                                   : Verb(group, "falls partly outside the picture", "fall partly outside the picture");
    r.Hint(QString::fromLatin1(group.name) + QStringLiteral(" outside"),
           QStringLiteral("%1 %2 (%3): %4.")
               .arg(QString::fromLatin1(group.subject), how, cuts.join(QStringLiteral(", ")),
                    changes.join(QStringLiteral(", or "))));
}

void TextIntoBars(Report& r, const TextGroup& group)
{
    int rows = 0;
    bool beside = false;
    for (const auto* text : group.texts) {
        for (const QRect& bar : r.built.drawn.bars) {
            const QRect both = text->ink & bar;
            if (both.isEmpty()) continue;
            int top = INT_MAX, bottom = INT_MIN;
            for (int y = both.top(); y <= both.bottom(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(text->drawn.constScanLine(y - text->at.y()));
                for (int x = both.left(); x <= both.right(); ++x)
                    if (row[x - text->at.x()] != text->box) {
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            }
            if (bottom == INT_MIN) continue;
            if (text->ink.top() >= bar.top() && text->ink.bottom() <= bar.bottom())
                beside = true;
            else if (text->ink.center().y() < bar.center().y())
                rows = std::max(rows, bottom - bar.top() + 1);
            else
                rows = std::max(rows, bar.bottom() - top + 1);
        }
    }
    if (!beside && rows == 0) return;
    const QString change = beside ? QString() : IntervalChange(r.built, rows, group.fromBars);
    const QString into = beside ? QStringLiteral("into the bars beside them")
                                : QStringLiteral("%1 pixel rows into the bars").arg(rows);
    r.Hint(QString::fromLatin1(group.name) + QStringLiteral(" in the bars"),
           QStringLiteral("%1 %2 %3: %4.")
               .arg(QString::fromLatin1(group.subject), Verb(group, "runs", "run"), into,
                    change.isEmpty() ? QStringLiteral("choose a smaller font") : change));
}

// Six UPC-E digits that are not the standard short form of their number are drawn and
// scan as that number, but other generators and some checkers refuse them.
void UpceShortForm(Report& r)
{
    if (r.built.symbology != symbols::Kind::UpcE || r.built.number.size() != 8) return;
    const std::string six = r.built.number.mid(1, 6).toStdString();
    const std::string number = engines::Tupce::Expand(six);
    const std::string form = engines::Tupce::StandardForm(number);
    if (form.empty() || form == six) return;
    r.Hint(QStringLiteral("short form"),
           QStringLiteral("%1 is not the standard short form of UPC-A %2%3, which other generators refuse: "
                          "the standard form of the same number is %4.")
               .arg(QString::fromStdString(six), QString::fromStdString(number), r.built.number.right(1),
                    QString::fromStdString(form)));
}

// Bars are only cut off by page values below zero, which can be pasted.
void BarsOutside(Report& r)
{
    const QRect frame = r.picture.rect();
    int bottom = 0, right = 0, left = 0, top = 0;
    for (const QRect& bar : r.built.drawn.bars) {
        bottom = std::max(bottom, bar.bottom() - frame.bottom());
        right = std::max(right, bar.right() - frame.right());
        left = std::max(left, frame.left() - bar.left());
        top = std::max(top, frame.top() - bar.top());
    }
    const auto side = [&](int pixels, const char* edge, const char* blankSpace) {
        if (pixels <= 0) return;
        const bool addOn = !r.built.addOn.isEmpty() && QString::fromLatin1(edge) == QStringLiteral("right");
        r.Hint(addOn ? QStringLiteral("add-on outside") : QStringLiteral("bars outside"),
               QStringLiteral("%1 outside the picture (%2 pixels beyond the %3 edge): raise the %4 by %5 mils.")
                   .arg(addOn ? QStringLiteral("The add-on falls") : QStringLiteral("The bars fall"))
                   .arg(pixels)
                   .arg(QString::fromLatin1(edge), QString::fromLatin1(blankSpace))
                   .arg(r.MilsToAdd(pixels)));
    };
    side(left, "left", "Left Blank Space");
    side(right, "right", "Right Blank Space");
    side(top, "top", "Top Blank Space");
    side(bottom, "bottom", "Down Blank Space");
}

// ---- what the scanner read ----------------------------------------------------------

QString Symbol(const QString& symbology, const QString& number, const QString& addOn)
{
    QString text = symbology + QLatin1Char(' ') + number;
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

}  // namespace

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

SymbolMeasures MeasurePicture(const QImage& image, const BuiltSymbol& built)
{
    SymbolMeasures m;
    const QImage picture = Rgb32(image);
    if (picture.isNull()) return m;
    m.row = ScanRow(picture);
    if (m.row < 0) return m;
    const std::vector<Run> runs = DarkRuns(picture, m.row);
    const Standard& standard = StandardOf(built.symbology);
    const std::size_t mainBars = MainBars(built, standard);
    const AddOnShape* addOn = AddOnOf(built.addOn);
    if (runs.size() != mainBars + (addOn ? std::size_t(addOn->bars) : 0)) return m;
    m.measured = true;
    m.left = runs.front().left;
    m.right = picture.width() - runs.back().right;
    if (built.symbology == symbols::Kind::Code39) {
        int narrow = INT_MAX;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const int bar = runs[i].right - runs[i].left;
            const int space = i + 1 < runs.size() ? runs[i + 1].left - runs[i].right : bar;
            narrow = std::min({narrow, bar, space});
            m.wide = std::max({m.wide, bar, space});
        }
        m.module = narrow;
        return m;
    }
    const Run& lastMain = runs[mainBars - 1];
    m.module = double(lastMain.right - runs.front().left) / standard.modules;
    if (addOn) {
        const Run& firstAddOn = runs[mainBars];
        m.gap = firstAddOn.left - lastMain.right;
        m.addOnModule = double(runs.back().right - firstAddOn.left) / addOn->modules;
    }
    return m;
}

ScanReport AssessScan(const QImage& image, const BuiltSymbol& built, const platform::ScanRead& read)
{
    const QImage picture = Rgb32(image);
    const Standard& standard = StandardOf(built.symbology);
    // Without a resolution nothing converts to mils: the reading alone is told.
    const SymbolMeasures m = built.resolution > 0 ? MeasurePicture(picture, built) : SymbolMeasures{};
    Report r{built, standard, m, picture, {}, {}, {}};
    if (m.measured) {
        QuietZones(r);
        if (built.symbology == symbols::Kind::Code39) {
            Code39Ratio(r);
        } else {
            if (m.addOnModule > 0) AddOnGap(r);
            ModuleWidth(r);
        }
    } else {
        r.figures << QStringLiteral("The bars could not be measured: no pixel row crosses exactly the bars built.");
    }
    for (const TextGroup& group : GroupTexts(built)) {
        TextOutside(r, group);
        TextIntoBars(r, group);
    }
    BarsOutside(r);
    UpceShortForm(r);

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
