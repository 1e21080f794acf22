// A sheet of labels on paper: where each label lands on the printer's own grid of dots,
// each symbol centred in its label at that resolution, page after page, for a print
// queue or a PDF file alike, and the calibration page a printer is measured with.
// Nothing here scales a picture: a symbol is drawn at the sheet's resolution and each
// of its pixels is one dot.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QList>
#include <QPainter>
#include <QRect>
#include <QString>
#include <memory>

#include "sheets/labeltemplates.h"

class QPagedPaintDevice;

namespace sheets {

// A printer's own corrections, kept per print queue: where its feed puts the page
// against where it should be, and how much it stretches or shrinks the page.
struct Calibration {
    double xMils = 0, yMils = 0;  // moves every label right and down, in 1/1000 inch
    double scalePercent = 100;    // stretches the distances between labels, not the symbols
    bool operator==(const Calibration&) const = default;
};
// Why a calibration cannot be used (offsets beyond a sheet, a scale outside 90 to 110
// per cent), or an empty string.
QString CalibrationFault(const Calibration& calibration);

// The labels of a sheet on a grid of dots: each label's rectangle in dots from the
// paper's top-left corner, its corner rounded to the nearest dot and its sides to whole
// dots, so that every symbol placed in it starts on a dot.
class SheetGrid {
public:
    SheetGrid(const LabelTemplate& sheet, int dpi, const Calibration& calibration = {});
    const LabelTemplate& Sheet() const { return sheet_; }
    int Dpi() const { return dpi_; }
    const Calibration& Corrections() const { return calibration_; }
    int LabelsPerSheet() const { return int(labels_.size()); }
    // Label index (0-based, in the order the sheet is filled).
    QRect Label(int index) const { return labels_.at(index); }
    // The paper's size in dots (its fractions kept).
    QSizeF Page() const;

private:
    LabelTemplate sheet_;
    int dpi_;
    Calibration calibration_;
    QList<QRect> labels_;
};

// Where a symbol of size dots is put in a label: centred, its corner on a whole dot.
QPoint CentredCorner(const QRect& label, QSize symbol);
// Why a symbol of size dots does not fit the grid's labels, naming both sizes; an
// empty string when it fits.
QString FitFault(QSize symbol, const SheetGrid& grid);

// The sheet's paper without margins, the whole page painted: with it, and the device's
// resolution set to the grid's, the painter's origin is the paper's corner and a unit
// is a dot. A paper within a point of a standard one is that paper, so that a print
// queue is asked for A4 or Letter by name.
QPageLayout SheetLayout(const LabelTemplate& sheet);

// Puts symbols on labels in order, starting at a position on the first sheet and
// opening the next sheet when one is full. Each symbol is a picture drawn at the
// grid's resolution; it is printed as one bit a dot, each pixel on one dot.
class SheetWriter {
public:
    // start: the first label's position on the first sheet, 1-based (a part-used sheet),
    // which StartFault accepts.
    // The device must have the sheet's layout and the grid's resolution.
    SheetWriter(QPagedPaintDevice& device, const SheetGrid& grid, int start = 1);
    ~SheetWriter();
    SheetWriter(const SheetWriter&) = delete;
    SheetWriter& operator=(const SheetWriter&) = delete;

    // Places picture in the next label; the reason when it cannot (it does not fit the
    // label, or the device refused a new page), and the label then stays free for the
    // next symbol.
    QString Add(const QImage& picture);
    // Ends the job; the reason when the device could not write it. A job with no label
    // placed is still one (blank) sheet.
    QString Finish();

    int Sheets() const { return sheet_ + 1; }
    int Placed() const { return placed_; }

private:
    bool Begin();

    QPagedPaintDevice& device_;
    const SheetGrid& grid_;
    QPainter painter_;
    int sheet_ = 0;
    int next_;  // 0-based label on the current sheet
    bool sheetFull_ = false;
    int placed_ = 0;
    // The last picture converted to one bit a dot, kept while the same picture comes
    // again (copies), so that the PDF holds it once.
    qint64 lastKey_ = 0;
    QImage lastBits_;
};

// Why a first label's position cannot start a sheet of labelsPerSheet, or empty.
QString StartFault(int start, int labelsPerSheet);
// The sheets a job of labels takes when it starts at position start.
int SheetsNeeded(int labels, int labelsPerSheet, int start);

// The calibration page: every label's outline one dot wide where the grid puts it,
// rulers in millimetres and inches counted from the paper's top and left edges, and in
// the middle of the page where label 1 should start and the corrections printed with.
void PaintCalibrationPage(QPainter& painter, const SheetGrid& grid);

}  // namespace sheets
