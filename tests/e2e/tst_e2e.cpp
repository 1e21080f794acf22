// The real program on a real X server, driven as a person at the desk would: menus
// by mouse, text typed key by key, buttons clicked. What it made is read back from
// the system clipboard by another process and from the PDF of a real print queue,
// and decoded. Screenshots and the printed PDF are kept in the artefacts directory.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTransform>
#include <QtTest>
#include <functional>
#include <memory>

#include "desktop.h"
#include "printqueue.h"
#include "screenreading.h"
#include "engines/itf14.h"
#include "engines/rounding.h"
#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"
#include "shell/calibration.h"
#include "support/decoder.h"
#include "support/pixelruns.h"
#include "symbols/sharpprint.h"

using namespace e2e;

// A step that may fail the test: the test stops right after a failed one.
#define STEP(call)                                  \
    do {                                            \
        call;                                       \
        if (QTest::currentTestFailed()) return;     \
    } while (false)

namespace {

const QString kArtefacts = QStringLiteral(RUVOLA_E2E_ARTEFACTS);

// The editor sits at the top-left of the client panel. Its parameter panel lies under
// the 41-pixel tool bar; the preview's grey area under the 214-pixel panel and the
// 18-pixel "Preview" strip, inside the scroll box's 1-pixel frame.
constexpr int kToolBarHeight = 41;
constexpr QPoint kViewportInEditor(1, 41 + 214 + 18 + 1);

// Places in an editor's parameter panel, as its window is laid out.
struct EditorPlaces {
    QRect height, message, addOn, build, print, width, comment;
};
const EditorPlaces kCode39{{210, 12, 90, 21},   {210, 138, 346, 21}, {},
                           {210, 174, 100, 28}, {330, 174, 100, 28}, {210, 42, 90, 21},
                           {210, 106, 346, 21}};
const EditorPlaces kEan13{{192, 39, 105, 21}, {191, 125, 346, 21}, {192, 152, 137, 21}, {456, 184, 81, 25},
                          {536, 184, 65, 25}, {192, 68, 105, 21},  {191, 98, 346, 21}};
const EditorPlaces kUpcFamily{{210, 12, 90, 21},   {210, 104, 346, 21}, {210, 134, 137, 21},
                              {210, 174, 100, 28}, {330, 174, 100, 28}, {210, 42, 90, 21},
                              {210, 74, 346, 21}};
const EditorPlaces kLinearFamily{{210, 12, 90, 21},   {210, 104, 460, 21}, {},
                                 {210, 174, 100, 28}, {330, 174, 100, 28}, {210, 42, 90, 21},
                                 {210, 74, 460, 21}};
enum EditorKind { kCode39Editor, kEan13Editor, kUpcFamilyEditor, kLinearFamilyEditor };
const EditorPlaces* const kPlaces[] = {&kCode39, &kEan13, &kUpcFamily, &kLinearFamily};
// "Labels..." in the UPC family's editors and in the EAN-13 editor.
constexpr QRect kUpcLabelsButton(570, 174, 100, 28);
constexpr QRect kEan13LabelsButton(604, 184, 70, 25);

// The menu bar, left to right, and the rows of its menus.
enum MenuBarItem { kSettingsMenu, kSymbologyMenu, kHelpMenu, kExitItem };
constexpr int kMenuBarItems = 4, kSettingsRows = 6, kSymbologyRows = 8;
enum SettingsRow { kPrinterSetting, kPageSetting, kFontSetting, kColorSetting, kScanCheck, kSharpPrinting };

// Dialog places, from the dialog's top-left corner.
QRect PageBox(int row)
{
    static const int tops[] = {22, 54, 86, 118, 147};
    return {124, tops[row], 172, 21};
}
const QRect kSaveButton(222, 200, 75, 25);
const QRect kYBox(64, 64, 89, 21), kPrintButton(128, 112, 57, 25);

// The five page values typed into the page setting dialog, Enter moving from box to box:
// at 96 dots per inch the picture grows by 48 pixels in width and 36 in height, and the
// symbol moves 24 pixels right and down.
const QString kPageValuesTyped = QStringLiteral("{End}{BackSpace}125{Return}125{Return}250{Return}250{Return}125");
const char* const kPageKeys[] = {"ftop", "fdown", "fleft", "fright", "fiwidth"};
const char* const kPageValues[] = {"125", "125", "250", "250", "125"};

QByteArray SettingsFile(const QByteArray& symbology)
{
    QByteArray text = "[pagesetting]\nftop=0\nfdown=0\nfleft=0\nfright=0\nfiwidth=0\n";
    if (!symbology.isEmpty()) text += "[Symbology]\nChecked=" + symbology + "\n";
    return text;
}

// One value of an initialization file, section and key matched without regard to case.
QString IniValue(const QByteArray& file, const QString& section, const QString& key)
{
    QString current;
    for (const QString& raw : QString::fromLatin1(file).split('\n')) {
        const QString line = raw.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) current = line.mid(1, line.size() - 2);
        const qsizetype eq = line.indexOf('=');
        if (eq > 0 && current.compare(section, Qt::CaseInsensitive) == 0 &&
            line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

QString Keys(const QString& key, int times)
{
    QString script;
    for (int i = 0; i < times; ++i) script += '{' + key + '}';
    return script;
}

QString SizeText(QSize size) { return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()); }

// One symbol of a sharp print run: where it is picked, what is typed, whether the
// preview is turned before printing, and what a scanner reads.
struct SharpCase {
    int menuRow;
    EditorKind editor;
    symbols::Kind kind;
    QString message, addOn, comment, width;
    bool turned;
    QString read;
};

// All five symbologies at each resolution, the smallest modules among them (Code 39 at
// 10 mils, EAN-13 at 1 inch, the others at 11 mils), an add-on, a comment and a turn;
// at 203 dpi Code 128, GS1-128 and ITF-14 too, at their default widths.
QList<SharpCase> SharpCases(int dpi)
{
    using symbols::Kind;
    if (dpi == 203)
        return {{0, kCode39Editor, Kind::Code39, "RUVOLA-39", "", "", "10", false, "RUVOLA-39"},
                {1, kEan13Editor, Kind::Ean13, "590123412345", "", "", "1", false, "5901234123457"},
                {3, kUpcFamilyEditor, Kind::UpcA, "03600029145", "", "", "11", false, "036000291452"},
                {2, kUpcFamilyEditor, Kind::Ean8, "9638507", "", "", "11", false, "96385074"},
                {4, kUpcFamilyEditor, Kind::UpcE, "123456", "", "", "11", true, "01234565"},
                {5, kLinearFamilyEditor, Kind::Code128, "RUVOLA-128", "", "", "13", false, "]C0RUVOLA-128"},
                {6, kLinearFamilyEditor, Kind::Gs1_128, "(01)09501101530003(17)250101", "", "", "20", false,
                 "]C1010950110153000317250101"},
                {7, kLinearFamilyEditor, Kind::Itf14, "1540014128876", "", "", "20", true, "15400141288763"}};
    if (dpi == 300)
        return {{0, kCode39Editor, Kind::Code39, "AB-12", "", "Lot 7", "10", false, "AB-12"},
                {1, kEan13Editor, Kind::Ean13, "590123412345", "12", "Lot 7", "1", false, "5901234123457 12"},
                {3, kUpcFamilyEditor, Kind::UpcA, "03600029145", "12345", "", "21", true, "036000291452 12345"},
                {2, kUpcFamilyEditor, Kind::Ean8, "9638507", "", "", "11", false, "96385074"},
                {4, kUpcFamilyEditor, Kind::UpcE, "123456", "", "", "11", false, "01234565"}};
    return {{0, kCode39Editor, Kind::Code39, "AB-12", "", "", "10", true, "AB-12"},
            {1, kEan13Editor, Kind::Ean13, "590123412345", "", "", "2", true, "5901234123457"},
            {3, kUpcFamilyEditor, Kind::UpcA, "03600029145", "", "Lot 7", "11", false, "036000291452"},
            {2, kUpcFamilyEditor, Kind::Ean8, "9638507", "12", "", "21", false, "96385074 12"},
            {4, kUpcFamilyEditor, Kind::UpcE, "123456", "12", "", "21", false, "01234565 12"}};
}

// The page as pdftoppm renders it at dpi, in grey, without smoothing.
QImage RenderPage(const QString& pdf, int dpi, const QString& prefix)
{
    const ToolRun render = RunTool("pdftoppm", {"-r", QString::number(dpi), "-gray", "-aa", "no", "-aaVector", "no",
                                                "-singlefile", pdf, prefix},
                                   QProcessEnvironment::systemEnvironment(), 60000);
    if (!render.Ok()) return {};
    QImageReader::setAllocationLimit(1024);
    const QImage page = QImage(prefix + ".pgm").convertToFormat(QImage::Format_Grayscale8);
    QFile::remove(prefix + ".pgm");
    return page;
}

// One person at one running program: what they see and what they do.
class Person {
public:
    Person(const Desktop& desktop, Program& program) : desktop_(desktop), program_(program) {}

    // The menu bar's items once it is painted: a slow machine (or a sanitizer build)
    // shows the window a moment before its menu bar, and a person waits for that.
    QList<QRect> MenuBar()
    {
        QList<QRect> items;
        WaitFor(
            [&] {
                items = MenuBarItems(program_.GrabMain());
                return items.size() == kMenuBarItems;
            },
            10000);
        return items;
    }

    void OpenMenu(MenuBarItem item, int rows, WindowId& menu, QImage& picture)
    {
        const QList<QRect> items = MenuBar();
        QVERIFY2(items.size() == kMenuBarItems, qPrintable(QStringLiteral("%1 menu bar items seen").arg(items.size())));
        desktop_.Click(program_.Origin() + items[item].center());
        // The open menu is a window of its own; its rows are there once it is painted.
        const bool open = WaitFor(
            [&] {
                const QList<WindowId> windows = desktop_.Windows(program_.Pid());
                for (WindowId w : windows) {
                    if (w == program_.MainWindow()) continue;
                    menu = w;
                    picture = desktop_.Grab(w);
                    return MenuRows(picture).size() == rows;
                }
                return false;
            },
            10000);
        QVERIFY2(open, qPrintable(QStringLiteral("no menu of %1 rows opened under menu bar item %2").arg(rows).arg(item)));
    }

    void Pick(MenuBarItem item, int rows, int row)
    {
        WindowId menu = 0;
        QImage picture;
        STEP(OpenMenu(item, rows, menu, picture));
        desktop_.Click(desktop_.Geometry(menu).topLeft() + MenuRows(picture)[row].center());
        QVERIFY2(desktop_.WaitGone(menu, program_.Pid()), "the menu stayed open");
    }

    // The rows of a menu that carry a check mark; the menu is closed again with Esc.
    void CheckedRows(MenuBarItem item, int rows, QList<int>& checked)
    {
        WindowId menu = 0;
        QImage picture;
        STEP(OpenMenu(item, rows, menu, picture));
        const QList<QRect> found = MenuRows(picture);
        for (int i = 0; i < found.size(); ++i)
            if (RowChecked(picture, found[i])) checked << i;
        desktop_.Type("{Escape}");
        QVERIFY2(desktop_.WaitGone(menu, program_.Pid()), "Esc left the menu open");
    }

    void Exit()
    {
        const QList<QRect> items = MenuBar();
        QCOMPARE(items.size(), kMenuBarItems);
        desktop_.Click(program_.Origin() + items[kExitItem].center());
        QVERIFY2(program_.WaitExit(), "the program did not end on Exit");
        QCOMPARE(program_.ExitCode(), 0);
    }

    // Finds the editor by its grey preview area.
    void FindEditor(const EditorPlaces& places)
    {
        places_ = places;
        const bool seen = WaitFor(
            [&] {
                const Preview preview = FindPreview(program_.GrabMain());
                if (preview.viewport.isNull()) return false;
                editor_ = preview.viewport.topLeft() - kViewportInEditor;
                return true;
            },
            10000);
        QVERIFY2(seen, "no editor is shown");
    }

    QPoint OnScreen(const QRect& inPanel) const
    {
        return program_.Origin() + editor_ + QPoint(0, kToolBarHeight) + inPanel.center();
    }

    void TypeInto(const QRect& inPanel, const QString& script) const
    {
        QVERIFY2(desktop_.WaitKeyboard(program_.MainWindow()), "the keyboard does not reach the main window");
        desktop_.Click(OnScreen(inPanel));
        desktop_.Type(script);
    }

    QList<QRect> ToolBarIcons() const
    {
        return ToolIcons(program_.GrabMain(), QRect(editor_ + QPoint(0, 2), QSize(688, kToolBarHeight - 4)));
    }

    // The tool bar's first icon is "pagesetting"; its last two are "turn3" and "turn 1".
    void ClickToolIcon(int fromLeft) const { ClickToolIconAt([fromLeft](qsizetype) { return fromLeft; }); }
    void ClickToolIconFromRight(int fromRight) const
    {
        ClickToolIconAt([fromRight](qsizetype count) { return int(count) - 1 - fromRight; });
    }
    void ClickToolIconAt(const std::function<int(qsizetype)>& pick) const
    {
        const QList<QRect> icons = ToolBarIcons();
        const int index = pick(icons.size());
        QVERIFY2(icons.size() >= 4 && index >= 0 && index < icons.size(),
                 qPrintable(QStringLiteral("%1 tool bar icons seen").arg(icons.size())));
        desktop_.Click(program_.Origin() + icons[index].center());
    }

    // The picture in the preview as the screen shows it; null while there is none.
    QImage SeenPicture() const
    {
        const QImage window = program_.GrabMain();
        const Preview preview = FindPreview(window);
        return preview.picture.isNull() ? QImage() : window.copy(preview.picture);
    }

    // Presses "Build/Copy" and waits for a picture on the clipboard that differs from
    // before; the preview must show the very same picture.
    void Build(const QImage& before, QImage& clip)
    {
        desktop_.Click(OnScreen(places_.build));
        const bool copied = WaitFor(
            [&] {
                clip = desktop_.ClipboardImage();
                return !clip.isNull() && !SamePixels(clip, before);
            },
            15000);
        const bool notice = !desktop_.Windows(program_.Pid(), "^Notice$").isEmpty();
        QVERIFY2(copied, notice ? "no new picture on the clipboard; a \"Notice\" box is open"
                                : "no new picture on the clipboard");
        QImage seen;
        const bool shown = WaitFor(
            [&] {
                seen = SeenPicture();
                return SamePixels(seen, clip);
            },
            5000);
        if (!shown) {
            seen.save(QDir(kArtefacts).filePath("failed-preview.png"));
            clip.save(QDir(kArtefacts).filePath("failed-clipboard.png"));
        }
        QVERIFY2(shown, qPrintable("the preview (" + SizeText(seen.size()) + ") differs from the clipboard (" +
                                   SizeText(clip.size()) + "); both kept as failed-*.png"));
    }

    // "turn 1" shows the picture a quarter turn clockwise, "turn3" brings it back;
    // neither touches the clipboard.
    void TurnAndBack(const QImage& clip)
    {
        const QImage turned = clip.transformed(QTransform().rotate(90));
        STEP(ClickToolIconFromRight(0));
        QImage seen;
        // A turned picture taller than the preview area shows its top part.
        const bool turnedShown = WaitFor(
            [&] {
                seen = SeenPicture();
                return !seen.isNull() && seen.width() == turned.width() &&
                       SamePixels(seen, turned.copy(QRect(QPoint(0, 0), seen.size())));
            },
            5000);
        QVERIFY2(turnedShown, qPrintable("after \"turn 1\" the preview shows " + SizeText(seen.size()) +
                                         ", not the turned " + SizeText(turned.size())));
        QVERIFY2(SamePixels(desktop_.ClipboardImage(), clip), "\"turn 1\" changed the clipboard");
        STEP(ClickToolIconFromRight(1));
        QVERIFY2(WaitFor([&] { return SamePixels(SeenPicture(), clip); }, 5000), "\"turn3\" did not bring the picture back");
        QVERIFY2(SamePixels(desktop_.ClipboardImage(), clip), "\"turn3\" changed the clipboard");
    }

    void Screenshot(const QString& name) const
    {
        QVERIFY(program_.GrabMain().save(QDir(kArtefacts).filePath(name)));
    }

private:
    const Desktop& desktop_;
    Program& program_;
    EditorPlaces places_;
    QPoint editor_;
};

}  // namespace

class TestEndToEnd : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<XServer> x_;
    std::unique_ptr<Desktop> desktop_;
    // Lives past a failed case, so that its screen can be kept.
    std::unique_ptr<Program> program_;
    QElapsedTimer caseTimer_;

