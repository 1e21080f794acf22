// The print option dialog: prints PrintBitmap once, at its physical screen size,
// with its top-left corner at an X/Y offset in mils from the printable area.
#pragma once

#include <QDialog>
#include <QRect>

class QLineEdit;
class QPrinter;
class QPushButton;

// Where a W x H bitmap from an S dpi screen lands on a P dpi page at offset X, Y mils.
// Edges beyond the int range are saturated; printing refuses such offsets first.
QRect PrintDestination(int width, int height, int screenDpi, int printerDpi, double xMils, double yMils);
// Whether the printer can take a job: a real queue, or a PDF with a file name.
bool PrinterReady(const QPrinter& printer);

class Tpringfm : public QDialog {
    Q_OBJECT
public:
    explicit Tpringfm(QWidget* parent = nullptr);

    QLineEdit* xedt = nullptr;
    QLineEdit* yedt = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;

public slots:
    void Button1Click();
    void Button2Click();

private:
    void Print();
    void ReadOffsets(double& x, double& y) const;
};
