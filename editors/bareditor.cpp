#include "bareditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QToolBar>
#include <QToolButton>

#include "editorhost.h"
#include "engines/errors.h"
#include "engines/environment.h"
#include "engines/rounding.h"
#include "platform/clipboard.h"
#include "platform/icons.h"
#include "platform/notices.h"
#include "platform/qtcanvas.h"
#include "platform/scancheck.h"
#include "platform/turn.h"
#include "platform/widgets.h"
#include "symbols/notices.h"

namespace {
constexpr int kToolBarHeight = 41;
constexpr int kPreviewCaptionHeight = 18;
// The scan line starts this far right of the strip's middle, clear of the centred "Preview".
constexpr int kScanLineOffset = 32;
const QColor kPreviewGrey(128, 128, 128);
}  // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Image1")); }

void TImage::SetSize(int width, int height)
{
    resize(width, height);
    picture = platform::WhiteImage(width, height);
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (picture.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, picture);
}

TBarEditor::TBarEditor(QWidget* parent, EditorHost& editorHost, const EditorDesign& design)
    : QWidget(parent), host(editorHost), design_(design)
{
    setWindowTitle(QString::fromLatin1(design.caption));
    setFixedSize(design.client);
    setAutoFillBackground(true);
    platform::SetPixelFont(this, 11);
    BuildToolBar();
    BuildFrame();
    BuildSharedControls();
    ConnectHandlers();
    if (design.releasesPicturesOnClose) FormCreate();
}

void TBarEditor::BuildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setGeometry(0, 0, design_.client.width(), kToolBarHeight);
    ToolBar1->setIconSize(QSize(32, 32));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolButton1 = AddToolButton("ToolButton1", "pagesetting", "Page setting", platform::iconPageSetting, true);
    ToolButton2 = AddToolButton("ToolButton2", "font", "Font", platform::iconFont, true);
    const auto addSeparator = [this] {
        ToolButton4 = ToolBar1->addSeparator();
        ToolButton4->setObjectName(QStringLiteral("ToolButton4"));
        ToolButton4->setText(QStringLiteral("trun 2"));
    };
    if (design_.colorButton) {
        ToolButton6 = AddToolButton("ToolButton6", "ToolButton6", "Bar colour", platform::iconColour, true);
        addSeparator();
    }
    ToolButton3 = AddToolButton("ToolButton3", "turn3", "Turn back to horizontal", platform::iconHorizontal, false);
    ToolButton5 = AddToolButton("ToolButton5", "turn 1", "Turn a quarter turn clockwise", platform::iconTurn, false);
    if (!design_.colorButton) addSeparator();
}

