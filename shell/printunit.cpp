#include "printunit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>

#include "engines/environment.h"
#include "engines/rounding.h"
#include "platform/export.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/printerdots.h"
#include "platform/widgets.h"

namespace {

// The destination's edges in printer pixels, before rounding.
struct Edges {
    double left, top, right, bottom;
};

Edges DestinationEdges(int width, int height, int screenDpi, int printerDpi, double xMils, double yMils)
{
    const double s = screenDpi, p = printerDpi;
    return {xMils / 1000 * p, yMils / 1000 * p, (width / s + xMils / 1000) * p, (height / s + yMils / 1000) * p};
}

// The last pixel before an edge; an edge saturated at the bottom of the int range
// has no pixel before it inside int, so it keeps that bottom.
int LastPixelBefore(double edge)
{
    return static_cast<int>(std::max<std::int64_t>(std::int64_t{engines::RoundToInt(edge)} - 1, INT_MIN));
}

// Whether [from, to), rounded as the destination is, reaches into [low, high).
bool Meets(double from, double to, int low, int high)
{
    return engines::RoundHalfEven(from) < high && engines::RoundHalfEven(to) > low;
}

// Qt lays a job out inside page margins of its own: 10 points on a new PDF or CUPS job,
// and after another printer is picked those of the one before, wherever they exceed the
// new printer's. The offsets count from the printable area the printer reports (for a
// CUPS queue, the imageable area of its description), so the margins are made exactly
// that area's and the painter's origin is its corner.
void MarginsOfThePrintableArea(QPrinter& printer)
{
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
}

// The sheet in the painter's coordinates, whose origin is the printable area's corner.
QRect SheetArea(const QPrinter& printer)
{
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    return paper.translated(-printer.pageRect(QPrinter::DevicePixel).toRect().topLeft());
}

// A picture partly on the sheet prints what falls on it; one wholly off it would
// give a blank page, and an offset of many digits lands beyond any pixel count.
// The notice names the offset to blame, or is empty when something lands.
QString OffSheetNotice(const Edges& e, const QRect& sheet)
{
    const bool xOff = !Meets(e.left, e.right, sheet.left(), sheet.left() + sheet.width());
    const bool yOff = !Meets(e.top, e.bottom, sheet.top(), sheet.top() + sheet.height());
    if (xOff && yOff) return QStringLiteral("The X and Y offsets put the symbol off the page.");
    if (xOff) return QStringLiteral("The X offset puts the symbol off the page.");
    if (yOff) return QStringLiteral("The Y offset puts the symbol off the page.");
    return {};
}

}  // namespace

QRect PrintDestination(int width, int height, int screenDpi, int printerDpi, double xMils, double yMils)
{
    const Edges e = DestinationEdges(width, height, screenDpi, printerDpi, xMils, yMils);
    return QRect(QPoint(engines::RoundToInt(e.left), engines::RoundToInt(e.top)),
                 QPoint(LastPixelBefore(e.right), LastPixelBefore(e.bottom)));
}

bool PrinterReady(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
    return printer.isValid() && !QPrinterInfo::availablePrinters().isEmpty();
}

JobSettings::JobSettings(QPrinter& printer, int dpi, const QPageLayout& layout)
    : printer_(printer), resolution_(printer.resolution()), layout_(printer.pageLayout())
{
    printer.setResolution(dpi);
    taken_ = printer.setPageLayout(layout);
}

JobSettings::~JobSettings()
{
    printer_.setPageLayout(layout_);
    printer_.setResolution(resolution_);
}

int PrinterDots(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) return std::max(0, printer.resolution());
    return platform::QueueDefaultDots(printer.printerName());
}

Tpringfm::Tpringfm(const PrintInputs& inputs, QWidget* parent) : QDialog(parent), inputs_(inputs)
{
    setObjectName(QStringLiteral("pringfm"));
    setWindowTitle(QStringLiteral("Print Option"));
    setFixedSize(251, 192);
    // Opens at its design place: QDialog centres a window on its parent at show time
    // only while the window has never been moved.
    move(350, 248);
    platform::SetPixelFont(this, 11);
    QLabel* xLabel = platform::NewLabel(this, "", QStringLiteral("X\uFF1A"), QRect(24, 32, 30, 13));
    xedt = platform::NewEdit(this, "xedt", {}, QRect(64, 24, 89, 21));
    xLabel->setBuddy(xedt);
    platform::NewLabel(this, "", QStringLiteral("Miles"), QRect(168, 24, 40, 21));
    QLabel* yLabel = platform::NewLabel(this, "", QStringLiteral("Y\uFF1A"), QRect(24, 64, 31, 13));
    yedt = platform::NewEdit(this, "yedt", {}, QRect(64, 64, 89, 21));
    yLabel->setBuddy(yedt);
    platform::NewLabel(this, "", QStringLiteral("Miles"), QRect(168, 64, 40, 21));
    Button1 = platform::NewButton(this, "Button1", QStringLiteral("Print"), QRect(128, 112, 57, 25));
    Button2 = platform::NewButton(this, "Button2", QStringLiteral("Close"), QRect(184, 112, 57, 25));
    Figures = platform::NewLabel(this, "Figures", {}, QRect(8, 144, 235, 42));
    Figures->setWordWrap(true);
    Figures->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    platform::InstallNumericFilter(xedt, this, true, true);
    platform::InstallNumericFilter(yedt, this, true, true);
    platform::SetTabOrder({xedt, Button1, Button2, yedt});
    connect(Button1, &QPushButton::clicked, this, &Tpringfm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tpringfm::Button2Click);
    TellFigures();
}

