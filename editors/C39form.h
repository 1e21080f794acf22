// The Code 39 editor: bar height, narrow width, ratio, comment and message in; a
// checked, drawn symbol out, on the preview and the clipboard.
#pragma once

#include "bareditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Tc39fm : public TBarEditor {
    Q_OBJECT
public:
    explicit Tc39fm(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* fheightedt = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* fnarwidthedt = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* natiocbox = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* heardtextedt = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* barcodeedt = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button3 = nullptr;

    // The sentence shown for a status code of the engine's SetParams; empty for 0.
    static QString StatusMessage(int code);

public slots:
    void FormCreate();
    void Button1Click();
    void Button3Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void Build();
};
