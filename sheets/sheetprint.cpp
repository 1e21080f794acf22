#include "sheetprint.h"

#include <QFont>
#include <QPagedPaintDevice>
#include <QPageSize>
#include <cmath>

#include "platform/export.h"

namespace sheets {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMmPerInch = 25.4;

int Nearest(double value) { return int(std::lround(value)); }

// Whole dots in a length of points, a hair of rounding forgiven: a label of 1 inch is
// 300 dots at 300 dpi, not 299.
int WholeDots(double points, int dpi) { return int(std::floor(points * dpi / kPointsPerInch + 1e-6)); }

// "2.63 x 1.00 in, 66.7 x 25.4 mm"; a half is rounded up, as a ruler would be read.
QString Size(QSizeF inches)
{
    const auto rounded = [](double value, int decimals) {
        const double scale = std::pow(10.0, decimals);
        return QString::number(std::floor(value * scale + 0.5 + 1e-9) / scale, 'f', decimals);
    };
    const double w = inches.width(), h = inches.height();
    return QStringLiteral("%1 x %2 in, %3 x %4 mm")
        .arg(rounded(w, 2), rounded(h, 2), rounded(w * kMmPerInch, 1), rounded(h * kMmPerInch, 1));
}

// The picture as the printer gets it. One already in that form (one bit a dot, black
// first), as ruvola-batch draws its labels, is taken as it is rather than unpacked and
// packed again.
QImage Printed(const QImage& picture)
{
    const bool printed = picture.format() == QImage::Format_Mono &&
                         picture.colorTable() == QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return printed ? picture : platform::PrintedBits(picture);
}

}  // namespace

QString CalibrationFault(const Calibration& c)
{
    if (!std::isfinite(c.xMils) || std::abs(c.xMils) > 1000)
        return QStringLiteral("The X offset must lie between -1000 and 1000 mils.");
    if (!std::isfinite(c.yMils) || std::abs(c.yMils) > 1000)
        return QStringLiteral("The Y offset must lie between -1000 and 1000 mils.");
    if (!std::isfinite(c.scalePercent) || c.scalePercent < 90 || c.scalePercent > 110)
        return QStringLiteral("The scale must lie between 90 and 110 per cent.");
    return {};
}

SheetGrid::SheetGrid(const LabelTemplate& sheet, int dpi, const Calibration& calibration)
    : sheet_(sheet), dpi_(dpi), calibration_(calibration)
{
    const double scale = calibration.scalePercent / 100.0;
    const double perPoint = double(dpi) / kPointsPerInch;
    const QSize label(WholeDots(sheet.label.width(), dpi), WholeDots(sheet.label.height(), dpi));
    const QPointF offset(calibration.xMils / 1000.0 * dpi, calibration.yMils / 1000.0 * dpi);
    for (const QPointF& corner : LabelCorners(sheet)) {
        const QPointF dots = corner * scale * perPoint + offset;
        labels_.append(QRect(QPoint(Nearest(dots.x()), Nearest(dots.y())), label));
    }
}

QSizeF SheetGrid::Page() const { return sheet_.page * dpi_ / kPointsPerInch; }

QPoint CentredCorner(const QRect& label, QSize symbol)
{
    return label.topLeft() + QPoint((label.width() - symbol.width()) / 2, (label.height() - symbol.height()) / 2);
}

QString FitFault(QSize symbol, const SheetGrid& grid)
{
    const QSize label = grid.LabelsPerSheet() > 0 ? grid.Label(0).size() : QSize();
    if (symbol.width() <= label.width() && symbol.height() <= label.height()) return {};
    const QSizeF symbolInches = QSizeF(symbol) / grid.Dpi();
    return QStringLiteral("The symbol (%1) is larger than the label (%2).")
        .arg(Size(symbolInches), Size(grid.Sheet().label / kPointsPerInch));
}

