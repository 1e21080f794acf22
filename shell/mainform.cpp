// The main window and the switch between symbology editors. The chosen symbology
// travels through the settings file: a pick writes the name, and the editor shown
// is always the one the file names.
#include "mainform.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QVBoxLayout>

#include "aboutfm.h"
#include "labelsdialog.h"
#include "editors/bareditor.h"
#include "pagesetting.h"
#include "printunit.h"
#include "symbologies.h"
#include "platform/files.h"
#include "platform/fontdialog.h"
#include "platform/icons.h"
#include "platform/inifile.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/screen.h"
#include "platform/widgets.h"

Tmainfm* mainfm = nullptr;
QImage PrintBitmap;

namespace {

const QString kCaption = QStringLiteral("Ruvola BarCode Generator ");
const QString kSymbologySection = QStringLiteral("Symbology");
const QString kCheckedKey = QStringLiteral("Checked");
// Sharp printing has a section of its own; "1" is on, anything else off.
const QString kPrintingSection = QStringLiteral("Printing");
const QString kSharpKey = QStringLiteral("Sharp");
const char* const kPageKeys[] = {"ftop", "fdown", "fleft", "fright", "fiwidth"};

QAction* AddItem(QMenu* menu, const char* caption, const char* name)
{
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QFrame* MakePanel(QWidget* parent, const char* name, QFrame::Shadow shadow)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::Panel | shadow);
    return panel;
}

}  // namespace

Tmainfm::Tmainfm(QWidget* parent) : QMainWindow(parent)
{
    mainfm = this;
    platform::InstallEngineHooks();
    setObjectName(QStringLiteral("mainfm"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(platform::ProgramPixmap()));
    platform::SetPixelFont(this, 11);
    move(190, 106);
    resize(691, 513);
    BuildMenus();
    BuildPanels();
    BuildStatusBar();
    ConnectHandlers();
    FormCreate();
}

Tmainfm::~Tmainfm()
{
    if (mainfm == this) mainfm = nullptr;
}

void Tmainfm::BuildMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    File1 = MainMenu1->addMenu(QStringLiteral("Settings"));
    File1->setObjectName(QStringLiteral("File1"));
    Save1 = AddItem(File1, "Printer setting", "Save1");
    PageSetting1 = AddItem(File1, "Page setting", "PageSetting1");
    Fontsetting1 = AddItem(File1, "Font setting", "Fontsetting1");
    Colorsetting1 = AddItem(File1, "Color setting", "Colorsetting1");
    // On at every start and never written to the settings file.
    ScanCheck1 = AddItem(File1, "Scan check", "ScanCheck1");
    ScanCheck1->setCheckable(true);
    ScanCheck1->setChecked(true);
    // Off on a first start: the picture is then printed stretched to its size.
    SharpPrinting1 = AddItem(File1, "Sharp printing", "SharpPrinting1");
    SharpPrinting1->setCheckable(true);
    Symbology1 = MainMenu1->addMenu(QStringLiteral("Symbology"));
    Symbology1->setObjectName(QStringLiteral("Symbology1"));
    for (const SymbologyRow& row : Symbologies()) {
        QAction* item = AddItem(Symbology1, symbols::NamesOf(row.kind).caption, row.menuItem);
        item->setCheckable(true);
        this->*row.item = item;
    }
    Help1 = MainMenu1->addMenu(QStringLiteral("Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    About1 = AddItem(Help1, "About", "About1");
    Help2 = AddItem(Help1, "Help", "Help2");
    Exit2 = MainMenu1->addAction(QStringLiteral("Exit"));
    Exit2->setObjectName(QStringLiteral("Exit2"));
}

void Tmainfm::BuildPanels()
{
    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = MakePanel(client, "Panel1", QFrame::Plain);
    Panel1->setFrameStyle(QFrame::NoFrame);
    Panel1->setFixedHeight(10);
    Panel2 = MakePanel(Panel1, "Panel2", QFrame::Sunken);
    Panel2->setGeometry(0, 0, 4000, 7);
    Panel3 = MakePanel(client, "Panel3", QFrame::Plain);
    Panel3->setFrameStyle(QFrame::NoFrame);
    auto* inner = new QVBoxLayout(Panel3);
    inner->setContentsMargins(1, 1, 1, 1);
    Panel4 = MakePanel(Panel3, "Panel4", QFrame::Sunken);
    inner->addWidget(Panel4);
    layout->addWidget(Panel1);
    layout->addWidget(Panel3, 1);
    setCentralWidget(client);
}

void Tmainfm::BuildStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(19);
    const int widths[] = {100, 150, 50};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(StatusBar1);
        StatusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[i]->setFixedWidth(widths[i]);
        StatusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1->addWidget(StatusPanels[i]);
    }
}

