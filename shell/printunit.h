// The print option dialog: prints the picture it is given once, at its physical screen size,
// with its top-left corner at an X/Y offset in mils from the printable area.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPageLayout>
#include <QRect>
#include <functional>
#include <optional>

#include "symbols/sharpprint.h"

class QLabel;
class QPainter;
class QLineEdit;
class QPrinter;
class QPushButton;

// Where a W x H bitmap from an S dpi screen lands on a P dpi page at offset X, Y mils.
// Edges beyond the int range are saturated; printing refuses such offsets first.
QRect PrintDestination(int width, int height, int screenDpi, int printerDpi, double xMils, double yMils);
// Whether the printer can take a job: a real queue, or a PDF with a file name.
bool PrinterReady(const QPrinter& printer);
// The dots per inch the printer puts on paper: a PDF file's as it is set, a queue's
// default as its print system reports it; 0 when none can be known.
int PrinterDots(const QPrinter& printer);

// The printer's resolution and page layout for one job, put back as they were after it:
// the print option dialog keeps its printer from job to job.
class JobSettings {
public:
    JobSettings(QPrinter& printer, int dpi, const QPageLayout& layout);
    ~JobSettings();
    JobSettings(const JobSettings&) = delete;
    JobSettings& operator=(const JobSettings&) = delete;
    bool Taken() const { return taken_; }  // the printer took the layout

private:
    QPrinter& printer_;
    int resolution_;
    QPageLayout layout_;
    bool taken_;
};

// What the dialog prints, as its opener hands it over: the picture as the preview shows
// it; the build it shows, where it is one, to draw again at the printer's resolution; the
// printer (null where none can be had); and whether Sharp printing is on.
struct PrintInputs {
    QImage picture;
    std::optional<symbols::Shown> shown;
    QPrinter* printer = nullptr;
    bool sharp = false;
};

class Tpringfm : public QDialog {
    Q_OBJECT
public:
    explicit Tpringfm(const PrintInputs& inputs, QWidget* parent = nullptr);

    QLineEdit* xedt = nullptr;
    QLineEdit* yedt = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    // What the printer will get, in one line: the module in printer dots, stretched and sharp.
    QLabel* Figures = nullptr;

public slots:
    void Button1Click();
    void Button2Click();

private:
    void Print();
    // Prints the sharp picture at the printer's own resolution.
    void PrintSharp(QPrinter& printer, double x, double y);
    void PrintPage(QPrinter& printer, const std::function<void(QPainter&)>& draw);
    void ReportPrintFailure();
    void ReadOffsets(double& x, double& y) const;

    // Asks the printer's resolution once, as the dialog opens: it is modal, so the printer
    // and its resolution stay as they were until it closes.
    void TellFigures();

    const PrintInputs inputs_;
    // The build drawn at printerDots_, made when the dialog opens, to print with Sharp
    // printing on or to tell its figures.
    symbols::SharpPicture sharp_;
    int printerDots_ = 0;
};
