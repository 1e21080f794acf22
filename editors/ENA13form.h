// The EAN-13 editor: bar height, symbol width in inches, comment, twelve message
// digits and an optional 2- or 5-digit add-on in; the symbol with its check digit
// out, on the preview and the clipboard.
#pragma once

#include "bareditor.h"

class QComboBox;
class QKeyEvent;

class Tena13fm : public TBarEditor {
    Q_OBJECT
public:
    Tena13fm(QWidget* parent, EditorHost& host);

    QLabel* Label2 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;

public slots:
    // Typed keys of the boxes, each through the numeric key filter.
    bool fheightedtKeyPress(QKeyEvent* key);
    bool barcodeedtKeyPress(QKeyEvent* key);
    bool Edit1KeyPress(QKeyEvent* key);
    void Button1Click() override;

private:
    void Build();
};