void Tmainfm::ConnectHandlers()
{
    connect(Save1, &QAction::triggered, this, &Tmainfm::Save1Click);
    connect(PageSetting1, &QAction::triggered, this, &Tmainfm::PageSetting1Click);
    connect(Fontsetting1, &QAction::triggered, this, &Tmainfm::Fontsetting1Click);
    connect(Colorsetting1, &QAction::triggered, this, &Tmainfm::Colorsetting1Click);
    connect(ScanCheck1, &QAction::triggered, this, &Tmainfm::ScanCheck1Click);
    connect(SharpPrinting1, &QAction::triggered, this, &Tmainfm::SharpPrinting1Click);
    for (const SymbologyRow& row : Symbologies()) connect(this->*row.item, &QAction::triggered, this, row.handler);
    connect(About1, &QAction::triggered, this, &Tmainfm::About1Click);
    connect(Help2, &QAction::triggered, this, &Tmainfm::Help2Click);
    connect(Exit2, &QAction::triggered, this, &Tmainfm::Exit2Click);
}

QString Tmainfm::StatusText(int panel) const { return StatusPanels[panel]->text(); }

void Tmainfm::FormCreate()
{
    ReadPageValues();
    ReadSharpPrinting();
    barform = BarFormCreat();
}

// Reads the five page values; a value that is missing or not a number stays 0.
void Tmainfm::ReadPageValues()
{
    QStringList keys;
    for (const char* key : kPageKeys) keys << QString::fromLatin1(key);
    const QStringList texts = platform::IniFile(platform::SettingsPath()).ReadStrings(QStringLiteral("pagesetting"), keys);
    double* values[] = {&ftop, &fdown, &fleft, &fright, &fiwidth};
    for (int i = 0; i < 5; ++i) {
        double value = 0;
        *values[i] = platform::TryStrToFloat(texts[i], value) ? value : 0.0;
    }
}

void Tmainfm::ReadSharpPrinting()
{
    const QString value = platform::IniFile(platform::SettingsPath()).ReadString(kPrintingSection, kSharpKey);
    SharpPrinting1->setChecked(value == QLatin1String("1"));
}

QWidget* Tmainfm::BarFormCreat()
{
    const QString name = platform::IniFile(platform::SettingsPath()).ReadString(kSymbologySection, kCheckedKey);
    for (const SymbologyRow& row : Symbologies()) {
        if (name != QString::fromLatin1(symbols::NamesOf(row.kind).stored)) continue;
        QAction* item = this->*row.item;
        item->setChecked(true);
        QWidget* editor = row.create(Panel4, *this);
        checkeditem = item;
        StatusPanels[1]->setText(name);
        editor->move(Panel4->frameWidth(), Panel4->frameWidth());
        editor->show();
        return editor;
    }
    return nullptr;
}

void Tmainfm::changeform(const QString& name)
{
    platform::Guarded([this, &name] { ReplaceEditor(name); });
}

void Tmainfm::ReplaceEditor(const QString& name)
{
    const bool written = platform::IniFile(platform::SettingsPath()).WriteString(kSymbologySection, kCheckedKey, name);
    delete barform;
    barform = nullptr;
    // The menu has already toggled the picked item itself; the marks follow the
    // editor shown, so every item starts unchecked and BarFormCreat sets the one.
    for (QAction* item : Symbology1->actions()) item->setChecked(false);
    checkeditem = nullptr;
    barform = BarFormCreat();
    if (!written) platform::ShowNotice(this, platform::SettingsNotWritten());
}

void Tmainfm::Save1Click()
{
    platform::Guarded([this] {
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            platform::ShowNotice(this, QStringLiteral("No find Printer!"));
            return;
        }
        QPrintDialog dialog(Printer(), this);
        dialog.exec();
    });
}

void Tmainfm::PageSetting1Click()
{
    platform::Guarded([this] { OpenPageSetting(this); });
}

void Tmainfm::Fontsetting1Click()
{
    platform::Guarded([this] {
        if (!FontDialog1) FontDialog1 = new platform::FontColorDialog(this);
        FontDialog1->SetCurrent(platform::ToPointFont(font), platform::ToQColor(font.color));
        if (FontDialog1->exec() == QDialog::Accepted)
            font = platform::FromQFont(FontDialog1->SelectedFont(), platform::FromQColor(FontDialog1->SelectedColor()));
    });
}

