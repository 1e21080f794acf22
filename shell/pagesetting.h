// The page setting dialog: edits the five page values in mils; "Save " stores them
// in the settings file and makes them the values in use.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class Tpagesettingfm : public QDialog {
    Q_OBJECT
public:
    explicit Tpagesettingfm(QWidget* parent = nullptr);

    QLineEdit* topedt = nullptr;
    QLineEdit* downedt = nullptr;
    QLineEdit* leftedt = nullptr;
    QLineEdit* rightedt = nullptr;
    QLineEdit* iwidthedt = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    void FormCreate();
    void BitBtn1Click();
    void BitBtn2Click();

private:
    void Save();
};