void TBarEditor::BuildFrame()
{
    const int width = design_.client.width();
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kToolBarHeight, width, design_.panelHeight);
    Panel2 = new QFrame(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    if (design_.lowerInnerPanel) Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setGeometry(0, 0, width, design_.panelHeight);

    const int previewTop = kToolBarHeight + design_.panelHeight;
    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, previewTop, width, design_.client.height() - previewTop);
    Panel4 = new QLabel(QStringLiteral("Preview"), Panel3);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setGeometry(0, 0, width, kPreviewCaptionHeight);
    Panel4->setAlignment(Qt::AlignCenter);
    ScanLine = new QLabel(Panel4);
    ScanLine->setObjectName(QStringLiteral("ScanLine"));
    ScanLine->setGeometry(width / 2 + kScanLineOffset, 0, width / 2 - kScanLineOffset - 4, kPreviewCaptionHeight);
    ScanLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ScrollBox1 = new QScrollArea(Panel3);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setGeometry(0, kPreviewCaptionHeight, width, Panel3->height() - kPreviewCaptionHeight);
    ScrollBox1->setWidgetResizable(false);
    auto* surface = new QWidget;
    QPalette grey = surface->palette();
    grey.setColor(QPalette::Window, kPreviewGrey);
    surface->setPalette(grey);
    surface->setAutoFillBackground(true);
    ScrollBox1->setPalette(grey);
    ScrollBox1->setWidget(surface);
    Image1 = new TImage(surface);
    Image1->setGeometry(design_.firstPicture);
    // The scroll box takes the focus; both tell what the preview shows.
    Image1->setAccessibleName(QStringLiteral("Preview"));
    ScrollBox1->setAccessibleName(QStringLiteral("Preview"));
    ExportAction = new QAction(QStringLiteral("Export..."), Image1);
    ExportAction->setObjectName(QStringLiteral("ExportAction"));
    ExportAction->setEnabled(false);
    // The scan line's tip is out of the keyboard's reach; the menu brings the same lines.
    ScanDetailsAction = new QAction(QStringLiteral("Scan check details..."), Image1);
    ScanDetailsAction->setObjectName(QStringLiteral("ScanDetailsAction"));
    ScanDetailsAction->setEnabled(false);
    Image1->addActions({ExportAction, ScanDetailsAction});
    Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The keyboard reaches it too: the scroll box takes the focus, and the context-menu
    // key or Shift+F10 opens the same menu there.
    ScrollBox1->addActions({ExportAction, ScanDetailsAction});
    ScrollBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Qt opens it for the context-menu key only; Shift+F10 asks for it the same way.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), ScrollBox1);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, ScrollBox1, [this] {
        const QPoint middle = ScrollBox1->rect().center();
        QContextMenuEvent asked(QContextMenuEvent::Keyboard, middle, ScrollBox1->mapToGlobal(middle));
        QCoreApplication::sendEvent(ScrollBox1, &asked);
    });
    FitScrollArea();
}

QLabel* TBarEditor::PanelLabel(const char* name, const char* text, QRect place, bool bold)
{
    QLabel* label = platform::NewLabel(Panel2, name, QString::fromLatin1(text), place);
    platform::SetPixelFont(label, 13, bold);
    return label;
}

void TBarEditor::BuildSharedControls()
{
    Label1 = PanelLabel("Label1", "Bar  code  Height  (inches) ", design_.label1);
    fheightedt = platform::NewEdit(Panel2, "fheightedt", QString::fromLatin1(design_.heightDefault), design_.fheightedt);
    Label7 = PanelLabel("Label7", "Comment  Line:", design_.label7, true);
    heardtextedt = platform::NewEdit(Panel2, "heardtextedt", {}, design_.heardtextedt);
    Label6 = PanelLabel("Label6", "Bar Code  Message :", design_.label6, true);
    barcodeedt = platform::NewEdit(Panel2, "barcodeedt", {}, design_.barcodeedt);
    // A screen reader names each box after its label.
    Label1->setBuddy(fheightedt);
    Label7->setBuddy(heardtextedt);
    Label6->setBuddy(barcodeedt);
    Label4 = PanelLabel("Label4", "", design_.label4);
    Label5 = PanelLabel("Label5", "", design_.label5);
    Button1 = platform::NewButton(Panel2, "Button1", QStringLiteral("Build/Copy"), design_.button1);
    Button4 = platform::NewButton(Panel2, "Button4", QStringLiteral("Print"), design_.button4);
    Button4->setEnabled(false);
    Button5 = platform::NewButton(Panel2, "Button5", QStringLiteral("Labels..."), design_.button5);
    Button5->setEnabled(false);
    if (design_.closeCaption) {
        Button3 = platform::NewButton(Panel2, "Button3", QString::fromLatin1(design_.closeCaption), design_.button3);
        Button3->setVisible(false);
    }
}

