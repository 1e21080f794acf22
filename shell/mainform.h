// The main window: menus, status bar and the client panel that hosts the editor of
// the chosen symbology. It owns the settings every editor shares: the page values
// in mils, the text font, the bar colour and the printer.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <memory>

#include "engines/canvas.h"

class QAction;
class QColorDialog;
class QFontDialog;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QWidget;

class Tmainfm : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmainfm(QWidget* parent = nullptr);
    ~Tmainfm() override;

    // Shared settings.
    double ftop = 0, fdown = 0, fleft = 0, fright = 0, fiwidth = 0;
    engines::Font font;
    engines::Rgb color = engines::kBlack;
    std::unique_ptr<QPrinter> printer;

    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* PageSetting1 = nullptr;
    QAction* Fontsetting1 = nullptr;
    QAction* Colorsetting1 = nullptr;
    QMenu* Symbology1 = nullptr;
    QAction* C391 = nullptr;
    QAction* ENA13 = nullptr;
    QAction* EAN81 = nullptr;
    QAction* upca1 = nullptr;
    QAction* UPCE1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Help2 = nullptr;
    QAction* Exit2 = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanels[3] = {};
    QFrame* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QFrame* Panel4 = nullptr;
    QFontDialog* FontDialog1 = nullptr;
    QColorDialog* ColorDialog1 = nullptr;

    QWidget* barform = nullptr;
    QAction* checkeditem = nullptr;

    QString StatusText(int panel) const;

public slots:
    void FormCreate();
    QWidget* BarFormCreat();
    void changeform(const QString& name);
    void Save1Click();
    void PageSetting1Click();
    void Fontsetting1Click();
    void Colorsetting1Click();
    void C391Click();
    void ENA13Click();
    void EAN81Click();
    void upca1Click();
    void UPCE1Click();
    void About1Click();
    void Help2Click();
    void Exit2Click();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildMenus();
    void BuildPanels();
    void BuildStatusBar();
    void ConnectHandlers();
    void ReadPageValues();
};

// The main window, reachable from every window for the whole run.
extern Tmainfm* mainfm;
// The picture the print option dialog prints; filled by an editor's Print.
extern QImage PrintBitmap;
