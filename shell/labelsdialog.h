// The labels dialog: an editor's last build printed on a sheet of labels, as copies
// of one symbol or as messages counting up, through the printer or into a PDF file.
// Every label's symbol is drawn again at the device's own resolution and never scaled.
//
// The settings file keeps the last choice in section [Labels]:
//     Template=<brand and part, "Avery 5160">, or the custom layout's text when that
//              was the choice
//     Custom=<the custom layout last typed, "custom:A4,63.5mmx38.1mm,3x7,...">
// and each printer's corrections in a section of its own (see calibration.h).
#pragma once

#include <QDialog>
#include <QList>
#include <QPointF>
#include <QWidget>
#include <optional>

#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"
#include "symbols/sharpprint.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPagedPaintDevice;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The sheet templates, read once a run: glabels-data's when installed, else the
// built-in sheets.
const sheets::TemplateLibrary& LabelLibrary();

// A sheet drawn to scale: the paper, every label's outline, the labels before the
// first position shaded as used and those a job fills marked. A click on a label
// asks for it as the first position.
class TSheetView : public QWidget {
    Q_OBJECT
public:
    explicit TSheetView(QWidget* parent);
    // None: an empty page is drawn.
    void SetSheet(const std::optional<sheets::LabelTemplate>& sheet);
    // start: 1-based position of the first label; count: labels the job fills.
    void SetRun(int start, int count);
    // The 1-based position of the label under a point of the widget; 0 where none is.
    int PositionAt(QPointF point) const;
    // Where label index (0-based) is drawn, in the widget's coordinates.
    QRectF LabelPlace(int index) const;
    QSize sizeHint() const override { return {260, 320}; }

signals:
    void PositionClicked(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF PagePlace() const;
    double Scale() const;

    std::optional<sheets::LabelTemplate> sheet_;
    QList<QPointF> corners_;
    int start_ = 1, count_ = 0;
};

class Tlabelsfm : public QDialog {
    Q_OBJECT
public:
    // printer: the main window's; null or not ready where none can be had (a PDF can
    // still be written).
    Tlabelsfm(const symbols::Shown& shown, QPrinter* printer, QWidget* parent = nullptr);

    QLineEdit* searchedt = nullptr;
    QListWidget* templatelist = nullptr;  // its first row stands for the custom layout
    QLineEdit* customedt = nullptr;
    QLabel* SheetLine = nullptr;  // the sheet in use, in words
    TSheetView* SheetView = nullptr;
    QSpinBox* startedt = nullptr;
    QRadioButton* copiesbtn = nullptr;
    QRadioButton* sequencebtn = nullptr;
    QSpinBox* countedt = nullptr;
    // What the job gives at the device's resolution, or why it cannot be printed.
    QLabel* Figures = nullptr;
    QLabel* CalibrationLine = nullptr;
    QPushButton* CalibrateButton = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* PdfButton = nullptr;
    QPushButton* CloseButton = nullptr;

    // The sheet chosen, or none (a custom layout that does not parse).
    const std::optional<sheets::LabelTemplate>& Sheet() const { return sheet_; }
    // The printer's resolution, 0 where it cannot be known.
    int PrinterDpi() const { return printerDpi_; }
    // Writes the job to a PDF file at path; the message shown when it was not written.
    QString WritePdf(const QString& path);
    // Picks the template of that name ("Avery 5160"), or the custom layout for a text
    // that starts with "custom:"; false where the list holds no such template.
    bool Pick(const QString& name);

public slots:
    void PrintButtonClick();
    void PdfButtonClick();
    void CalibrateButtonClick();

protected:
    // Enter in a box does nothing: only a button's own Enter or a click prints.
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    struct Outcome {
        QString fault;  // why nothing (or not all) was written
        bool cancelled = false;
    };

    void BuildControls();
    void ConnectHandlers();
    void FillList();
    void Filter(const QString& text);
    void TemplatePicked();
    void CustomEdited();
    void Restore();
    void Refresh();
    // Why the job cannot be written at dpi as it stands, before a label is drawn; or empty.
    QString Refusal(int dpi) const;
    QString Queue() const;
    void TellCalibration();
    void Print();
    Outcome WriteFile(const QString& path);
    Outcome WriteLabels(QPagedPaintDevice& device, int dpi, const sheets::Calibration& calibration, bool cancellable);
    // The symbol of label index (0-based) for the job, as inputs at the build's resolution.
    symbols::Shown LabelShown(const std::string& message) const;

    const symbols::Shown shown_;
    QPrinter* printer_;
    int printerDpi_ = 0;
    // The build drawn at the resolution the dialog tells of (the printer's, else a PDF's).
    symbols::SharpPicture sharp_;
    std::optional<sheets::LabelTemplate> sheet_;
    QString sheetFault_;
    bool filling_ = false;  // the list is being filled or filtered: its signals are not picks
};