    Program& NewProgram(const QByteArray& settings)
    {
        program_ = std::make_unique<Program>(*desktop_, RUVOLA_PROGRAM);
        program_->WriteSettings(settings);
        return *program_;
    }

private slots:
    void initTestCase()
    {
        const QStringList missing = MissingTools({"Xvfb", "xdotool", "xclip", "import"});
        if (!missing.isEmpty())
            QSKIP(qPrintable("no desktop to drive, not installed: " + missing.join(", ") +
                             " (scripts/setup.sh installs xvfb, xdotool, xclip, imagemagick)"));
        QVERIFY2(QFile::exists(RUVOLA_PROGRAM), "the program is not built: " RUVOLA_PROGRAM);
        x_ = std::make_unique<XServer>();
        QString error;
        QVERIFY2(x_->Start(error), qPrintable(error));
        desktop_ = std::make_unique<Desktop>(x_->Display());
        QVERIFY(QDir().mkpath(kArtefacts));
        qInfo("X display %s; artefacts in %s", qPrintable(x_->Display()), qPrintable(kArtefacts));
    }

    void init() { caseTimer_.start(); }

    void cleanup()
    {
        const QString name = QString::fromLatin1(QTest::currentTestFunction()) +
                             (QTest::currentDataTag() ? QStringLiteral(" ") + QTest::currentDataTag() : QString());
        if (QTest::currentTestFailed() && desktop_) {
            QString file = "failed " + name + ".png";
            file.replace(' ', '-');
            desktop_->GrabScreen().save(QDir(kArtefacts).filePath(file));
            if (program_) qInfo("program output: %s", qPrintable(program_->Output()));
        }
        program_.reset();
        qInfo("case %s: %.1f s", qPrintable(name), caseTimer_.elapsed() / 1000.0);
    }

