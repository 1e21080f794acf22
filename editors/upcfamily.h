// The UPC-A, EAN-8 and UPC-E editors are one design with other numbers: bar height,
// module width in mils, comment, message digits and an optional 2- or 5-digit add-on
// in; the checked symbol out, on the preview, the clipboard and the work bitmap.
#pragma once

#include "bareditor.h"

// Where the three editors differ.
struct UpcFamilyDesign {
    EditorDesign frame;
    symbols::Kind kind;
    const char* addOnCaption;  // the add-on box's label
    bool widthBeforeAddOn;     // tab order of the last two boxes
};

class QKeyEvent;

class TUpcEditor : public TBarEditor {
    Q_OBJECT
public:
    QLabel* Label2 = nullptr;
    QLineEdit* barwidth = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Supplementaltxt = nullptr;

public slots:
    // Typed keys of the boxes, each through the numeric key filter; no key moves the
    // focus in these editors.
    bool fheightedtKeyPress(QKeyEvent* key);
    bool barwidthKeyPress(QKeyEvent* key);
    bool barcodeedtKeyPress(QKeyEvent* key);
    bool SupplementaltxtKeyPress(QKeyEvent* key);

protected:
    TUpcEditor(QWidget* parent, EditorHost& host, const UpcFamilyDesign& design);
    void Build();

private:
    // The length checks that come before any engine exists; false after telling the user.
    bool LengthsAccepted();

    const UpcFamilyDesign& family_;
};

// The frame the three share, at the client size of each.
constexpr EditorDesign UpcFrame(const char* caption, int width, int height)
{
    return {
        .caption = caption,
        .client = {width, height},
        .panelHeight = 214,
        .firstPicture = {8, 8, 656, 147},
        .colorButton = true,
        .releasesPicturesOnClose = false,
        .heightDefault = "1.3",
        .closeCaption = "close",
        .label1 = {16, 14, 190, 17},
        .fheightedt = {210, 12, 90, 21},
        .label7 = {16, 76, 190, 17},
        .heardtextedt = {210, 74, 346, 21},
        .label6 = {16, 106, 190, 17},
        .barcodeedt = {210, 104, 346, 21},
        .label4 = {330, 14, 255, 17},
        .label5 = {330, 44, 255, 17},
        .button1 = {210, 174, 100, 28},
        .button4 = {330, 174, 100, 28},
        .button3 = {450, 174, 100, 28},
        .button5 = {570, 174, 100, 28},
    };
}
