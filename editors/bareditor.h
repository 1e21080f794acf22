// What every symbology editor shares: the tool bar, the height, comment and message
// rows, Build/Copy and Print, the grey preview area with its centred image, the work
// bitmap that holds the horizontal result of the last build, the quarter turn and
// back, the clipboard copy and the hand-off to printing. An editor is a design (the
// numbers below), its own parameter rows and its Build/Copy.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>
#include <optional>

#include "platform/export.h"
#include "symbols/scanreport.h"
#include "symbols/sharpprint.h"
#include "symbols/symbolbuild.h"

class EditorHost;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;

// The preview image control: shows its picture at the picture's size.
class TImage : public QWidget {
public:
    explicit TImage(QWidget* parent);
    QImage picture;
    // Resizes control and picture; the picture becomes white.
    void SetSize(int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Where an editor differs from the others in its frame and shared controls.
struct EditorDesign {
    const char* caption;
    QSize client;
    int panelHeight;
    QRect firstPicture;
    bool colorButton;      // the bar colour button before the separator, the turns after it
    // FormCreate starts without a work bitmap (each build makes it) and FormClose, as the
    // editor closes, releases it and the print picture (Code 39 and EAN-13).
    bool releasesPicturesOnClose;
    const char* heightDefault;
    const char* closeCaption;  // the invisible close button; none where null
    bool closeButtonCloses = false;  // the close button closes the editor (Code 39's alone)
    // Places of the shared controls inside the parameter panel.
    QRect label1, fheightedt, label7, heardtextedt, label6, barcodeedt, label4, label5, button1, button4, button3;
    QRect button5;  // "Labels...", clear of every other control
    bool lowerInnerPanel = false;  // the parameter panel's bevel is lowered
};

class TBarEditor : public QWidget {
    Q_OBJECT
public:
    TBarEditor(QWidget* parent, EditorHost& host, const EditorDesign& design);

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton2 = nullptr;
    QToolButton* ToolButton6 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QAction* ToolButton4 = nullptr;
    QWidget* Panel1 = nullptr;
    QFrame* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QLabel* Panel4 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    TImage* Image1 = nullptr;
    QImage work;

    QLabel* Label1 = nullptr;
    QLineEdit* fheightedt = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* heardtextedt = nullptr;
    QLabel* Label6 = nullptr;
    QLineEdit* barcodeedt = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button3 = nullptr;
    // "Labels...": the last build on a sheet of labels; enabled while the preview shows a build.
    QPushButton* Button5 = nullptr;
    // The scan check's line on the preview's caption strip, right of "Preview": what a
    // scanner reads from the picture on the clipboard; the figures and hints in its tip.
    QLabel* ScanLine = nullptr;
    // "Export..." in the preview's context menu: the last good build as a PNG, SVG or
    // PDF file at its true size; enabled from the first successful build on.
    QAction* ExportAction = nullptr;
    // "Scan check details..." beside it: the scan line's figures and hints in a box that
    // a keyboard reaches and a screen reader reads; enabled while the line has them.
    QAction* ScanDetailsAction = nullptr;

    // Reads picture as a scanner would, sets it against the last build and shows the
    // outcome in ScanLine. A build checks the picture it put on the clipboard.
    void CheckScan(const QImage& picture);
    void ClearScanLine();
    const ScanReport& LastScan() const { return scan_; }
    // The build the preview shows, for export, the scan check and a print at the
    // printer's resolution; none while the preview shows none.
    const std::optional<symbols::Shown>& LastShown() const { return shown_; }
    // Writes the last good build to path (format by suffix); the message shown when it
    // could not be written, or an empty string.
    QString ExportTo(const QString& path);

public slots:
    void FormCreate();
    void FormClose();
    void ToolButton1Click();
    void ToolButton2Click();
    void ToolButton6Click();
    void ToolButton3Click();
    void ToolButton5Click();
    void Button4Click();
    void Button3Click();
    void Button5Click();
    virtual void Button1Click() = 0;
    // Asks for a file name and exports the last good build there.
    void ExportClick();
    // Shows what the scan check found, one figure or hint a line.
    void ScanDetailsClick();

protected:
    EditorHost& host;

    // A label of the parameter panel, in the panel's 13-pixel font.
    QLabel* PanelLabel(const char* name, const char* text, QRect place, bool bold = false);
    // Gives Image1 a white picture of this size. A size beyond what a desktop bitmap
    // takes, or a picture that cannot be allocated, is told to the user and changes nothing.
    bool SizePicture(qint64 width, qint64 height);
    // The inputs every editor takes alike: the comment as typed, the page values, the
    // shared font and colour, and the screen's resolution.
    symbols::Inputs SharedInputs() const;
    // Whether drawing may be painted; otherwise its notice is shown (a conversion error
    // as the general error box) and false returned.
    bool Accepted(const symbols::Drawing& drawing);
    // Paints drawing on the preview, sized before.
    void PaintPreview(const symbols::Drawing& drawing);
    // A white work bitmap of this size; false, with the same notice, when it cannot be made.
    bool SizeWorkBitmap(qint64 width, qint64 height);
    // Whitens the work bitmap and the preview at their sizes, as a new build starts; the
    // last symbol is no longer shown, so it is no longer offered for export, nor is
    // what the scanner read of it shown.
    void WhitenPictures();
    // Export and a sharp print offer nothing until the next build finishes.
    void WithdrawExport();
    // Places Image1 in the middle of the scroll box, or at 0 on a side where it does not fit.
    void CentreImage();
    void EnableTurnButtons();
    // The end every successful build shares: turns and Print enabled, the picture on the
    // clipboard ("Fail to copy" when refused). Where the editor keeps the finished preview
    // as its work bitmap, a refused copy keeps the previous one; otherwise the work bitmap
    // is then taken from the preview and the preview centred. With the scan check on, the
    // picture copied is then checked against the drawing.
    // The picture carries the resolution it was drawn at; the drawing is kept, as the
    // editor's one record of its last build, for export and the scan check, and its
    // inputs to draw it again at a printer's resolution.
    bool FinishBuild(bool takeWorkFromPreview, const symbols::Drawing& drawing, const symbols::Inputs& inputs);
    // The build of an editor that keeps no window step of its own around the one call:
    // inputs drawn, then shown, copied and kept as FinishBuild does; a refusal is told
    // and leaves the last build as it was.
    void BuildAndShow(symbols::Kind kind, const symbols::Inputs& inputs);
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildFrame();
    void BuildToolBar();
    void BuildSharedControls();
    void ConnectHandlers();
    QToolButton* AddToolButton(const char* name, const char* caption, const char* spoken, int icon, bool enabled);
    bool PictureSizeAccepted(qint64 width, qint64 height);
    // A white picture of this size, or a null one after telling the user why not.
    QImage NewPicture(qint64 width, qint64 height);
    void FitScrollArea();
    void DescribePreview();

    const EditorDesign& design_;
    ScanReport scan_;
    // The last build, as the preview shows it; none while it shows none.
    std::optional<symbols::Shown> shown_;
};
