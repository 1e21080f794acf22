// A printer's own corrections for sheets of labels, kept per print queue in the settings
// file, and the small dialog that sets them and prints the page they are measured on.
//
// The settings file keeps one section a queue:
//     [Calibration <queue>]
//     X=<mils>
//     Y=<mils>
//     Scale=<per cent>
// with the queue's name percent-encoded (all but letters, digits and "-._~"), since a
// queue may be named with "]", "=", blanks or letters outside the file's code page.
// A value is written in the C locale; a missing key is the neutral value.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <QString>
#include <optional>

#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"
#include "printunit.h"

class QLabel;
class QLineEdit;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;

// A calibration read from text, or why it cannot be used; the value is then neutral.
struct CalibrationRead {
    sheets::Calibration value;
    QString fault;
};

QString CalibrationSection(const QString& queue);
// The queue's calibration as the settings file keeps it: neutral where it keeps none, a
// fault naming the value where one does not convert or lies out of range.
CalibrationRead ReadCalibration(const QString& queue);
// False where the file could not be written; it is then unchanged.
bool WriteCalibration(const QString& queue, const sheets::Calibration& calibration);
// Three texts as typed (an empty text is the neutral value), read in the C locale.
CalibrationRead CalibrationFromTexts(const QString& x, const QString& y, const QString& scale);

// Prints sheet's calibration page through printer at dpi with calibration: the outlines
// where the grid puts the labels, and rulers. The printer's resolution and page layout
// are as before afterwards. The reason when it could not.
QString PrintCalibrationPage(QPrinter& printer, int dpi, const sheets::LabelTemplate& sheet,
                             const sheets::Calibration& calibration);

class Tcalibratefm : public QDialog {
    Q_OBJECT
public:
    // queue: the printer's queue name; dpi: its resolution (0: not known, nothing prints).
    Tcalibratefm(const QString& queue, QPrinter* printer, int dpi, const sheets::LabelTemplate& sheet,
                 QWidget* parent = nullptr);

    QLineEdit* xedt = nullptr;
    QLineEdit* yedt = nullptr;
    QLineEdit* scaleedt = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QLabel* Note = nullptr;

    // What was saved last, or read at opening.
    const sheets::Calibration& Saved() const { return saved_; }

public slots:
    void PrintButtonClick();
    void SaveButtonClick();

private:
    // The typed values, or none after telling why.
    std::optional<sheets::Calibration> Typed();

    QString queue_;
    QPrinter* printer_;
    int dpi_;
    sheets::LabelTemplate sheet_;
    sheets::Calibration saved_;
};