void Tpringfm::Button1Click()
{
    platform::Guarded([this] { Print(); });
}

void Tpringfm::Button2Click() { reject(); }

void Tpringfm::TellFigures()
{
    const bool ready = inputs_.printer && PrinterReady(*inputs_.printer);
    printerDots_ = ready ? PrinterDots(*inputs_.printer) : 0;
    const symbols::Shown* shown = inputs_.shown ? &*inputs_.shown : nullptr;
    sharp_ = shown && printerDots_ > 0 ? symbols::DrawSharp(*shown, printerDots_) : symbols::SharpPicture{};
    // Where no printer is installed, Qt offers a PDF printer without a file in its place:
    // nothing can be printed, which is what the line tells rather than a resolution.
    if (!ready) return Figures->setText(QStringLiteral("No printer is installed: there is nothing to print to."));
    Figures->setText(symbols::PrintFigures(shown, sharp_, engines::ScreenResolution(), printerDots_, inputs_.sharp));
}

// An offset that does not convert sets both offsets to 0; the page still prints.
void Tpringfm::ReadOffsets(double& x, double& y) const
{
    try {
        x = platform::StrToFloatOrZero(xedt->text());
        y = platform::StrToFloatOrZero(yedt->text());
    } catch (const platform::ConvertError&) {
        x = y = 0;
    }
}

void Tpringfm::Print()
{
    double x = 0, y = 0;
    ReadOffsets(x, y);
    QPrinter* printer = inputs_.printer;
    if (!printer) {
        platform::ShowNotice(this, QStringLiteral("false to init"));
        return;
    }
    const int screenDpi = engines::ScreenResolution();
    const int printerDpi = PrinterReady(*printer) ? printer->logicalDpiX() : 0;
    if (screenDpi <= 0 || printerDpi <= 0) {
        platform::ShowNotice(this, QStringLiteral("Printer is Error"));
        return;
    }
    MarginsOfThePrintableArea(*printer);
    if (inputs_.sharp && !sharp_.picture.isNull()) {
        PrintSharp(*printer, x, y);
        return;
    }
    const QImage& picture = inputs_.picture;
    if (!picture.isNull()) {
        const Edges edges = DestinationEdges(picture.width(), picture.height(), screenDpi, printerDpi, x, y);
        const QString offSheet = OffSheetNotice(edges, SheetArea(*printer));
        if (!offSheet.isEmpty()) {
            platform::ShowNotice(this, offSheet);
            return;
        }
    }
    const QRect target = PrintDestination(picture.width(), picture.height(), screenDpi, printerDpi, x, y);
    if (picture.isNull()) {
        errno = 0;
        return ReportPrintFailure();
    }
    PrintPage(*printer, [&](QPainter& painter) { painter.drawImage(target, picture, picture.rect()); });
}

void Tpringfm::ReportPrintFailure()
{
    platform::ShowNotice(this, QStringLiteral("Printer is Error  %1").arg(engines::LastSystemError()));
}

// One job of one page, or the notice why not.
void Tpringfm::PrintPage(QPrinter& printer, const std::function<void(QPainter&)>& draw)
{
    errno = 0;
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        // Without lossless rendering a PDF would store the bars as JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        draw(painter);
        printed = painter.end();
    }
    if (!printed) ReportPrintFailure();
}

// The page is laid out in the printer's own dots for the job, so that each pixel of the
// sharp picture is one dot; the printer keeps its resolution for stretched prints, also
// when the job is cut short.
void Tpringfm::PrintSharp(QPrinter& printer, double x, double y)
{
    const int dots = printerDots_;
    const JobSettings job(printer, dots, printer.pageLayout());
    // The offset is rounded on the sheet's own grid of dots: the printable area may begin
    // between two dots (a quarter inch at 203 dpi is 50.75 dots).
    const QPointF origin = printer.fullPage() ? QPointF() : printer.pageLayout().paintRect(QPageLayout::Point).topLeft() * dots / 72.0;
    const double left = engines::RoundToInt(origin.x() + x / 1000 * dots) - origin.x();
    const double top = engines::RoundToInt(origin.y() + y / 1000 * dots) - origin.y();
    const QSize size = sharp_.picture.size();
    const QString offSheet =
        OffSheetNotice({left, top, left + size.width(), top + size.height()}, SheetArea(printer));
    if (!offSheet.isEmpty()) return platform::ShowNotice(this, offSheet);
    const QRectF placed = platform::OnWholeDots(QPointF(left, top), size);
    const QImage bits = platform::PrintedBits(sharp_.picture);
    PrintPage(printer, [&](QPainter& painter) { painter.drawImage(placed, bits); });
}