    // Picks each symbology in the menu, finds it again after a restart, and builds it
    // with text typed key by key: the clipboard, read by xclip, holds the preview's
    // picture, which decodes; the quarter turn and back leave the clipboard alone.
    void buildCopy_data()
    {
        QTest::addColumn<QByteArray>("startWith");
        QTest::addColumn<int>("menuRow");
        QTest::addColumn<QByteArray>("symbologyName");
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("heightKeys");
        QTest::addColumn<QString>("messageKeys");
        QTest::addColumn<QString>("addOnKeys");
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QString>("expected");
        const int code39 = int(Symbology::Code39), withAddOn = int(Symbology::EanUpcWithAddOn);
        // The height box: End and BackSpace clear it, a letter is refused, Esc does nothing.
        QTest::newRow("C39") << QByteArray() << 0 << QByteArray("Bar Code C39") << int(kCode39Editor)
                             << "{End}{BackSpace}{BackSpace}{BackSpace}1.a0{Escape}" << "CODE-399{Left}{Delete}"
                             << "" << code39 << "CODE-39";
        QTest::newRow("EAN-13") << QByteArray("Bar Code C39") << 1 << QByteArray("Bar Code ENA13") << int(kEan13Editor)
                                << "{Home}{Delete}{Delete}{Delete}0.9" << "59012341234{BackSpace}45"
                                << "1{Escape}2" << withAddOn << "5901234123457 12";
        QTest::newRow("EAN-8") << QByteArray("Bar Code ENA13") << 2 << QByteArray("Bar Code ENA8") << int(kUpcFamilyEditor)
                               << "" << "963{Home}{Delete}9{End}8507" << "1a2" << withAddOn << "96385074 12";
        QTest::newRow("UPC-A") << QByteArray("Bar Code ENA8") << 3 << QByteArray("Bar Code UPC-A") << int(kUpcFamilyEditor)
                               << "{End}{Left}{Delete}1" << "03600{Left}{Left}0{End}29145" << "9012{Delete}5"
                               << withAddOn << "036000291452 90125";
        QTest::newRow("UPC-E") << QByteArray("Bar Code UPC-A") << 4 << QByteArray("Bar Code UPC-E") << int(kUpcFamilyEditor)
                               << "" << "6543{Escape}21" << "{Right}12" << withAddOn << "06543217 12";
        const int code128 = int(Symbology::Code128), itf = int(Symbology::Itf);
        QTest::newRow("Code 128") << QByteArray("Bar Code UPC-E") << 5 << QByteArray("Bar Code 128")
                                  << int(kLinearFamilyEditor) << "" << "Ruvola-128 abx{BackSpace}c{Escape}" << ""
                                  << code128 << "]C0Ruvola-128 abc";
        QTest::newRow("GS1-128") << QByteArray("Bar Code 128") << 6 << QByteArray("Bar Code GS1-128")
                                 << int(kLinearFamilyEditor) << "" << "(01)09501101530003(17)250101(10)AB-123" << ""
                                 << code128 << "]C101095011015300031725010110AB-123";
        QTest::newRow("ITF-14") << QByteArray("Bar Code GS1-128") << 7 << QByteArray("Bar Code ITF-14")
                                << int(kLinearFamilyEditor) << "" << "15400141288{BackSpace}876" << "" << itf
                                << "15400141288763";
    }

    void buildCopy()
    {
        QFETCH(QByteArray, startWith);
        QFETCH(int, menuRow);
        QFETCH(QByteArray, symbologyName);
        QFETCH(int, editor);
        const EditorPlaces& places = *kPlaces[editor];
        Program& program = NewProgram(SettingsFile(startWith));
        QString error = program.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Person person(*desktop_, program);

        // The pick goes into the settings file, and nothing more is written at exit.
        STEP(person.Pick(kSymbologyMenu, kSymbologyRows, menuRow));
        const bool written = WaitFor(
            [&] { return IniValue(program.ReadSettings(), "Symbology", "Checked") == symbologyName; }, 5000);
        QVERIFY2(written, program.ReadSettings().constData());
        QCOMPARE(IniValue(program.ReadSettings(), "pagesetting", "fleft"), QString("0"));
        const QByteArray picked = program.ReadSettings();
        STEP(person.Exit());
        QCOMPARE(program.ReadSettings(), picked);

        // The next start shows the picked editor, its item checked.
        error = program.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QList<int> checked;
        STEP(person.CheckedRows(kSymbologyMenu, kSymbologyRows, checked));
        QCOMPARE(checked, QList<int>{menuRow});
        STEP(person.FindEditor(places));

        QFETCH(QString, heightKeys);
        QFETCH(QString, messageKeys);
        QFETCH(QString, addOnKeys);
        if (!heightKeys.isEmpty()) STEP(person.TypeInto(places.height, heightKeys));
        STEP(person.TypeInto(places.message, messageKeys));
        if (!addOnKeys.isEmpty()) STEP(person.TypeInto(places.addOn, addOnKeys));
        QImage clip;
        STEP(person.Build(QImage(), clip));
        QFETCH(int, symbology);
        QFETCH(QString, expected);
        // Pasted into a document, the picture stands on white, which gives it its quiet zones.
        const QStringList read = DecodeSymbols(OnWhiteSheet(clip, 40), Symbology(symbology));
        QVERIFY2(read == QStringList{expected}, qPrintable("read: " + read.join(", ")));
        STEP(person.Screenshot(QStringLiteral("build-%1.png").arg(QTest::currentDataTag())));
        qInfo("%s: clipboard and preview %s, reads %s", QTest::currentDataTag(), qPrintable(SizeText(clip.size())),
              qPrintable(read.join(", ")));

        STEP(person.TurnAndBack(clip));
        STEP(person.Exit());
    }