// The caption stays the button's text and tip; a screen reader speaks what it does,
// which captions such as "turn3" or "ToolButton6" do not tell.
QToolButton* TBarEditor::AddToolButton(const char* name, const char* caption, const char* spoken, int icon,
                                       bool enabled)
{
    auto* button = new QToolButton(ToolBar1);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(QString::fromLatin1(caption));
    button->setToolTip(QString::fromLatin1(caption));
    button->setAccessibleName(QString::fromLatin1(spoken));
    button->setIcon(platform::ToolBarIcon(static_cast<platform::ToolIcon>(icon)));
    button->setFixedSize(82, 38);
    button->setEnabled(enabled);
    ToolBar1->addWidget(button);
    return button;
}

void TBarEditor::ConnectHandlers()
{
    connect(ToolButton1, &QToolButton::clicked, this, &TBarEditor::ToolButton1Click);
    connect(ToolButton2, &QToolButton::clicked, this, &TBarEditor::ToolButton2Click);
    if (ToolButton6) connect(ToolButton6, &QToolButton::clicked, this, &TBarEditor::ToolButton6Click);
    connect(ToolButton3, &QToolButton::clicked, this, &TBarEditor::ToolButton3Click);
    connect(ToolButton5, &QToolButton::clicked, this, &TBarEditor::ToolButton5Click);
    connect(Button1, &QPushButton::clicked, this, &TBarEditor::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &TBarEditor::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TBarEditor::Button5Click);
    connect(ExportAction, &QAction::triggered, this, &TBarEditor::ExportClick);
    connect(ScanDetailsAction, &QAction::triggered, this, &TBarEditor::ScanDetailsClick);
    // The close button of the Code 39 editor closes it; the others' has no handler.
    if (Button3 && design_.closeButtonCloses) connect(Button3, &QPushButton::clicked, this, &TBarEditor::Button3Click);
}

// The scrolled area covers the image wherever it sits, and at least the visible part.
void TBarEditor::FitScrollArea()
{
    const QSize view = ScrollBox1->viewport()->size();
    const QRect image = Image1->geometry();
    ScrollBox1->widget()->resize(std::max(view.width(), image.right() + 1), std::max(view.height(), image.bottom() + 1));
}

void TBarEditor::CentreImage()
{
    const int left = Image1->width() > ScrollBox1->width() ? 0 : (ScrollBox1->width() - Image1->width()) / 2;
    const int top = Image1->height() > ScrollBox1->height() ? 0 : (ScrollBox1->height() - Image1->height()) / 2;
    Image1->move(left, top);
    FitScrollArea();
}

bool TBarEditor::PictureSizeAccepted(qint64 width, qint64 height)
{
    const QString notice = symbols::SizeNotice(width, height);
    if (!notice.isEmpty()) platform::ShowNotice(this, notice);
    return notice.isEmpty();
}

symbols::Inputs TBarEditor::SharedInputs() const
{
    symbols::Inputs inputs;
    inputs.comment = heardtextedt->text().toStdString();
    inputs.page = host.Pages();
    inputs.font = host.TextFont();
    inputs.barColor = host.BarColor();
    inputs.resolution = engines::ScreenResolution();
    return inputs;
}

bool TBarEditor::Accepted(const symbols::Drawing& drawing)
{
    if (drawing.Drawable()) return true;
    if (drawing.refusal == symbols::Refusal::Conversion) throw engines::ConvertError(drawing.error.toStdString());
    platform::ShowNotice(this, drawing.error);
    return false;
}

void TBarEditor::PaintPreview(const symbols::Drawing& drawing)
{
    platform::ImageCanvas canvas(Image1->picture);
    drawing.paint(canvas);
}

QImage TBarEditor::NewPicture(qint64 width, qint64 height)
{
    if (!PictureSizeAccepted(width, height)) return {};
    QImage picture = platform::WhiteImage(int(width), int(height));
    if (picture.isNull()) platform::ShowNotice(this, symbols::TooLargeNotice(width, height));
    return picture;
}

