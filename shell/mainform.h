// The main window: menus, status bar and the client panel that hosts the editor of
// the chosen symbology. It owns the settings every editor shares: the page values
// in mils, the text font, the bar colour and the printer.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <memory>

#include "editors/editorhost.h"
#include "engines/canvas.h"
#include "symbols/kind.h"

class QAction;
class QColorDialog;
class QFrame;
class QLabel;
class QMenu;
class QPrinter;
class QWidget;
struct PrintInputs;

namespace platform {
class FontColorDialog;
}

class Tmainfm : public QMainWindow, public EditorHost {
    Q_OBJECT
public:
    explicit Tmainfm(QWidget* parent = nullptr);
    ~Tmainfm() override;

    // Shared settings.
    double ftop = 0, fdown = 0, fleft = 0, fright = 0, fiwidth = 0;
    engines::Font font;
    engines::Rgb color = engines::kBlack;
    // Made when first needed: with a print system present, asking it for the default
    // queue is the slowest part of start-up.
    std::unique_ptr<QPrinter> printer;
    QPrinter* Printer();

    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* PageSetting1 = nullptr;
    QAction* Fontsetting1 = nullptr;
    QAction* Colorsetting1 = nullptr;
    QAction* ScanCheck1 = nullptr;
    QAction* SharpPrinting1 = nullptr;
    QMenu* Symbology1 = nullptr;
    QAction* C391 = nullptr;
    QAction* ENA13 = nullptr;
    QAction* EAN81 = nullptr;
    QAction* upca1 = nullptr;
    QAction* UPCE1 = nullptr;
    QAction* Code1281 = nullptr;
    QAction* GS11281 = nullptr;
    QAction* ITF141 = nullptr;
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
    // Made at their first showing.
    platform::FontColorDialog* FontDialog1 = nullptr;
    QColorDialog* ColorDialog1 = nullptr;

    QWidget* barform = nullptr;
    QAction* checkeditem = nullptr;

    QString StatusText(int panel) const;

    // What the editors use of the main window.
    PageValues Pages() const override;
    const engines::Font& TextFont() const override { return font; }
    engines::Rgb BarColor() const override { return color; }
    bool ScanCheckOn() const override;
    void ShowPageSetting(QWidget* owner) override;
    void ShowFontDialog() override { Fontsetting1Click(); }
    void ShowColorDialog() override { Colorsetting1Click(); }
    void ShowPrintOption(QWidget* owner, const QImage& picture, const symbols::Shown* shown) override;
    // What the print option dialog works on for picture and the build it shows, or none.
    PrintInputs PrintInputsFor(const QImage& picture, const symbols::Shown* shown);
    // Puts values in use, as "Save " in the page setting dialog does.
    void SetPages(const PageValues& values);
    // Whether Print draws the build again at the printer's resolution.
    bool SharpPrintingOn() const;
    void ReleasePrintBitmap() override;
    // The labels dialog over the main window's printer.
    void ShowLabels(QWidget* owner, const symbols::Shown& shown) override;

public slots:
    void FormCreate();
    QWidget* BarFormCreat();
    void changeform(const QString& name);
    void Save1Click();
    void PageSetting1Click();
    void Fontsetting1Click();
    void Colorsetting1Click();
    void ScanCheck1Click();
    void SharpPrinting1Click();
    void C391Click();
    void ENA13Click();
    void EAN81Click();
    void upca1Click();
    void UPCE1Click();
    void Code1281Click();
    void GS11281Click();
    void ITF141Click();
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
    void ReadSharpPrinting();
    void ReplaceEditor(const QString& name);
    void OpenPageSetting(QWidget* owner);
    void PickSymbology(symbols::Kind kind);
};

// The main window, reachable from every window for the whole run.
extern Tmainfm* mainfm;
// The picture the print option dialog prints; filled by an editor's Print.
extern QImage PrintBitmap;
