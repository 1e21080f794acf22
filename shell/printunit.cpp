#include "printunit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <cerrno>

#include "engines/environment.h"
#include "engines/rounding.h"
#include "mainform.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/widgets.h"

QRect PrintDestination(int width, int height, int screenDpi, int printerDpi, double xMils, double yMils)
{
    const double s = screenDpi, p = printerDpi;
    const int left = engines::RoundToInt(xMils / 1000 * p);
    const int top = engines::RoundToInt(yMils / 1000 * p);
    const int right = engines::RoundToInt((width / s + xMils / 1000) * p);
    const int bottom = engines::RoundToInt((height / s + yMils / 1000) * p);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool PrinterReady(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) return !printer.outputFileName().isEmpty();
    return printer.isValid() && !QPrinterInfo::availablePrinters().isEmpty();
}

Tpringfm::Tpringfm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("pringfm"));
    setWindowTitle(QStringLiteral("Print Option"));
    setFixedSize(251, 146);
    platform::SetPixelFont(this, 11);
    platform::NewLabel(this, "", QStringLiteral("X\uFF1A"), QRect(24, 32, 30, 13));
    xedt = platform::NewEdit(this, "xedt", {}, QRect(64, 24, 89, 21));
    platform::NewLabel(this, "", QStringLiteral("Miles"), QRect(168, 24, 40, 21));
    platform::NewLabel(this, "", QStringLiteral("Y\uFF1A"), QRect(24, 64, 31, 13));
    yedt = platform::NewEdit(this, "yedt", {}, QRect(64, 64, 89, 21));
    platform::NewLabel(this, "", QStringLiteral("Miles"), QRect(168, 64, 40, 21));
    Button1 = platform::NewButton(this, "Button1", QStringLiteral("Print"), QRect(128, 112, 57, 25));
    Button2 = platform::NewButton(this, "Button2", QStringLiteral("Close"), QRect(184, 112, 57, 25));
    platform::InstallNumericFilter(xedt, this, true, true);
    platform::InstallNumericFilter(yedt, this, true, true);
    platform::SetTabOrder({xedt, Button1, Button2, yedt});
    connect(Button1, &QPushButton::clicked, this, &Tpringfm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Tpringfm::Button2Click);
}

void Tpringfm::Button1Click()
{
    platform::Guarded([this] { Print(); });
}

void Tpringfm::Button2Click() { reject(); }

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
    QPrinter* printer = mainfm ? mainfm->Printer() : nullptr;
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
    const QRect target = PrintDestination(PrintBitmap.width(), PrintBitmap.height(), screenDpi, printerDpi, x, y);
    errno = 0;
    QPainter painter;
    bool printed = !PrintBitmap.isNull() && painter.begin(printer);
    if (printed) {
        // Without lossless rendering a PDF would store the bars as JPEG.
        painter.setRenderHint(QPainter::LosslessImageRendering);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, PrintBitmap, PrintBitmap.rect());
        printed = painter.end();
    }
    if (!printed) platform::ShowNotice(this, QStringLiteral("Printer is Error  %1").arg(engines::LastSystemError()));
}