void Tmainfm::Colorsetting1Click()
{
    platform::Guarded([this] {
        if (!ColorDialog1) {
            ColorDialog1 = new QColorDialog(this);
            ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
        }
        ColorDialog1->setCurrentColor(platform::ToQColor(color));
        if (ColorDialog1->exec() == QDialog::Accepted) color = platform::FromQColor(ColorDialog1->selectedColor());
    });
}

// Turning the check off takes the line away at once; turned on, it comes with the next build.
void Tmainfm::ScanCheck1Click()
{
    platform::Guarded([this] {
        if (auto* editor = qobject_cast<TBarEditor*>(barform); editor && !ScanCheckOn()) editor->ClearScanLine();
    });
}

bool Tmainfm::ScanCheckOn() const { return ScanCheck1->isChecked(); }

// The choice holds for this run even where the file cannot keep it.
void Tmainfm::SharpPrinting1Click()
{
    platform::Guarded([this] {
        const QString value = SharpPrintingOn() ? QStringLiteral("1") : QStringLiteral("0");
        if (!platform::IniFile(platform::SettingsPath()).WriteString(kPrintingSection, kSharpKey, value))
            platform::ShowNotice(this, platform::SettingsNotWritten());
    });
}

bool Tmainfm::SharpPrintingOn() const { return SharpPrinting1->isChecked(); }

void Tmainfm::PickSymbology(symbols::Kind kind) { changeform(QString::fromLatin1(symbols::NamesOf(kind).stored)); }
void Tmainfm::C391Click() { PickSymbology(symbols::Kind::Code39); }
void Tmainfm::ENA13Click() { PickSymbology(symbols::Kind::Ean13); }
void Tmainfm::EAN81Click() { PickSymbology(symbols::Kind::Ean8); }
void Tmainfm::upca1Click() { PickSymbology(symbols::Kind::UpcA); }
void Tmainfm::UPCE1Click() { PickSymbology(symbols::Kind::UpcE); }
void Tmainfm::Code1281Click() { PickSymbology(symbols::Kind::Code128); }
void Tmainfm::GS11281Click() { PickSymbology(symbols::Kind::Gs1_128); }
void Tmainfm::ITF141Click() { PickSymbology(symbols::Kind::Itf14); }

void Tmainfm::About1Click()
{
    platform::Guarded([this] {
        Taboutform about(this);
        about.exec();
    });
}

// Opens the help file found in the current directory, under the very name found:
// letter case matters on this system.
void Tmainfm::Help2Click()
{
    platform::Guarded([] {
        const QFileInfo help(QDir::current(), QStringLiteral("Help.chm"));
        if (help.isFile()) platform::OpenDocument(help.absoluteFilePath());
    });
}

void Tmainfm::Exit2Click()
{
    platform::Guarded([this] {
        close();
        QCoreApplication::quit();
    });
}

QPrinter* Tmainfm::Printer()
{
    // High resolution: the screen's 96 dpi would round print offsets to 1/96 inch.
    if (!printer) printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer.get();
}

PageValues Tmainfm::Pages() const { return {ftop, fdown, fleft, fright, fiwidth}; }

void Tmainfm::SetPages(const PageValues& values)
{
    ftop = values.ftop;
    fdown = values.fdown;
    fleft = values.fleft;
    fright = values.fright;
    fiwidth = values.fiwidth;
}

void Tmainfm::ShowPageSetting(QWidget* owner) { OpenPageSetting(owner); }

// The values saved are those in use from then on; Close leaves them as they were.
void Tmainfm::OpenPageSetting(QWidget* owner)
{
    Tpagesettingfm dialog(Pages(), owner);
    if (dialog.exec() == QDialog::Accepted) SetPages(dialog.Values());
}

PrintInputs Tmainfm::PrintInputsFor(const QImage& picture, const symbols::Shown* shown)
{
    PrintInputs inputs{picture, std::nullopt, Printer(), SharpPrintingOn()};
    if (shown) inputs.shown = *shown;
    return inputs;
}

void Tmainfm::ShowPrintOption(QWidget* owner, const QImage& picture, const symbols::Shown* shown)
{
    PrintBitmap = picture.copy();
    Tpringfm dialog(PrintInputsFor(PrintBitmap, shown), owner);
    dialog.exec();
}

void Tmainfm::ReleasePrintBitmap() { PrintBitmap = QImage(); }

void Tmainfm::ShowLabels(QWidget* owner, const symbols::Shown& shown)
{
    Tlabelsfm dialog(shown, Printer(), owner);
    dialog.exec();
}

void Tmainfm::paintEvent(QPaintEvent* event)
{
    if (windowTitle() != kCaption) setWindowTitle(kCaption);
    QMainWindow::paintEvent(event);
}
