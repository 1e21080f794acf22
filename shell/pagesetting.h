// The page setting dialog: edits the five page values in mils it is given; "Save "
// stores them in the settings file and hands them back to be the values in use.
#pragma once

#include <QDialog>

#include "symbols/pagevalues.h"

class QLineEdit;
class QPushButton;

class Tpagesettingfm : public QDialog {
    Q_OBJECT
public:
    explicit Tpagesettingfm(const PageValues& values, QWidget* parent = nullptr);

    // The values saved by "Save ", once it succeeded; until then those given.
    const PageValues& Values() const { return values_; }

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

    PageValues values_;
};