    // Page values typed and discarded with Esc change nothing; typed and saved, they
    // are in the settings file and the next build's picture grows by them.
    void pageValuesReachNextBuild()
    {
        Program& program = NewProgram(SettingsFile("Bar Code UPC-A"));
        const QString error = program.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Person person(*desktop_, program);
        STEP(person.FindEditor(kUpcFamily));
        STEP(person.TypeInto(kUpcFamily.height, "{End}{BackSpace}{BackSpace}{BackSpace}1.0"));
        STEP(person.TypeInto(kUpcFamily.message, "03600029145"));
        QImage plain;
        STEP(person.Build(QImage(), plain));
        const QByteArray before = program.ReadSettings();

        STEP(person.Pick(kSettingsMenu, kSettingsRows, kPageSetting));
        WindowId dialog = desktop_->WaitWindow(program.Pid(), "^Page Setting$");
        QVERIFY2(dialog && desktop_->WaitKeyboard(dialog), "no \"Page Setting\" dialog with the keyboard");
        desktop_->Click(desktop_->Geometry(dialog).topLeft() + PageBox(0).center());
        desktop_->Type(kPageValuesTyped + "{Escape}");
        QVERIFY2(desktop_->WaitGone(dialog, program.Pid()), "Esc left the page setting open");
        QCOMPARE(program.ReadSettings(), before);
        STEP(person.TypeInto(kUpcFamily.message, "{End}" + Keys("BackSpace", 11) + "72527273070"));
        QImage unchanged;
        STEP(person.Build(plain, unchanged));
        QCOMPARE(unchanged.size(), plain.size());

        // This time from the editor's own tool button, and saved.
        STEP(person.ClickToolIcon(0));
        dialog = desktop_->WaitWindow(program.Pid(), "^Page Setting$");
        QVERIFY2(dialog && desktop_->WaitKeyboard(dialog), "no \"Page Setting\" dialog from the tool bar");
        const QPoint corner = desktop_->Geometry(dialog).topLeft();
        desktop_->Click(corner + PageBox(0).center());
        desktop_->Type(kPageValuesTyped);
        desktop_->Click(corner + kSaveButton.center());
        QVERIFY2(desktop_->WaitGone(dialog, program.Pid()), "\"Save \" left the page setting open");
        for (int i = 0; i < 5; ++i)
            QCOMPARE(IniValue(program.ReadSettings(), "pagesetting", kPageKeys[i]), QString(kPageValues[i]));

        STEP(person.TypeInto(kUpcFamily.message, "{End}" + Keys("BackSpace", 11) + "03600029145"));
        QImage grown;
        STEP(person.Build(unchanged, grown));
        QCOMPARE(grown.size(), plain.size() + QSize(48, 36));
        QCOMPARE(DarkBox(grown).topLeft(), DarkBox(plain).topLeft() + QPoint(24, 24));
        // The blank space left and right is now the symbol's quiet zone.
        const QStringList read = DecodeSymbols(grown, Symbology::EanUpc);
        QVERIFY2(read == QStringList{"036000291452"}, qPrintable("read: " + read.join(", ")));
        STEP(person.Screenshot("page-setting.png"));
        qInfo("picture %s before, %s after the page values", qPrintable(SizeText(plain.size())),
              qPrintable(SizeText(grown.size())));
        STEP(person.Exit());
    }

    // A UPC-A symbol with its add-on printed through the print option dialog at
    // X 1000, Y 500 mils, on a queue chosen in the printer set-up dialog: one whose
    // printable area lies inside margins, and one whose printable area is the whole sheet.
    void printThroughQueue_data()
    {
        QTest::addColumn<QString>("queueName");
        QTest::addColumn<QPointF>("printable");
        QTest::addColumn<QString>("kept");
        QTest::newRow("printable area inside margins") << QString(PrintQueue::kQueue) << PrintQueue::kPrintableCorner
                                                       << "printed.pdf";
        QTest::newRow("whole sheet printable") << QString(PrintQueue::kWholeSheet) << QPointF() << "printed-whole-sheet.pdf";
    }
    void printThroughQueue()
    {
        QFETCH(QString, queueName);
        QFETCH(QPointF, printable);
        QFETCH(QString, kept);
        if (const QString why = PrintQueue::CannotRun(); !why.isEmpty())
            QSKIP(qPrintable("no print queue: " + why));
        PrintQueue queue;
        STEP(OpenUpcOnQueue(queue, queueName));
        Program& program = *program_;
        Person person(*desktop_, program);
        STEP(person.FindEditor(kUpcFamily));

        STEP(person.TypeInto(kUpcFamily.message, "03600029145"));
        STEP(person.TypeInto(kUpcFamily.addOn, "12"));
        QImage clip;
        STEP(person.Build(QImage(), clip));
        kept = QDir(kArtefacts).filePath(kept);
        STEP(PrintOnce(person, program, queue, queueName, kUpcFamily, kept));
        STEP(person.Exit());
        STEP(CheckPrintedPage(kept, clip, queue, queueName, printable));
    }

    // A sheet of labels through the 300 dpi queue with the queue's calibration in the
    // settings file, all by the keyboard in the labels dialog: 3 copies from the fifth
    // label, "Print". Each label, where the calibrated grid puts it on the sheet's dots,
    // holds the build drawn again at 300 dpi, its bars dot for dot; the labels before
    // and after are blank. The calibration dialog is opened on the way and its window kept.
    void labelsThroughQueue()
    {
        if (const QString why = PrintQueue::CannotRun(); !why.isEmpty()) QSKIP(qPrintable("no print queue: " + why));
        const int dpi = 300;
        const QString queueName = PrintQueue::QueueAt(dpi);
        const sheets::Calibration calibration{100, -50, 100};
        const QByteArray more = "[Labels]\nTemplate=Avery 5160\n[" + CalibrationSection(queueName).toLatin1() +
                                "]\nX=100\nY=-50\nScale=100\n";
        PrintQueue queue;
        STEP(OpenUpcOnQueue(queue, queueName, more));
        Program& program = *program_;
        Person person(*desktop_, program);
        STEP(person.FindEditor(kUpcFamily));
        STEP(person.TypeInto(kUpcFamily.height, "{End}{BackSpace}{BackSpace}{BackSpace}0.5"));
        STEP(person.TypeInto(kUpcFamily.message, "03600029145"));
        QImage clip;
        STEP(person.Build(QImage(), clip));

        desktop_->Click(person.OnScreen(kUpcLabelsButton));
        const WindowId labels = desktop_->WaitWindow(program.Pid(), "^Labels$");
        QVERIFY2(labels && desktop_->WaitKeyboard(labels), "Labels... gave no \"Labels\" dialog with the keyboard");
        // First label 5, 3 labels, through the boxes' mnemonics.
        desktop_->Type("{alt+f}{ctrl+a}5{alt+l}{ctrl+a}3");
        desktop_->Type("{alt+a}");
        const WindowId calibrate = desktop_->WaitWindow(program.Pid(), "^Calibrate$");
        QVERIFY2(calibrate && desktop_->WaitKeyboard(calibrate), "Calibrate... gave no \"Calibrate\" dialog");
        desktop_->Grab(calibrate).save(QDir(kArtefacts).filePath("labels-calibrate.png"));
        desktop_->Type("{Escape}");
        QVERIFY2(desktop_->WaitGone(calibrate, program.Pid()), "Esc left the calibration dialog open");
        // The labels dialog has the keyboard again, as a window manager gives it back.
        desktop_->Focus(labels);
        QVERIFY2(desktop_->WaitKeyboard(labels), "the labels dialog did not get the keyboard back");
        desktop_->Grab(labels).save(QDir(kArtefacts).filePath("labels-dialog.png"));
        desktop_->Type("{alt+p}");
        const QString pdf = queue.WaitForPdf(60000, queueName);
        QVERIFY2(!pdf.isEmpty(), qPrintable("no PDF from the queue; jobs: " + queue.Jobs(queueName).join("; ") + "\n" +
                                            queue.ErrorLog()));
        desktop_->Type("{Escape}");
        QVERIFY2(desktop_->WaitGone(labels, program.Pid()), "Esc left the labels dialog open");
        const QString kept = QDir(kArtefacts).filePath("labels-printed.pdf");
        QFile::remove(kept);
        QVERIFY(QFile::copy(pdf, kept));
        QVERIFY(QFile::remove(pdf));
        STEP(person.Exit());

        symbols::Inputs inputs = symbols::Defaults(symbols::Kind::UpcA);
        inputs.message = "03600029145";
        inputs.height = 0.5;
        inputs.width = 21;  // the editor's own
        inputs.resolution = 96;
        const symbols::Drawing onScreen = symbols::Prepare(symbols::Kind::UpcA, inputs);
        QVERIFY2(onScreen.Drawable(), qPrintable(onScreen.error));
        const symbols::SharpPicture sharp = symbols::DrawSharp({inputs, onScreen, false}, dpi);
        const QImage drawn = sharp.picture.convertToFormat(QImage::Format_Grayscale8);
        const QImage page = RenderPage(kept, dpi, QDir(kArtefacts).filePath("labels-printed"));
        QVERIFY(!page.isNull());
        const sheets::SheetGrid grid(*sheets::BuiltInTemplates().Find(u"Avery 5160"), dpi, calibration);
        for (int i = 0; i < grid.LabelsPerSheet(); ++i) {
            const QRect label = grid.Label(i);
            const QImage printed = page.copy(QRect(sheets::CentredCorner(label, drawn.size()), drawn.size()));
            // A band through the bars, clear of every text (the program's font may differ
            // from this process's), dot for dot; and nothing at all on the other labels.
            int differing = 0, black = 0;
            for (int y = 0; y < drawn.height(); ++y)
                for (int x = 0; x < drawn.width(); ++x) {
                    const bool band = y >= drawn.height() * 3 / 10 && y < drawn.height() / 2;
                    differing += band && (printed.constScanLine(y)[x] < 128) != (drawn.constScanLine(y)[x] < 128);
                    black += printed.constScanLine(y)[x] < 128;
                }
            if (i >= 4 && i < 7)
                QVERIFY2(differing == 0, qPrintable(QStringLiteral("label %1: %2 dots differ").arg(i + 1).arg(differing)));
            else
                QVERIFY2(black == 0, qPrintable(QStringLiteral("label %1 is not blank").arg(i + 1)));
        }
    }

