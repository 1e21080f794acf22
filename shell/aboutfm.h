// The about box: the program's name and a text that "About.txt" beside the
// executable can replace.
#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class Taboutform : public QDialog {
    Q_OBJECT
public:
    explicit Taboutform(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QStringList lines;

public slots:
    void FormCreate();
    void FormPaint();
    void Button1Click();

protected:
    void paintEvent(QPaintEvent* event) override;
};