bool TBarEditor::SizePicture(qint64 width, qint64 height)
{
    QImage picture = NewPicture(width, height);
    if (picture.isNull()) return false;
    Image1->resize(picture.size());
    Image1->picture = std::move(picture);
    Image1->update();
    // A build whose copy is refused is not centred: the scroll area must still reach
    // the whole of a picture larger than the last.
    FitScrollArea();
    return true;
}

bool TBarEditor::SizeWorkBitmap(qint64 width, qint64 height)
{
    QImage bitmap = NewPicture(width, height);
    if (bitmap.isNull()) return false;
    work = std::move(bitmap);
    return true;
}

void TBarEditor::EnableTurnButtons()
{
    ToolButton3->setEnabled(true);
    ToolButton5->setEnabled(true);
}

bool TBarEditor::FinishBuild(bool takeWorkFromPreview, const symbols::Drawing& drawing, const symbols::Inputs& inputs)
{
    // A layout program places the copied picture at the size it was drawn for.
    platform::SetResolution(Image1->picture, drawing.resolution);
    Image1->update();
    EnableTurnButtons();
    Button4->setEnabled(true);
    // A refused copy leaves the line on the picture that the clipboard still holds.
    if (!platform::CopyImageToClipboard(Image1->picture)) {
        // The preview shows a symbol the export would not write.
        WithdrawExport();
        platform::ShowNotice(this, QStringLiteral("Fail to copy"));
        return false;
    }
    if (takeWorkFromPreview) {
        work = Image1->picture.copy();
        CentreImage();
    }
    shown_ = symbols::Shown{inputs, drawing, false};
    ExportAction->setEnabled(true);
    Button5->setEnabled(true);
    if (host.ScanCheckOn())
        CheckScan(Image1->picture);
    else
        ClearScanLine();
    DescribePreview();
    return true;
}

void TBarEditor::BuildAndShow(symbols::Kind kind, const symbols::Inputs& inputs)
{
    const symbols::Drawing drawing = symbols::Prepare(kind, inputs);
    if (!Accepted(drawing) || !SizePicture(drawing.width, drawing.height)) return;
    PaintPreview(drawing);
    FinishBuild(true, drawing, inputs);
}

void TBarEditor::WhitenPictures()
{
    work = platform::WhiteImage(work.width(), work.height());
    Image1->SetSize(Image1->width(), Image1->height());
    WithdrawExport();
    // What the scanner read belongs to the symbol no longer shown.
    ClearScanLine();
}

void TBarEditor::WithdrawExport()
{
    shown_.reset();
    Image1->setAccessibleDescription({});
    ScrollBox1->setAccessibleDescription({});
    ExportAction->setEnabled(false);
    Button5->setEnabled(false);
}

QString TBarEditor::ExportTo(const QString& path)
{
    const QString error = platform::ExportSymbol(shown_ ? shown_->drawing.Exported() : platform::ExportedSymbol{}, path);
    if (!error.isEmpty()) platform::ShowNotice(this, error);
    return error;
}