    // Sharp printing through queues at 203, 300 and 600 dpi, turned on in the menu at the
    // first and found on at the next starts: each symbology built, some turned, printed at
    // X 1000, Y 500 mils. Rendered at the queue's resolution, each page holds, at that
    // offset from the printable area's corner on the sheet's dots, the build drawn again
    // at the queue's resolution, bar for bar; the PDF keeps it as an image of that
    // resolution; two decoders read it. At 203 dpi also on a sheet printable to its edges.
    void sharpPrintThroughQueues_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QString>("queueName");
        QTest::addColumn<QPointF>("printable");
        for (int dpi : PrintQueue::kResolutions)
            QTest::newRow(qPrintable(QStringLiteral("%1 dpi").arg(dpi)))
                << dpi << PrintQueue::QueueAt(dpi) << PrintQueue::kPrintableCorner;
        QTest::newRow("203 dpi, whole sheet printable")
            << PrintQueue::kWholeSheetDots << QString(PrintQueue::kWholeSheetAtDots) << QPointF();
    }
    void sharpPrintThroughQueues()
    {
        QFETCH(int, dpi);
        QFETCH(QString, queueName);
        QFETCH(QPointF, printable);
        if (const QString why = PrintQueue::CannotRun(); !why.isEmpty())
            QSKIP(qPrintable("no print queue: " + why));
        if (!MissingTools({"zbarimg"}).isEmpty()) QSKIP("no zbarimg (scripts/setup.sh installs zbar-tools)");
        PrintQueue queue;
        QString error = queue.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const bool first = dpi == PrintQueue::kResolutions[0];
        Program& program = NewProgram(SettingsFile("Bar Code C39") + (first ? "" : "[Printing]\nSharp=1\n"));
        STEP(StartOnQueue(program, queue));
        Person person(*desktop_, program);
        STEP(person.FindEditor(kCode39));
        if (first) {
            STEP(person.Pick(kSettingsMenu, kSettingsRows, kSharpPrinting));
            const bool kept =
                WaitFor([&] { return IniValue(program.ReadSettings(), "Printing", "Sharp") == "1"; }, 5000);
            QVERIFY2(kept, program.ReadSettings().constData());
        } else {
            QList<int> checked;
            STEP(person.CheckedRows(kSettingsMenu, kSettingsRows, checked));
            QVERIFY2(checked.contains(kSharpPrinting), "Sharp printing is not on after a start");
            // After Esc the menu bar keeps its title lit for the keyboard and takes the
            // next click on it as leaving that: a click in the editor leaves it first.
            STEP(person.TypeInto(kCode39.message, ""));
        }
        STEP(ChoosePrinter(person, program, queueName));

        const QList<SharpCase> cases = SharpCases(dpi);
        QStringList pdfs;
        QImage before;
        for (const SharpCase& c : cases) {
            const EditorPlaces& places = *kPlaces[c.editor];
            STEP(person.Pick(kSymbologyMenu, kSymbologyRows, c.menuRow));
            STEP(person.FindEditor(places));
            // The EAN-13 width is picked in its list by typing it.
            STEP(person.TypeInto(places.width, c.editor == kEan13Editor ? c.width + "{Return}"
                                                                         : "{End}" + Keys("BackSpace", 3) + c.width));
            if (!c.comment.isEmpty()) STEP(person.TypeInto(places.comment, c.comment));
            STEP(person.TypeInto(places.message, c.message));
            if (!c.addOn.isEmpty()) STEP(person.TypeInto(places.addOn, c.addOn));
            QImage clip;
            STEP(person.Build(before, clip));
            before = clip;
            if (c.turned) {
                STEP(person.ClickToolIconFromRight(0));
                QVERIFY2(WaitFor([&] { return person.SeenPicture().width() == clip.height(); }, 5000),
                         "\"turn 1\" did not turn the preview");
            }
            pdfs << QDir(kArtefacts).filePath(QStringLiteral("sharp-%1dpi%2-%3.pdf")
                                                  .arg(dpi)
                                                  .arg(printable.isNull() ? "-whole-sheet" : "")
                                                  .arg(c.message));
            STEP(PrintOnce(person, program, queue, queueName, places, pdfs.last()));
        }
        STEP(person.Exit());
        for (int i = 0; i < cases.size(); ++i) STEP(CheckSharpPage(pdfs[i], cases[i], dpi, printable));
    }

    void labelSequenceThroughQueues_data()
    {
        QTest::addColumn<int>("dpi");
        for (int dpi : {203, 300}) QTest::newRow(qPrintable(QStringLiteral("%1 dpi").arg(dpi))) << dpi;
    }
    // A sheet of Avery 5160 labels printed from the "Labels..." dialog through a queue:
    // the sheet found by typing an equivalent part into the search box, the first label
    // moved to 8 and a sequence of 12 asked for by the keys a person presses. Labels 8
    // to 19 of the printed page read 5901234123457 counting up, each where the maker's
    // numbers put its label, centred within a dot, and dot for dot the build drawn at
    // the queue's resolution; the others are blank.
    void labelSequenceThroughQueues()
    {
        QFETCH(int, dpi);
        if (const QString why = PrintQueue::CannotRun(); !why.isEmpty())
            QSKIP(qPrintable("no print queue: " + why));
        PrintQueue queue;
        const QString error = queue.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        // Another sheet was picked last time: the search must find this one.
        Program& program = NewProgram(SettingsFile("Bar Code ENA13") + "[Labels]\nTemplate=Avery L7160\n");
        STEP(StartOnQueue(program, queue));
        Person person(*desktop_, program);
        STEP(person.FindEditor(kEan13));
        STEP(ChoosePrinter(person, program, PrintQueue::QueueAt(dpi)));
        STEP(person.TypeInto(kEan13.height, "{End}" + Keys("BackSpace", 6) + "0.5"));
        STEP(person.TypeInto(kEan13.message, "590123412345"));
        QImage clip;
        STEP(person.Build(QImage(), clip));

        desktop_->Click(person.OnScreen(kEan13LabelsButton));
        const WindowId dialog = desktop_->WaitWindow(program.Pid(), "^Labels$");
        QVERIFY2(dialog && desktop_->WaitKeyboard(dialog), "no \"Labels\" dialog with the keyboard");
        // 5960 is sold as Avery 5160 and is no other sheet's part: Enter goes on to the
        // list, whose first row is the custom layout and next the one sheet found.
        desktop_->Type("5960{Return}{Home}{Down}");
        desktop_->Type("{alt+f}{ctrl+a}8{alt+l}{ctrl+a}12{alt+q}");
        QTest::qWait(500);
        desktop_->GrabScreen().save(QDir(kArtefacts).filePath(QStringLiteral("labels-dialog-%1dpi.png").arg(dpi)));
        desktop_->Type("{alt+p}");
        const QString printed = queue.WaitForPdf(60000, PrintQueue::QueueAt(dpi));
        QVERIFY2(!printed.isEmpty(), qPrintable("no PDF from the queue; jobs: " + queue.Jobs(PrintQueue::QueueAt(dpi)).join("; ") +
                                                "\n" + queue.ErrorLog()));
        QVERIFY2(queue.Jobs(PrintQueue::kHeldDefault).isEmpty(), "the job went to the default queue");
        const QString pdf = QDir(kArtefacts).filePath(QStringLiteral("labels-%1dpi.pdf").arg(dpi));
        QFile::remove(pdf);
        QVERIFY(QFile::copy(printed, pdf));
        QVERIFY(QFile::remove(printed));
        desktop_->Type("{Escape}");
        QVERIFY2(desktop_->WaitGone(dialog, program.Pid()), "Esc left the Labels dialog open");
        QCOMPARE(IniValue(program.ReadSettings(), "Labels", "Template"), QString("Avery 5160"));
        STEP(person.Exit());

        const QImage page = RenderPage(pdf, dpi, QDir(kArtefacts).filePath(QStringLiteral("labels-%1dpi").arg(dpi)));
        QVERIFY(!page.isNull());
        symbols::Inputs inputs = symbols::Defaults(symbols::Kind::Ean13);
        inputs.height = 0.5;
        inputs.resolution = 96;
        for (int i = 0; i < 30; ++i) {
            // Avery 5160: 3 x 10 labels of 2 5/8 x 1 inch, the first at 5/32 inch from the
            // left edge and half an inch from the top, 2 25/32 inch and 1 inch apart.
            const QRect label(QPoint(qRound((0.15625 + i % 3 * 2.78125) * dpi), qRound((0.5 + i / 3) * dpi)),
                              QSize(int(2.625 * dpi), dpi));
            const QRect dark = DarkBox(page.copy(label)).translated(label.topLeft());
            const QString where = QStringLiteral("label %1").arg(i + 1);
            if (i < 7 || i > 18) {
                QVERIFY2(dark.isNull(), qPrintable(where + " should be blank"));
                continue;
            }
            inputs.message = std::to_string(590123412345LL + i - 7);
            const symbols::Drawing onScreen = symbols::Prepare(symbols::Kind::Ean13, inputs);
            QVERIFY2(onScreen.Drawable(), qPrintable(onScreen.error));
            const symbols::SharpPicture sharp = symbols::DrawSharp({inputs, onScreen, false}, dpi);
            QVERIFY2(!sharp.picture.isNull(), qPrintable(sharp.error));
            const QImage drawn = sharp.picture.convertToFormat(QImage::Format_Grayscale8);
            // Placed by its bars: the text's face is the desktop's, the bars are the build's alone.
            const QRect drawnDark = DarkBox(drawn);
            const auto barsLeft = [](const QImage& picture, const QRect& box) {
                return DarkBox(picture.copy(QRect(box.left(), box.top(), box.width(), 10))).left() + box.left();
            };
            const QPoint corner(barsLeft(page, dark) - barsLeft(drawn, drawnDark), dark.top() - drawnDark.top());
            const QImage placed = page.copy(QRect(corner, drawn.size()));
            const int left = corner.x() - label.left(), right = label.right() - (corner.x() + drawn.width() - 1);
            const int top = corner.y() - label.top(), bottom = label.bottom() - (corner.y() + drawn.height() - 1);
            QVERIFY2(qAbs(left - right) <= 2 && qAbs(top - bottom) <= 2,
                     qPrintable(QStringLiteral("%1 not centred: %2/%3, %4/%5 dots").arg(where).arg(left).arg(right).arg(top).arg(bottom)));
            // A band through the bars, clear of every text, dot for dot.
            int differing = 0;
            for (int y = drawn.height() * 3 / 10; y < drawn.height() / 2; ++y)
                for (int x = 0; x < drawn.width(); ++x)
                    differing += (placed.constScanLine(y)[x] < 128) != (drawn.constScanLine(y)[x] < 128);
            QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1: %2 dots differ from the build drawn at %3 dpi")
                                                    .arg(where).arg(differing).arg(dpi)));
            const QList<int> runs = PixelRuns(placed, placed.height() * 2 / 5);
            QCOMPARE(runs.size(), 59);
            for (const int run : runs)
                QVERIFY2(run % sharp.module == 0, qPrintable(QStringLiteral("%1: a run of %2 dots for modules of %3")
                                                                 .arg(where).arg(run).arg(sharp.module)));
            const QString number = QString::fromStdString(inputs.message);
            int sum = 0;
            for (int d = 0; d < 12; ++d) sum += number[d].digitValue() * (d % 2 ? 3 : 1);
            const QStringList read = DecodeSymbols(OnWhiteSheet(placed, dpi / 4), Symbology::EanUpc);
            QVERIFY2(read == QStringList{number + QString::number((10 - sum % 10) % 10)},
                     qPrintable(where + " reads " + read.join(", ")));
            if (i == 7) qInfo("%d dpi: modules of %d dots, label 8 at %d, %d", dpi, sharp.module, corner.x(), corner.y());
        }
    }

    // Without Sharp printing a 203 dpi queue gets the stretched picture the dialog told of:
    // UPC-A at its 21 mils, 2 pixels on the screen, has modules of 4 or 5 dots.
    void stretchedPrintSpreadsAsTold()
    {
        if (const QString why = PrintQueue::CannotRun(); !why.isEmpty())
            QSKIP(qPrintable("no print queue: " + why));
        PrintQueue queue;
        const QString queueName = PrintQueue::QueueAt(203);
        STEP(OpenUpcOnQueue(queue, queueName));
        Program& program = *program_;
        Person person(*desktop_, program);
        STEP(person.FindEditor(kUpcFamily));
        STEP(person.TypeInto(kUpcFamily.message, "03600029145"));
        QImage clip;
        STEP(person.Build(QImage(), clip));
        const QString pdf = QDir(kArtefacts).filePath("stretched-203dpi.pdf");
        STEP(PrintOnce(person, program, queue, queueName, kUpcFamily, pdf));
        STEP(person.Exit());

        const QImage page = RenderPage(pdf, 203, QDir(kArtefacts).filePath("stretched-203dpi"));
        QVERIFY(!page.isNull());
        const QRect bars = DarkBox(page);
        const QList<int> runs = PixelRuns(page, bars.top() + bars.height() * 2 / 5);
        QCOMPARE(runs.size(), 59);
        QSet<int> single;
        for (int run : runs)
            if (run < 4.23 * 1.5) single << run;
        QCOMPARE(single, (QSet<int>{4, 5}));
    }

    // Without a pointer event: the EAN-13 editor picked with Alt and the arrows, the
    // message typed, Build/Copy, "turn 1", "Export..." through Shift+F10 on the preview,
    // the scan check's details from the same menu, and the print option dialog reached
    // with Tab and Space, the program left through its menu. In the stated tab order: the tool buttons, the preview, the boxes and
    // buttons of the panel.
    void keyboardOnly()
    {
        Program& program = NewProgram(SettingsFile("Bar Code C39"));
        QString error = program.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Person person(*desktop_, program);
        STEP(person.FindEditor(kCode39));
        desktop_->Focus(program.MainWindow());
        desktop_->Type("{alt}{Right}{Down}{Down}{Return}");
        QVERIFY2(WaitFor([&] { return IniValue(program.ReadSettings(), "Symbology", "Checked") == "Bar Code ENA13"; },
                         5000),
                 "Alt and the arrows did not pick EAN-13");
        STEP(person.FindEditor(kEan13));
        // pagesetting, font, colour, the preview, height, comment, message
        desktop_->Type(Keys("Tab", 7) + "590123412345{Tab}{space}");
        QImage clip;
        const bool built = WaitFor(
            [&] {
                clip = desktop_->ClipboardImage();
                return !clip.isNull();
            },
            10000);
        QVERIFY2(built, "Space on Build/Copy put no picture on the clipboard");
        QCOMPARE(DecodeSymbols(OnWhiteSheet(clip, 40), Symbology::EanUpc), QStringList{"5901234123457"});
        // The EAN-13 build leaves the focus in the message box: back over the comment and
        // height boxes to the preview, where the context-menu key and Shift+F10 each open
        // its menu.
        const QString exported = QDir(kArtefacts).filePath("keyboard-export.png");
        QFile::remove(exported);
        desktop_->Type(Keys("shift+Tab", 3) + "{Menu}");
        WindowId menu = 0;
        STEP(WaitMenu(program, menu));
        desktop_->Type("{Escape}");
        QVERIFY2(desktop_->WaitGone(menu, program.Pid()), "Esc left the preview's menu open");
        desktop_->Type("{shift+F10}");
        menu = 0;
        STEP(WaitMenu(program, menu));
        desktop_->Type("{Down}{Return}");
        const WindowId save = desktop_->WaitWindow(program.Pid(), "^Export$");
        QVERIFY2(save && desktop_->WaitKeyboard(save), "\"Export...\" gave no \"Export\" dialog");
        desktop_->Type(exported + "{Return}");
        QVERIFY2(desktop_->WaitGone(save, program.Pid()), "Enter left the export dialog open");
        QVERIFY2(WaitFor([&] { return QFileInfo(exported).size() > 0; }, 5000), "nothing exported");
        QCOMPARE(DecodeSymbols(OnWhiteSheet(QImage(exported), 40), Symbology::EanUpc), QStringList{"5901234123457"});
        // The scan check's figures, which the pointer finds in the scan line's tip, come
        // from the same menu's next item; Enter closes their box, back on the preview.
        // The main window has the keyboard again, as a window manager gives it back.
        desktop_->Focus(program.MainWindow());
        desktop_->Type("{Menu}");
        menu = 0;
        STEP(WaitMenu(program, menu));
        desktop_->Type("{Down}{Down}{Return}");
        const WindowId details = desktop_->WaitWindow(program.Pid(), "^Notice$");
        QVERIFY2(details && desktop_->WaitKeyboard(details), "\"Scan check details...\" gave no \"Notice\" box");
        desktop_->Grab(details).save(QDir(kArtefacts).filePath("scan-details.png"));
        desktop_->Type("{Return}");
        QVERIFY2(desktop_->WaitGone(details, program.Pid()), "Enter left the scan check's box open");
        // Back from the preview to "turn 1", which the build enabled.
        desktop_->Type("{shift+Tab}{space}");
        QVERIFY2(WaitFor([&] { return person.SeenPicture().width() == clip.height(); }, 5000),
                 "Space on \"turn 1\" did not turn the preview");
        // From "turn 1" over the preview, height, comment, message and Build/Copy to Print.
        desktop_->Type(Keys("Tab", 6) + "{space}");
        const WindowId options = desktop_->WaitWindow(program.Pid(), "^Print Option$");
        QVERIFY2(options && desktop_->WaitKeyboard(options), "Space on Print gave no \"Print Option\" dialog");
        desktop_->Type("{Escape}");
        QVERIFY2(desktop_->WaitGone(options, program.Pid()), "Esc left the print option dialog open");
        desktop_->Type("{alt}{Right}{Right}{Right}{Return}");
        QVERIFY2(program.WaitExit(), "Alt, the arrows and Enter on Exit did not end the program");
        QCOMPARE(program.ExitCode(), 0);
    }