QPageLayout SheetLayout(const LabelTemplate& sheet)
{
    const bool wide = sheet.page.width() > sheet.page.height();
    const QSizeF upright = wide ? sheet.page.transposed() : sheet.page;
    QPageLayout layout(QPageSize(upright, QPageSize::Point, QString(), QPageSize::FuzzyMatch),
                       wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

QString StartFault(int start, int labelsPerSheet)
{
    if (start >= 1 && start <= labelsPerSheet) return {};
    return QStringLiteral("The first label's position must lie between 1 and %1, the labels of one sheet.").arg(labelsPerSheet);
}

int SheetsNeeded(int labels, int labelsPerSheet, int start)
{
    if (labels <= 0 || labelsPerSheet <= 0) return labels <= 0 ? 1 : 0;
    const long long last = (long long)(start - 1) + labels - 1;
    return int(last / labelsPerSheet + 1);
}

SheetWriter::SheetWriter(QPagedPaintDevice& device, const SheetGrid& grid, int start)
    : device_(device), grid_(grid), next_(start - 1)
{
}

SheetWriter::~SheetWriter()
{
    if (painter_.isActive()) painter_.end();
}

bool SheetWriter::Begin()
{
    if (painter_.isActive()) return true;
    if (!painter_.begin(&device_)) return false;
    painter_.setRenderHint(QPainter::LosslessImageRendering);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    return true;
}

QString SheetWriter::Add(const QImage& picture)
{
    if (grid_.LabelsPerSheet() == 0) return QStringLiteral("The sheet has no labels.");
    if (picture.isNull()) return QStringLiteral("The symbol has no picture.");
    const QRect label = grid_.Label(next_);
    if (QString fault = FitFault(picture.size(), grid_); !fault.isEmpty()) return fault;
    if (!Begin()) return QStringLiteral("The print job could not be started.");
    // The next sheet is opened only when a label goes on it: no blank sheet at the end.
    if (sheetFull_) {
        if (!device_.newPage()) return QStringLiteral("The printer did not take another sheet.");
        sheetFull_ = false;
        ++sheet_;
    }
    if (picture.cacheKey() != lastKey_ || lastBits_.isNull()) {
        lastBits_ = Printed(picture);
        lastKey_ = picture.cacheKey();
    }
    painter_.drawImage(platform::OnWholeDots(CentredCorner(label, picture.size()), picture.size()), lastBits_);
    ++placed_;
    if (++next_ == grid_.LabelsPerSheet()) {
        next_ = 0;
        sheetFull_ = true;
    }
    return {};
}

QString SheetWriter::Finish()
{
    if (!Begin()) return QStringLiteral("The print job could not be started.");
    if (!painter_.end()) return QStringLiteral("The print job could not be written.");
    return {};
}

namespace {

// A line one dot wide: its rectangle of whole dots.
void HorizontalLine(QPainter& painter, int x1, int x2, int y) { painter.fillRect(QRect(x1, y, x2 - x1 + 1, 1), Qt::black); }
void VerticalLine(QPainter& painter, int x, int y1, int y2) { painter.fillRect(QRect(x, y1, 1, y2 - y1 + 1), Qt::black); }

// A ruler along a line at `at` dots from the paper's top (horizontal) or left edge,
// counting from the paper's other edge: millimetre ticks on one side, numbered every
// centimetre, and eighth-inch ticks on the other, numbered every inch.
void Ruler(QPainter& painter, int dpi, double length, int at, bool horizontal)
{
    const auto tick = [&](double along, double from, double to) {
        const int a = Nearest(along), f = Nearest(from), t = Nearest(to);
        if (horizontal)
            VerticalLine(painter, a, std::min(f, t), std::max(f, t));
        else
            HorizontalLine(painter, std::min(f, t), std::max(f, t), a);
    };
    const auto label = [&](double along, double offset, const QString& text) {
        const QPointF p = horizontal ? QPointF(along + dpi / 100.0, at + offset) : QPointF(at + offset, along - dpi / 100.0);
        painter.drawText(p, text);
    };
    const double mm = dpi / kMmPerInch;
    if (horizontal)
        HorizontalLine(painter, 0, int(length), at);
    else
        VerticalLine(painter, at, 0, int(length));
    for (int i = 1; i * mm < length; ++i) {
        const double size = (i % 10 == 0 ? 4.0 : i % 5 == 0 ? 3.0 : 1.5) * mm;
        tick(i * mm, at, at + size);
        if (i % 10 == 0) label(i * mm, 7.5 * mm, QStringLiteral("%1").arg(i / 10));
    }
    const double eighth = dpi / 8.0;
    for (int i = 1; i * eighth < length; ++i) {
        const double size = (i % 8 == 0 ? 4.0 : i % 4 == 0 ? 3.0 : i % 2 == 0 ? 2.0 : 1.2) * mm;
        tick(i * eighth, at, at - size);
        if (i % 8 == 0) label(i * eighth, -4.5 * mm, QStringLiteral("%1\"").arg(i / 8));
    }
    label(horizontal ? 12 * mm : 24 * mm, 7.5 * mm, QStringLiteral("cm"));
}

}  // namespace

void PaintCalibrationPage(QPainter& painter, const SheetGrid& grid)
{
    const int dpi = grid.Dpi();
    const QSizeF page = grid.Page();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(6, dpi / 9));
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < grid.LabelsPerSheet(); ++i) {
        const QRect r = grid.Label(i);
        HorizontalLine(painter, r.left(), r.right(), r.top());
        HorizontalLine(painter, r.left(), r.right(), r.bottom());
        VerticalLine(painter, r.left(), r.top(), r.bottom());
        VerticalLine(painter, r.right(), r.top(), r.bottom());
        painter.drawText(r.adjusted(dpi / 20, dpi / 20, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(i + 1));
    }
    const double mm = dpi / kMmPerInch;
    Ruler(painter, dpi, page.width(), Nearest(15 * mm), true);
    Ruler(painter, dpi, page.height(), Nearest(15 * mm), false);
    const LabelTemplate& sheet = grid.Sheet();
    const QPointF first = LabelCorners(sheet).value(0);
    const Calibration& c = grid.Corrections();
    const QString text =
        QStringLiteral("%1: %2 labels of %3 x %4 mm.\nLabel 1 should start %5 mm from the left edge and %6 mm from "
                       "the top. Measure where its outline is printed, and the rulers against a ruler; then correct "
                       "the printer's offsets and scale.\nPrinted at %7 dpi with X %8 mils, Y %9 mils, scale %10 %.")
            .arg(sheet.Name())
            .arg(grid.LabelsPerSheet())
            .arg(sheet.label.width() / kPointsPerInch * kMmPerInch, 0, 'f', 1)
            .arg(sheet.label.height() / kPointsPerInch * kMmPerInch, 0, 'f', 1)
            .arg(first.x() / kPointsPerInch * kMmPerInch, 0, 'f', 1)
            .arg(first.y() / kPointsPerInch * kMmPerInch, 0, 'f', 1)
            .arg(dpi)
            .arg(c.xMils, 0, 'g', 6)
            .arg(c.yMils, 0, 'g', 6)
            .arg(c.scalePercent, 0, 'g', 6);
    // On white in the middle of the page, over whatever outlines lie there.
    const QRectF box(page.width() * 0.2, page.height() * 0.42, page.width() * 0.6, page.height() * 0.16);
    painter.fillRect(box, Qt::white);
    painter.drawText(box.adjusted(mm * 2, mm * 2, -mm * 2, -mm * 2), Qt::TextWordWrap | Qt::AlignCenter, text);
}

}  // namespace sheets