void TBarEditor::ExportClick()
{
    platform::Guarded([this] {
        QFileDialog dialog(this, QStringLiteral("Export"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({QStringLiteral("PNG picture (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
                               QStringLiteral("PDF document (*.pdf)")});
        // The chosen filter gives the suffix where the name has none.
        connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
            dialog.setDefaultSuffix(filter.section(QLatin1String("*."), 1).chopped(1));
        });
        dialog.setDefaultSuffix(QStringLiteral("png"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
        ExportTo(dialog.selectedFiles().constFirst());
    });
}

void TBarEditor::CheckScan(const QImage& picture)
{
    if (!shown_) return;  // nothing built to hold it against
    scan_ = AssessScan(picture, shown_->drawing, platform::ReadSymbol(picture, ScanFamilyOf(shown_->Symbology())));
    // The line keeps to its strip; the whole of it heads the tip.
    ScanLine->setText(ScanLine->fontMetrics().elidedText(scan_.line, Qt::ElideRight, ScanLine->width()));
    ScanLine->setAccessibleName(scan_.line);
    const QString details = scan_.details.join(QLatin1Char('\n'));
    ScanLine->setToolTip(details);
    ScanLine->setAccessibleDescription(details);
    ScanDetailsAction->setEnabled(!details.isEmpty());
    QPalette palette = Panel4->palette();
    if (scan_.failed) palette.setColor(QPalette::WindowText, Qt::red);
    ScanLine->setPalette(palette);
}

// What a screen reader says of the preview: the symbol built, its add-on, and whether
// the scan check read it ("EAN-13 5901234123457, add-on 12, scans"); the number as the
// scan line shows it, GS1-128's separators included.
void TBarEditor::DescribePreview()
{
    const BuiltSymbol& built = shown_->drawing.built;
    const symbols::Kind kind = built.symbology;
    QString text = QString::fromLatin1(symbols::SymbologyName(kind));
    text += QLatin1Char(' ') + ShownNumber(built.number);
    if (!built.addOn.isEmpty()) text += QStringLiteral(", add-on ") + built.addOn;
    if (!scan_.line.isEmpty()) text += scan_.failed ? QStringLiteral(", does not scan") : QStringLiteral(", scans");
    Image1->setAccessibleDescription(text);
    ScrollBox1->setAccessibleDescription(text);
}

void TBarEditor::ClearScanLine()
{
    scan_ = {};
    ScanLine->clear();
    ScanLine->setAccessibleName({});
    // The preview no longer tells what a scan check found.
    if (shown_) DescribePreview();
    ScanLine->setToolTip({});
    ScanLine->setAccessibleDescription({});
    ScanDetailsAction->setEnabled(false);
}

void TBarEditor::ScanDetailsClick()
{
    platform::Guarded([this] {
        if (!scan_.details.isEmpty()) platform::ShowNotice(this, scan_.details.join(QLatin1Char('\n')));
    });
}

void TBarEditor::FormCreate() { work = QImage(); }

void TBarEditor::FormClose()
{
    work = QImage();
    host.ReleasePrintBitmap();
}

void TBarEditor::closeEvent(QCloseEvent* event)
{
    if (design_.releasesPicturesOnClose) FormClose();
    event->accept();
}

void TBarEditor::ToolButton1Click()
{
    platform::Guarded([this] { host.ShowPageSetting(this); });
}

void TBarEditor::ToolButton2Click()
{
    platform::Guarded([this] { host.ShowFontDialog(); });
}

void TBarEditor::ToolButton6Click()
{
    platform::Guarded([this] { host.ShowColorDialog(); });
}

void TBarEditor::Button3Click()
{
    platform::Guarded([this] { close(); });
}

// Quarter turn clockwise, pixel by pixel from the work bitmap. Without a work bitmap
// (a first build whose copy failed) the view stays as it is.
void TBarEditor::ToolButton5Click()
{
    platform::Guarded([this] {
        if (work.isNull()) return;
        Image1->SetSize(work.height(), work.width());
        if (Image1->picture.isNull()) return;
        platform::TurnQuarterInto(work, Image1->picture);
        if (shown_) shown_->turned = true;
        FitScrollArea();
    });
}

void TBarEditor::ToolButton3Click()
{
    platform::Guarded([this] {
        if (work.isNull()) return;
        Image1->SetSize(work.width(), work.height());
        Image1->picture = work.convertToFormat(QImage::Format_RGB32);
        if (shown_) shown_->turned = false;
        CentreImage();
    });
}

void TBarEditor::Button4Click()
{
    platform::Guarded([this] { host.ShowPrintOption(this, Image1->picture, shown_ ? &*shown_ : nullptr); });
}

// A sheet of labels is drawn again from the build at the printer's resolution, so it
// needs the build itself, not the picture.
void TBarEditor::Button5Click()
{
    platform::Guarded([this] {
        if (shown_) host.ShowLabels(this, *shown_);
    });
}