private:
    // A menu of the program's open beside its main window.
    void WaitMenu(const Program& program, WindowId& menu)
    {
        const bool open = WaitFor(
            [&] {
                for (WindowId w : desktop_->Windows(program.Pid()))
                    if (w != program.MainWindow()) menu = w;
                return menu != 0;
            },
            5000);
        QVERIFY2(open, "no menu opened");
    }

    // The queue's daemon started, and the program showing the UPC-A editor with queueName
    // picked in "Printer setting"; more: further settings.
    void OpenUpcOnQueue(PrintQueue& queue, const QString& queueName, const QByteArray& more = {})
    {
        const QString error = queue.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Program& program = NewProgram(SettingsFile("Bar Code UPC-A") + more);
        STEP(StartOnQueue(program, queue));
        Person person(*desktop_, program);
        STEP(person.FindEditor(kUpcFamily));
        STEP(ChoosePrinter(person, program, queueName));
    }

    // The program starts as a client of this queue's daemon only, whose default is held.
    void StartOnQueue(Program& program, const PrintQueue& queue)
    {
        program.SetEnvironment("CUPS_SERVER", queue.Server());
        program.SetEnvironment("CUPS_SERVERROOT", queue.ServerRoot());
        const QString error = program.Start();
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // The printer list has the focus: typing a name selects it, Enter accepts.
    void ChoosePrinter(Person& person, const Program& program, const QString& queueName)
    {
        STEP(person.Pick(kSettingsMenu, kSettingsRows, kPrinterSetting));
        const WindowId setup = desktop_->WaitWindow(program.Pid(), "^Print$");
        QVERIFY2(setup && desktop_->WaitKeyboard(setup), "no printer set-up dialog with the keyboard");
        desktop_->Type(QStringLiteral("%1{Return}").arg(queueName));
        QVERIFY2(desktop_->WaitGone(setup, program.Pid()), "Enter left the printer set-up open");
    }

    // Print in the editor, X 1000 and Y 500 mils in the print option dialog (Enter in the
    // Y box moves on to the X box), "Print", and Esc; the queue's PDF is moved to keep.
    void PrintOnce(const Person& person, const Program& program, const PrintQueue& queue, const QString& queueName,
                   const EditorPlaces& places, const QString& keep)
    {
        desktop_->Click(person.OnScreen(places.print));
        const WindowId options = desktop_->WaitWindow(program.Pid(), "^Print Option$");
        QVERIFY2(options && desktop_->WaitKeyboard(options), "no \"Print Option\" dialog with the keyboard");
        const QPoint corner = desktop_->Geometry(options).topLeft();
        desktop_->Click(corner + kYBox.center());
        desktop_->Type("500{Return}1000");
        desktop_->Click(corner + kPrintButton.center());
        const QString pdf = queue.WaitForPdf(60000, queueName);
        QVERIFY2(!pdf.isEmpty(), qPrintable("no PDF from the queue; jobs: " + queue.Jobs(queueName).join("; ") + "\n" +
                                            queue.ErrorLog()));
        desktop_->Type("{Escape}");
        QVERIFY2(desktop_->WaitGone(options, program.Pid()), "Esc left the print option dialog open");
        QVERIFY2(queue.Jobs(PrintQueue::kHeldDefault).isEmpty(), "the job went to the default queue");
        QFile::remove(keep);
        QVERIFY(QFile::copy(pdf, keep));
        QVERIFY(QFile::remove(pdf));
    }

    // printable: the printable area's corner, in points from the sheet's.
    void CheckSharpPage(const QString& pdf, const SharpCase& c, int dpi, const QPointF& printable)
    {
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // One image on the page, lossless, at the queue's resolution.
        const QStringList images = QString::fromLatin1(RunTool("pdfimages", {"-list", pdf}, env).out).split('\n');
        QVERIFY2(images.size() > 2, "no image on the page");
        const QStringList columns = images[2].simplified().split(' ');
        QVERIFY2(columns.size() > 13 && columns[8] != "jpeg" && columns[8] != "jpx", qPrintable(images[2]));
        QVERIFY2(qAbs(columns[12].toInt() - dpi) <= 1 && qAbs(columns[13].toInt() - dpi) <= 1, qPrintable(images[2]));

        // The build as the program made it on the screen, drawn again at the queue's resolution.
        symbols::Inputs inputs = symbols::Defaults(c.kind);
        inputs.message = c.message.toStdString();
        inputs.addOn = c.addOn.toStdString();
        inputs.comment = c.comment.toStdString();
        inputs.width = c.width.toDouble();
        inputs.resolution = 96;
        const symbols::Drawing onScreen = symbols::Prepare(c.kind, inputs);
        QVERIFY2(onScreen.Drawable(), qPrintable(onScreen.error));
        const symbols::SharpPicture sharp =
            symbols::DrawSharp({inputs, onScreen, c.turned}, dpi);
        QVERIFY2(!sharp.picture.isNull(), qPrintable(sharp.error));

        const QString name = QFileInfo(pdf).completeBaseName();
        const QImage page = RenderPage(pdf, dpi, QDir(kArtefacts).filePath(name));
        QVERIFY(!page.isNull());
        // The stated offset, rounded on the sheet's dots from the printable area's corner.
        const QPoint corner(engines::RoundToInt(printable.x() / 72 * dpi + 1.0 * dpi),
                            engines::RoundToInt(printable.y() / 72 * dpi + 0.5 * dpi));
        const QTransform back = QTransform().rotate(c.turned ? -90 : 0);
        const QImage printed = page.copy(QRect(corner, sharp.picture.size())).transformed(back);
        const QImage drawn = sharp.picture.convertToFormat(QImage::Format_Grayscale8).transformed(back);
        printed.save(QDir(kArtefacts).filePath(name + ".png"));
        drawn.save(QDir(kArtefacts).filePath(name + "-drawn.png"));
        // A band through the bars, clear of every text, dot for dot.
        int differing = 0;
        for (int y = drawn.height() * 3 / 10; y < drawn.height() / 2; ++y)
            for (int x = 0; x < drawn.width(); ++x)
                differing += (printed.constScanLine(y)[x] < 128) != (drawn.constScanLine(y)[x] < 128);
        QVERIFY2(differing == 0, qPrintable(QStringLiteral("%1 dots differ from the build at %2 dpi at %3, %4")
                                                .arg(differing).arg(dpi).arg(corner.x()).arg(corner.y())));
        // Every bar and space one whole number of modules of sharp.module dots (Code 39:
        // narrow or wide), the gap before an add-on aside.
        const QList<int> runs = PixelRuns(printed, printed.height() * 2 / 5);
        QVERIFY(runs.size() > 20);
        const bool linear = c.kind == symbols::Kind::Code128 || c.kind == symbols::Kind::Gs1_128 ||
                            c.kind == symbols::Kind::Itf14;
        if (c.kind == symbols::Kind::Code39) {
            QCOMPARE(QSet<int>(runs.begin(), runs.end()).size(), 2);
            QCOMPARE(*std::min_element(runs.begin(), runs.end()), sharp.module);
        } else if (c.kind == symbols::Kind::Itf14) {
            // Narrow elements, wide ones of the ratio's whole dots, bearers and quiet zones of narrow ones.
            const int wide = engines::Itf14PixelWidths({true}, sharp.module, 2.5).front();
            for (const int run : runs)
                QVERIFY2(run % sharp.module == 0 || run == wide,
                         qPrintable(QStringLiteral("a run of %1 dots for narrow bars of %2").arg(run).arg(sharp.module)));
        } else if (linear) {
            for (const int run : runs)
                QVERIFY2(run % sharp.module == 0,
                         qPrintable(QStringLiteral("a run of %1 dots for modules of %2").arg(run).arg(sharp.module)));
        } else {
            const int mainRuns = c.kind == symbols::Kind::Ean8 ? 43 : c.kind == symbols::Kind::UpcE ? 33 : 59;
            for (int i = 0; i < runs.size(); ++i)
                QVERIFY2((i == mainRuns && !c.addOn.isEmpty()) || runs[i] % sharp.module == 0,
                         qPrintable(QStringLiteral("a run of %1 dots for modules of %2").arg(runs[i]).arg(sharp.module)));
        }
        const QImage sheet = OnWhiteSheet(printed, dpi / 4);
        const Symbology kind = c.kind == symbols::Kind::Code39   ? Symbology::Code39
                               : c.kind == symbols::Kind::Itf14 ? Symbology::Itf
                               : linear                         ? Symbology::Code128
                               : c.addOn.isEmpty()              ? Symbology::EanUpc
                                                                : Symbology::EanUpcWithAddOn;
        const QStringList read = DecodeSymbols(sheet, kind);
        QVERIFY2(read == QStringList{c.read}, qPrintable("ZXing reads: " + read.join(", ")));
        const QString png = QDir(kArtefacts).filePath(name + "-sheet.png");
        QVERIFY(sheet.save(png));
        // zbar as a second reader of the stated five; ZXing alone tells GS1-128 by its identifier.
        if (linear) {
            qInfo("%s: modules of %d dots, read %s", qPrintable(name), sharp.module, qPrintable(read.join(", ")));
            return;
        }
        const ToolRun zbar = RunTool("zbarimg", {"--raw", "-q", "-Supca.enable", "-Supce.enable", png}, env);
        const QString zbarRead = QString::fromLatin1(zbar.out).trimmed();
        QVERIFY2(zbarRead == c.read.section(' ', 0, 0), qPrintable("zbar reads: " + zbarRead));
        qInfo("%s: modules of %d dots, read %s", qPrintable(name), sharp.module, qPrintable(read.join(", ")));
    }

    void CheckPrintedPage(const QString& pdf, const QImage& clip, const PrintQueue& queue, const QString& queueName,
                          const QPointF& printableCorner)
    {
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        const ToolRun info = RunTool("pdfinfo", {pdf}, env);
        QVERIFY2(QRegularExpression("^Pages:\\s+1$", QRegularExpression::MultilineOption)
                     .match(QString::fromLatin1(info.out))
                     .hasMatch(),
                 info.out.constData());
        // The bars are stored as an image: lossless, never JPEG.
        const QStringList images = QString::fromLatin1(RunTool("pdfimages", {"-list", pdf}, env).out).split('\n');
        QVERIFY2(images.size() > 2 && !images[2].trimmed().isEmpty(), "no image on the page");
        for (const QString& line : images.mid(2)) {
            const QStringList columns = line.simplified().split(' ');
            if (columns.size() > 8) QVERIFY2(columns[8] != "jpeg" && columns[8] != "jpx", qPrintable(line));
        }

        const QString rendered = QDir(kArtefacts).filePath("printed-600dpi");
        const ToolRun render = RunTool(
            "pdftoppm", {"-r", "600", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile", pdf, rendered}, env, 60000);
        QVERIFY2(render.Ok(), render.err.constData());
        // A sheet at 600 dots per inch is larger than Qt's default limit for a read image.
        QImageReader::setAllocationLimit(1024);
        const QImage page(rendered + ".pgm");
        QFile::remove(rendered + ".pgm");
        QVERIFY(!page.isNull());
        QVERIFY2(OnlyBlackAndWhite(page), "the printed page holds grey pixels");

        // The picture's corner is where its darkest-left pixel lies, less that pixel's
        // place in the picture, scaled from the 96 dots per inch of the screen.
        const double scale = 600.0 / 96.0;
        const QRect printed = DarkBox(page), onScreen = DarkBox(clip);
        QVERIFY(!printed.isNull());
        const QPointF pictureCorner = QPointF(printed.topLeft()) - QPointF(onScreen.topLeft()) * scale;
        const QPointF printable = printableCorner / 72.0 * 600.0;
        const QPointF offset = pictureCorner - printable;
        const QPointF expected(1000.0 / 1000 * 600, 500.0 / 1000 * 600);
        qInfo("printed at %.1f, %.1f pixels of 600 dpi from the printable area's corner (%.4f, %.4f inches); "
              "expected %.0f, %.0f",
              offset.x(), offset.y(), offset.x() / 600, offset.y() / 600, expected.x(), expected.y());
        ReportInPrinterPixels(offset, queue, queueName);
        QVERIFY2(qAbs(offset.x() - expected.x()) <= 2 && qAbs(offset.y() - expected.y()) <= 2, "offset off by more "
                                                                                                 "than 1/300 inch");
        // Printed at its size on the screen's logical scale.
        QVERIFY2(qAbs(printed.width() - onScreen.width() * scale) <= 3 &&
                     qAbs(printed.height() - onScreen.height() * scale) <= 3,
                 qPrintable("printed " + SizeText(printed.size()) + " for " + SizeText(onScreen.size()) +
                            " on the screen"));

        const QImage symbol = page.copy(printed.adjusted(-300, -300, 300, 300));
        symbol.save(rendered + ".png");
        const QStringList read = DecodeSymbols(symbol, Symbology::EanUpcWithAddOn);
        QVERIFY2(read == QStringList{"036000291452 12"}, qPrintable("read: " + read.join(", ")));
    }

    // The offsets in the printer's own pixels, at the resolution the print system gives
    // this queue (what the program's printer uses); for the record only.
    static void ReportInPrinterPixels(const QPointF& offset600, const PrintQueue& queue, const QString& queueName)
    {
        qputenv("CUPS_SERVER", queue.Server().toLocal8Bit());
        qputenv("CUPS_SERVERROOT", queue.ServerRoot().toLocal8Bit());
        const QPrinterInfo info = QPrinterInfo::printerInfo(queueName);
        if (info.isNull()) return;
        const QPrinter printer(info, QPrinter::HighResolution);
        const int dpi = printer.resolution();
        qInfo("printer resolution %d dpi: offset %.1f, %.1f printer pixels, expected %d, %d", dpi,
              offset600.x() * dpi / 600, offset600.y() * dpi / 600, dpi, dpi / 2);
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_e2e.moc"
