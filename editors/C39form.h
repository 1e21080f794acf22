// The Code 39 editor: bar height, narrow width, ratio, comment and message in; a
// checked, drawn symbol out, on the preview and the clipboard.
#pragma once

#include "bareditor.h"

class QComboBox;
class QKeyEvent;

class Tc39fm : public TBarEditor {
    Q_OBJECT
public:
    Tc39fm(QWidget* parent, EditorHost& host);

    QLabel* Label2 = nullptr;
    QLineEdit* fnarwidthedt = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* natiocbox = nullptr;

public slots:
    // Typed keys of the boxes: the number boxes through the numeric key filter; the
    // message box lets every key through.
    bool fheightedtKeyPress(QKeyEvent* key);
    bool fnarwidthedtKeyPress(QKeyEvent* key);
    bool barcodeedtKeyPress(QKeyEvent* key);
    void Button1Click() override;

private:
    void Build();
};
