// The Code 128, GS1-128 and ITF-14 editors are one design with other numbers: bar
// height, module (or narrow bar) width in mils, comment and message in, and for ITF-14
// the wide-to-narrow ratio and the bearer bars; the symbol out, on the preview, the
// clipboard and the work bitmap.
#pragma once

#include "bareditor.h"
#include "symbols/kind.h"

class QComboBox;
class QKeyEvent;

// Where the three editors differ.
struct LinearFamilyDesign {
    EditorDesign frame;
    symbols::Kind kind;
    const char* widthCaption;  // the width box's label
    const char* messageHint;   // what the message box takes, below it
    bool digitsOnly;           // the message box lets typed digits alone through
    bool ratioAndBearers;      // the ITF ratio and bearer bar lists are shown
};

class TLinearEditor : public TBarEditor {
    Q_OBJECT
public:
    TLinearEditor(QWidget* parent, EditorHost& host, symbols::Kind kind);

    QLabel* Label2 = nullptr;
    QLineEdit* barwidth = nullptr;
    // ITF-14 alone; null in the others.
    QLabel* Label3 = nullptr;
    QComboBox* ratiocbox = nullptr;
    QLabel* Label8 = nullptr;
    QComboBox* bearercbox = nullptr;

public slots:
    // Typed keys of the number boxes through the numeric key filter; the message box
    // through it only where the symbology takes digits alone.
    bool fheightedtKeyPress(QKeyEvent* key);
    bool barwidthKeyPress(QKeyEvent* key);
    bool barcodeedtKeyPress(QKeyEvent* key);
    void Button1Click() override;

private:
    void BuildRatioAndBearers();
    symbols::Inputs ReadInputs() const;

    const LinearFamilyDesign& family_;
};
