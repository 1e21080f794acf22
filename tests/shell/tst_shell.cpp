// The application shell driven in-process: start-up from the settings file, the
// symbology switch, the menus, the page setting dialog, printing to a real PDF that
// is rendered back to pixels, the about box and the help command.
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

#include "editors/C39form.h"
#include "editors/bareditor.h"
#include "editors/linearfamily.h"
#include "engines/environment.h"
#include "engines/rounding.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/notices.h"
#include "platform/printerdots.h"
#include "shell/aboutfm.h"
#include "shell/mainform.h"
#include "shell/pagesetting.h"
#include "shell/printunit.h"
#include "symbols/sharpprint.h"
#include "support/decoder.h"
#include "support/pixelruns.h"
#include "support/guitest.h"

namespace {

const QString kSettings = QStringLiteral("BCodeSetting.ini");

QStringList NonEmptyLines(const QByteArray& text)
{
    QStringList lines;
    for (const QString& line : QString::fromLocal8Bit(text).split(QRegularExpression("\r\n|\r|\n")))
        if (!line.trimmed().isEmpty()) lines << line;
    return lines;
}

QList<QAction*> CheckedSymbologies(const Tmainfm& main)
{
    QList<QAction*> checked;
    for (QAction* item : main.Symbology1->actions())
        if (item->isChecked()) checked << item;
    return checked;
}

QStringList Captions(const QList<QAction*>& actions)
{
    QStringList captions;
    for (const QAction* a : actions) captions << a->text();
    return captions;
}

QString StoredSymbology() { return platform::IniFile(platform::SettingsPath()).ReadString("Symbology", "Checked"); }

// Bars of 4 dark and 6 light pixels, full height, closed by a dark last column, so
// the printed marks span the whole bitmap.
QImage BarPattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x) {
        const QRgb colour = (x % 10 < 4 || x == width - 1) ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        for (int y = 0; y < height; ++y) image.setPixel(x, y, colour);
    }
    return image;
}

struct RenderedPage {
    QRect black;     // bounding box of the pure black pixels
    int greys = 0;   // pixels neither pure black nor pure white
    QImage image;
};

RenderedPage Render(const QString& pdf, const QString& prefix)
{
    QProcess::execute("pdftoppm", {"-r", "600", "-gray", "-png", "-singlefile", pdf, prefix});
    RenderedPage page;
    page.image = QImage(prefix + ".png").convertToFormat(QImage::Format_Grayscale8);
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    for (int y = 0; y < page.image.height(); ++y) {
        const uchar* row = page.image.constScanLine(y);
        for (int x = 0; x < page.image.width(); ++x) {
            if (row[x] == 0) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            } else if (row[x] != 255) {
                ++page.greys;
            }
        }
    }
    if (right >= 0) page.black = QRect(QPoint(left, top), QPoint(right, bottom));
    return page;
}

bool WithinOnePixel(const QRect& a, const QRect& b)
{
    return std::abs(a.left() - b.left()) <= 1 && std::abs(a.top() - b.top()) <= 1 &&
           std::abs(a.right() - b.right()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
}

QString Describe(const QRect& r)
{
    return QString("black from %1,%2 to %3,%4").arg(r.left()).arg(r.top()).arg(r.right() + 1).arg(r.bottom() + 1);
}

int PdfPages(const QString& pdf)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(-1);
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromLatin1(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

}  // namespace

class TestShell : public QObject {
    Q_OBJECT
    std::unique_ptr<ExeDirFixture> dir;
    std::unique_ptr<Tmainfm> main;
    QString startDirectory;
    QLocale startLocale;

    // A main window started over a settings file with the given content (none when empty).
    void Start(const QByteArray& settings = {})
    {
        if (!settings.isEmpty()) dir->Write(kSettings, settings);
        main = MakeMainWindow();
        engines::SetScreenResolutionSource([] { return 96; });
    }

    // The main window's printer turned into a 600 dpi PDF printer without margins.
    QString PrintToPdf(const QString& name)
    {
        QPrinter* printer = main->Printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir->Path(name));
        printer->setResolution(600);
        printer->setFullPage(false);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        return dir->Path(name);
    }

private slots:
    void initTestCase()
    {
        startDirectory = QDir::currentPath();
        // a whole A4 page at 600 dpi is read back
        QImageReader::setAllocationLimit(512);
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "pdftoppm (poppler-utils) is needed");
    }

    void init()
    {
        QLocale::setDefault(QLocale::c());
        dir = std::make_unique<ExeDirFixture>();
    }

    void cleanup()
    {
        main.reset();
        dir.reset();
        PrintBitmap = QImage();
        platform::SetDocumentOpener({});
        QDir::setCurrent(startDirectory);
        QLocale::setDefault(startLocale);
    }

    // ---- start-up from the settings file --------------------------------------------

    // The print system's library comes only with the first question about a queue: linked
    // at start-up it would bring its TLS, Kerberos and service discovery libraries into every
    // start. Runs first, before any printer of this process loads it.
    void printSystemLibraryLoadsOnlyWhenAsked()
    {
        const auto mapped = [] {
            QFile maps(QStringLiteral("/proc/self/maps"));
            return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libcups.so");
        };
        Start("[Symbology]\nChecked=Bar Code C39\n");
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        QVERIFY(!mapped());
        QCOMPARE(platform::QueueDefaultDots(QStringLiteral("RuvolaNoSuchQueue")), 0);
        QVERIFY(mapped());
    }

    void startWithoutSettingsFile()
    {
        Start();
        for (double value : {main->ftop, main->fdown, main->fleft, main->fright, main->fiwidth}) QCOMPARE(value, 0.0);
        QVERIFY(!main->barform);
        QVERIFY(!main->checkeditem);
        QVERIFY(CheckedSymbologies(*main).isEmpty());
        QVERIFY(main->Panel4->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty());
        for (int panel = 0; panel < 3; ++panel) QCOMPARE(main->StatusText(panel), QString());
        QVERIFY(!QFile::exists(dir->Path(kSettings)));
    }

    void pageValuesAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("german");
        QTest::addColumn<QList<double>>("values");
        QTest::newRow("all five")
            << QByteArray("[pagesetting]\nftop=10\nfdown=10\nfleft=20\nfright=20\nfiwidth=5\n") << false
            << QList<double>{10, 10, 20, 20, 5};
        QTest::newRow("ftop letters")
            << QByteArray("[pagesetting]\nftop=abc\nfdown=1.5\nfleft=2\nfright=3\nfiwidth=4\n") << false
            << QList<double>{0, 1.5, 2, 3, 4};
        QTest::newRow("ftop empty")
            << QByteArray("[pagesetting]\nftop=\nfdown=1.5\nfleft=2\nfright=3\nfiwidth=4\n") << false
            << QList<double>{0, 1.5, 2, 3, 4};
        QTest::newRow("upper-case section and keys")
            << QByteArray("[PAGESETTING]\r\nFTOP=7\r\nFDOWN=8\r\nfLeft=9\r\n") << false << QList<double>{7, 8, 9, 0, 0};
        QTest::newRow("negative and exponent")
            << QByteArray("[pagesetting]\nftop=-3\nfiwidth=1E3\n") << false << QList<double>{-3, 0, 0, 0, 1000};
        QTest::newRow("point locale: the point is read, the comma is not")
            << QByteArray("[pagesetting]\nftop=12,5\nfdown=12.5\n") << false << QList<double>{0, 12.5, 0, 0, 0};
        QTest::newRow("comma locale: the comma is read, the point is not")
            << QByteArray("[pagesetting]\nftop=12,5\nfdown=12.5\n") << true << QList<double>{12.5, 0, 0, 0, 0};
        QTest::newRow("keys of another section")
            << QByteArray("[Symbology]\nftop=5\n[pagesetting]\nfdown=6\n") << false << QList<double>{0, 6, 0, 0, 0};
    }
    void pageValuesAtStartUp()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, german);
        QFETCH(QList<double>, values);
        if (german) QLocale::setDefault(QLocale(QLocale::German));
        Start(file);
        QCOMPARE((QList<double>{main->ftop, main->fdown, main->fleft, main->fright, main->fiwidth}), values);
    }

    void symbologyAtStartUp_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("c39");
        QTest::newRow("C39") << QByteArray("[Symbology]\nChecked=Bar Code C39\n") << true;
        QTest::newRow("section and key in other case") << QByteArray("[SYMBOLOGY]\nCHECKED=Bar Code C39\n") << true;
        QTest::newRow("blanks around the name") << QByteArray("[Symbology]\nChecked=  Bar Code C39 \n") << true;
        QTest::newRow("name in lower case") << QByteArray("[Symbology]\nChecked=bar code c39\n") << false;
        QTest::newRow("EAN spelled with EAN") << QByteArray("[Symbology]\nChecked=Bar Code EAN13\n") << false;
        QTest::newRow("empty name") << QByteArray("[Symbology]\nChecked=\n") << false;
        QTest::newRow("name without section") << QByteArray("Checked=Bar Code C39\n") << false;
    }
    void symbologyAtStartUp()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, c39);
        Start(file);
        QCOMPARE(qobject_cast<Tc39fm*>(main->barform) != nullptr, c39);
        QCOMPARE(main->barform != nullptr, c39);
        QCOMPARE(main->checkeditem, c39 ? main->C391 : nullptr);
        QCOMPARE(CheckedSymbologies(*main).size(), c39 ? 1 : 0);
        QCOMPARE(main->StatusText(1), c39 ? QString("Bar Code C39") : QString());
    }

    // ---- the symbology switch --------------------------------------------------------

    void pickingC39ShowsItsEditorAndCreatesTheFile()
    {
        Start();
        QVERIFY(RunClosingModals([this] { main->C391->trigger(); }).isEmpty());
        QCOMPARE(NonEmptyLines(dir->Read(kSettings)), (QStringList{"[Symbology]", "Checked=Bar Code C39"}));
        auto* editor = qobject_cast<Tc39fm*>(main->barform);
        QVERIFY(editor);
        QCOMPARE(main->checkeditem, main->C391);
        QCOMPARE(CheckedSymbologies(*main), QList<QAction*>{main->C391});
        QCOMPARE(main->StatusText(0), QString());
        QCOMPARE(main->StatusText(1), QString("Bar Code C39"));
        QCOMPARE(main->StatusText(2), QString());
        QCOMPARE(editor->parentWidget(), main->Panel4);
        QCOMPARE(editor->pos(), QPoint(1, 1));
        QVERIFY(editor->isVisibleTo(main.get()));
        QCOMPARE(main->Panel4->findChildren<QWidget*>(Qt::FindDirectChildrenOnly), QList<QWidget*>{editor});
    }

    void symbologyItemsStoreTheirNames_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<QSize>("size");
        QTest::newRow("C39") << "C391" << "Bar Code C39" << "Tc39fm" << QSize(688, 461);
        QTest::newRow("EAN-13") << "ENA13" << "Bar Code ENA13" << "Tena13fm" << QSize(688, 446);
        QTest::newRow("EAN-8") << "EAN81" << "Bar Code ENA8" << "Tfmean8" << QSize(687, 452);
        QTest::newRow("UPC-A") << "upca1" << "Bar Code UPC-A" << "Tfmupc_a" << QSize(688, 445);
        QTest::newRow("UPC-E") << "UPCE1" << "Bar Code UPC-E" << "Tfmupce" << QSize(690, 446);
        QTest::newRow("Code 128") << "Code1281" << "Bar Code 128" << "TLinearEditor" << QSize(688, 445);
        QTest::newRow("GS1-128") << "GS11281" << "Bar Code GS1-128" << "TLinearEditor" << QSize(688, 445);
        QTest::newRow("ITF-14") << "ITF141" << "Bar Code ITF-14" << "TLinearEditor" << QSize(688, 445);
    }
    // Each pick stores its name, shows its editor, and the next start shows it again.
    void symbologyItemsStoreTheirNames()
    {
        QFETCH(QString, item);
        QFETCH(QString, name);
        QFETCH(QString, editor);
        QFETCH(QSize, size);
        Start();
        auto* action = main->findChild<QAction*>(item);
        QVERIFY(action);
        RunClosingModals([action] { action->trigger(); });
        QCOMPARE(StoredSymbology(), name);
        for (int start = 0; start < 2; ++start) {
            QVERIFY(main->barform);
            QCOMPARE(QString(main->barform->metaObject()->className()), editor);
            QCOMPARE(main->barform->size(), size);
            QCOMPARE(main->checkeditem, main->findChild<QAction*>(item));
            QCOMPARE(main->StatusText(1), name);
            main.reset();
            main = MakeMainWindow();
        }
    }

    // The Code 128 family's editors as they open, and what typing leaves in the message
    // box: Code 128 and GS1-128 keep any ASCII character, ITF-14 digits alone. Delete and
    // Esc come with their control characters, as X11 delivers them.
    void linearEditorsOpenWithTheirNumbers_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("widthCaption");
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("ratio");  // empty: no ratio or bearer lists
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("Code 128") << "Code1281" << "Module Width (mils)" << "1.0" << "13" << "" << "aZ 1-#~" << "Z 1-#~";
        QTest::newRow("GS1-128") << "GS11281" << "Module Width (mils)" << "1.3" << "20" << "" << "(10)ab" << "10)ab";
        QTest::newRow("ITF-14") << "ITF141" << "Narrow Bar Width (mils)" << "1.3" << "20" << "2.50" << "1a2.3-4" << "234";
    }
    void linearEditorsOpenWithTheirNumbers()
    {
        QFETCH(QString, item);
        QFETCH(QString, widthCaption);
        QFETCH(QString, height);
        QFETCH(QString, width);
        QFETCH(QString, ratio);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        Start();
        RunClosingModals([&] { main->findChild<QAction*>(item)->trigger(); });
        auto* editor = qobject_cast<TLinearEditor*>(main->barform);
        QVERIFY(editor);
        QCOMPARE(editor->Label2->text(), widthCaption);
        QCOMPARE(editor->Label2->buddy(), editor->barwidth);
        QCOMPARE(editor->fheightedt->text(), height);
        QCOMPARE(editor->barwidth->text(), width);
        QCOMPARE(editor->ratiocbox != nullptr, !ratio.isEmpty());
        QCOMPARE(editor->bearercbox != nullptr, !ratio.isEmpty());
        if (editor->ratiocbox) {
            QCOMPARE(editor->ratiocbox->currentText(), ratio);
            QCOMPARE(editor->bearercbox->currentText(), QString("Frame"));
        }
        editor->show();
        editor->barcodeedt->setFocus();
        QTest::keyClicks(editor->barcodeedt, typed);
        editor->barcodeedt->home(false);
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
        QApplication::sendEvent(editor->barcodeedt, &del);
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QApplication::sendEvent(editor->barcodeedt, &esc);
        QCOMPARE(editor->barcodeedt->text(), kept);
    }

    // Every symbology, one after another in one main window: picked from the menu,
    // recorded, built, copied, read back exactly, turned, restored and handed to print.
    void everySymbologyRoundTrip()
    {
        Start();
        const struct {
            QAction* item;
            QString name;
            QString message;
            QString decoded;
            Symbology family;
        } rows[] = {
            {main->C391, "Bar Code C39", "RUVOLA-42", "RUVOLA-42", Symbology::Code39},
            {main->ENA13, "Bar Code ENA13", "590123412345", "5901234123457", Symbology::EanUpc},
            {main->upca1, "Bar Code UPC-A", "03600029145", "036000291452", Symbology::EanUpc},
            {main->EAN81, "Bar Code ENA8", "9638507", "96385074", Symbology::EanUpc},
            {main->UPCE1, "Bar Code UPC-E", "123456", "01234565", Symbology::EanUpc},
            // Lower case, space and punctuation as typed; ]C0 is plain Code 128.
            {main->Code1281, "Bar Code 128", "Ruvola 42-abc", "]C0Ruvola 42-abc", Symbology::Code128},
            // The brackets are not data; the variable-length lot ends with a separator
            // (ASCII 29) where a field follows it.
            {main->GS11281, "Bar Code GS1-128", "(01)09501101530003(10)AB-123(17)250101",
             "]C1010950110153000310AB-123\x1d" "17250101", Symbology::Code128},
            // 13 digits of the UPC-A 012345678905 get its check digit 5.
            {main->ITF141, "Bar Code ITF-14", "0001234567890", "00012345678905", Symbology::Itf},
        };
        main->fleft = main->fright = 300;  // quiet zones for every symbology
        main->ftop = main->fdown = main->fiwidth = 50;
        for (const auto& row : rows) {
            QVERIFY(RunClosingModals([&] { row.item->trigger(); }).isEmpty());
            QCOMPARE(StoredSymbology(), row.name);
            QCOMPARE(main->StatusText(1), row.name);
            auto* editor = qobject_cast<TBarEditor*>(main->barform);
            QVERIFY(editor);
            editor->barcodeedt->setText(row.message);
            QVERIFY(RunClosingModals([&] { editor->Button1Click(); }).isEmpty());
            const QImage built = Rgb32(editor->Image1->picture);
            QCOMPARE(ClipboardImage(), built);
            QCOMPARE(DecodeSymbols(built, row.family), QStringList{row.decoded});
            editor->ToolButton5Click();
            QCOMPARE(editor->Image1->size(), built.size().transposed());
            const QImage turned = Rgb32(editor->Image1->picture);
            QCOMPARE(RunClosingModals([&] { editor->Button4Click(); }).value(0).className, QString("Tpringfm"));
            QCOMPARE(Rgb32(PrintBitmap), turned);
            editor->ToolButton3Click();
            QCOMPARE(Rgb32(editor->Image1->picture), built);
        }
    }

    void switchingFromC39ToUpcE()
    {
        Start("[Symbology]\nChecked=Bar Code C39\n");
        QPointer<QWidget> old = main->barform;
        QVERIFY(old);
        QVERIFY(RunClosingModals([this] { main->UPCE1->trigger(); }).isEmpty());
        QCOMPARE(StoredSymbology(), QString("Bar Code UPC-E"));
        QVERIFY(old.isNull());
        QVERIFY(!main->C391->isChecked());
        QCOMPARE(QString(main->barform->metaObject()->className()), QString("Tfmupce"));
        QCOMPARE(main->checkeditem, main->UPCE1);
        QCOMPARE(CheckedSymbologies(*main), QList<QAction*>{main->UPCE1});
        QCOMPARE(main->StatusText(1), QString("Bar Code UPC-E"));
        QCOMPARE(main->Panel4->findChildren<QWidget*>(Qt::FindDirectChildrenOnly), QList<QWidget*>{main->barform});
    }

    void repickingC39GivesAFreshEditor()
    {
        Start("[Symbology]\nChecked=Bar Code C39\n");
        QPointer<Tc39fm> old = qobject_cast<Tc39fm*>(main->barform);
        QVERIFY(old);
        const QString initial = old->barcodeedt->text();
        old->barcodeedt->setText("CHANGED");
        main->C391->trigger();
        QVERIFY(old.isNull());
        auto* fresh = qobject_cast<Tc39fm*>(main->barform);
        QVERIFY(fresh);
        QCOMPARE(fresh->barcodeedt->text(), initial);
        QCOMPARE(CheckedSymbologies(*main), QList<QAction*>{main->C391});
        QCOMPARE(main->Panel4->findChildren<Tc39fm*>().size(), 1);
    }

    void unwritableSettingsOnPick_data()
    {
        QTest::addColumn<bool>("missingDirectory");
        QTest::newRow("directory missing") << true;
        QTest::newRow("settings file is a directory") << false;
    }
    void unwritableSettingsOnPick()
    {
        QFETCH(bool, missingDirectory);
        if (missingDirectory)
            platform::SetExeDirectoryOverride(dir->Path("missing"));
        else
            QVERIFY(QDir(dir->Path(QString())).mkdir(kSettings));
        Start();
        const auto seen = RunClosingModals([this] { main->C391->trigger(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, platform::SettingsNotWritten());
        QVERIFY(!main->barform);
        QVERIFY(CheckedSymbologies(*main).isEmpty());
        QVERIFY(!QDir(dir->Path("missing")).exists());
    }

    void unwritableSettingsKeepTheSymbologyTheFileNames()
    {
        dir->Write(kSettings, "[Symbology]\nChecked=Bar Code C39\n");
        Start();
        platform::IniFile::RefuseWrites(true);
        const auto seen = RunClosingModals([this] { main->UPCE1->trigger(); });
        platform::IniFile::RefuseWrites(false);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, platform::SettingsNotWritten());
        QVERIFY(qobject_cast<Tc39fm*>(main->barform));
        QCOMPARE(CheckedSymbologies(*main), QList<QAction*>{main->C391});
        QCOMPARE(dir->Read(kSettings), QByteArray("[Symbology]\nChecked=Bar Code C39\n"));
    }

    void printerIsAtItsOwnResolution()
    {
        // offsets are placed in printer pixels, not rounded to the screen's
        Start();
        QVERIFY(main->Printer()->logicalDpiX() > 96);
        QCOMPARE(main->Printer()->logicalDpiX(), main->Printer()->resolution());
    }

    // ---- menus and caption ----------------------------------------------------------

    void menuTree()
    {
        Start();
        const QList<QAction*> bar = main->MainMenu1->actions();
        QCOMPARE(Captions(bar), (QStringList{"Settings", "Symbology", "Help", "Exit"}));
        QCOMPARE(bar[0]->menu(), main->File1);
        QCOMPARE(bar[1]->menu(), main->Symbology1);
        QCOMPARE(bar[2]->menu(), main->Help1);
        QCOMPARE(bar[3], main->Exit2);
        QVERIFY(!main->Exit2->menu());
        QCOMPARE(Captions(main->File1->actions()),
                 (QStringList{"Printer setting", "Page setting", "Font setting", "Color setting", "Scan check",
                              "Sharp printing"}));
        QCOMPARE(Captions(main->Symbology1->actions()), (QStringList{"C39", "EAN-13", "EAN-8", "UPC-A", "UPC-E", "Code 128", "GS1-128", "ITF-14"}));
        QCOMPARE(Captions(main->Help1->actions()), (QStringList{"About", "Help"}));
        for (QAction* item : main->Symbology1->actions()) QVERIFY(item->isCheckable());
    }

    void captionIsRestoredOnPaint()
    {
        Start();
        QCOMPARE(main->windowTitle(), QString("Ruvola BarCode Generator "));
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        main->setWindowTitle("something else");
        main->repaint();
        QCOMPARE(main->windowTitle(), QString("Ruvola BarCode Generator "));
    }

    void menuOpensTheDialogs_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("title");
        QTest::newRow("Page setting") << "PageSetting1" << "Tpagesettingfm" << "Page Setting";
        QTest::newRow("About") << "About1" << "Taboutform" << "About";
    }
    void menuOpensTheDialogs()
    {
        QFETCH(QString, item);
        QFETCH(QString, className);
        QFETCH(QString, title);
        Start();
        auto* action = main->findChild<QAction*>(item);
        QVERIFY(action);
        const auto seen = RunClosingModals([action] { action->trigger(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].className, className);
        QCOMPARE(seen[0].title, title);
    }

    void printerSettingWithoutPrinters()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        Start();
        const auto seen = RunClosingModals([this] { main->Save1->trigger(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, QString("No find Printer!"));
    }

    // ---- page setting dialog ----------------------------------------------------------

    void pageDialogShowsTheValuesInUse_data()
    {
        QTest::addColumn<bool>("german");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("point") << false << QStringList{"25", "12.5", "0", "0", "0.001"};
        QTest::newRow("comma") << true << QStringList{"25", "12,5", "0", "0", "0,001"};
    }
    void pageDialogShowsTheValuesInUse()
    {
        QFETCH(bool, german);
        QFETCH(QStringList, texts);
        if (german) QLocale::setDefault(QLocale(QLocale::German));
        Start();
        main->ftop = 25;
        main->fdown = 12.5;
        main->fiwidth = 0.001;
        Tpagesettingfm dialog(main->Pages(), main.get());
        QCOMPARE((QStringList{dialog.topedt->text(), dialog.downedt->text(), dialog.leftedt->text(),
                              dialog.rightedt->text(), dialog.iwidthedt->text()}),
                 texts);
    }

    void pageDialogSaveWritesAllFiveAndCloses()
    {
        Start("[Symbology]\nChecked=Bar Code C39\n");
        main->fleft = 99;
        // through the menu, whose opener puts the saved values in use
        QString left;
        const auto seen = RunClosingModals([&] { main->PageSetting1->trigger(); }, [&](QWidget* modal) {
            auto* dialog = qobject_cast<Tpagesettingfm*>(modal);
            if (!dialog) return;
            left = dialog->leftedt->text();
            dialog->topedt->setText("10");
            dialog->downedt->setText("10.5");
            dialog->leftedt->clear();
            dialog->rightedt->setText("-2");  // pasted: no range check
            dialog->iwidthedt->setText("5");
            dialog->BitBtn1->click();
        });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(left, QString("99"));
        QCOMPARE((QList<double>{main->ftop, main->fdown, main->fleft, main->fright, main->fiwidth}),
                 (QList<double>{10, 10.5, 0, -2, 5}));
        QCOMPARE(NonEmptyLines(dir->Read(kSettings)),
                 (QStringList{"[Symbology]", "Checked=Bar Code C39", "[pagesetting]", "ftop=10", "fdown=10.5",
                              "fleft=0", "fright=-2", "fiwidth=5"}));
    }

    void pageDialogSaveWritesTheLocaleSeparator()
    {
        QLocale::setDefault(QLocale(QLocale::German));
        Start();
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.topedt->setText("12,5");
        QVERIFY(RunClosingModals([&] { dialog.BitBtn1Click(); }).isEmpty());
        QCOMPARE(dialog.Values().ftop, 12.5);
        QCOMPARE(platform::IniFile(platform::SettingsPath()).ReadString("pagesetting", "ftop"), QString("12,5"));
    }

    void pageDialogSaveRejectsBadText_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::newRow("lone point") << "topedt" << ".";
        QTest::newRow("two points") << "topedt" << "1.2.3";
        QTest::newRow("comma with point locale") << "downedt" << "12,5";
        QTest::newRow("pasted letters in the last box") << "iwidthedt" << "abc";
    }
    void pageDialogSaveRejectsBadText()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        const QByteArray before = "[pagesetting]\nftop=1\nfdown=2\nfleft=3\nfright=4\nfiwidth=5\n";
        Start(before);
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.show();
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) edit->setText("7");
        dialog.findChild<QLineEdit*>(box)->setText(text);
        const auto seen = RunClosingModals([&] { dialog.BitBtn1->click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Ruvola BarCode Genertor"));
        QCOMPARE(seen[0].text, QString("'%1' is not a valid floating point value").arg(text));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.findChild<QLineEdit*>(box)->text(), text);
        QCOMPARE(dir->Read(kSettings), before);
        const PageValues kept = dialog.Values();
        QCOMPARE((QList<double>{kept.ftop, kept.fdown, kept.fleft, kept.fright, kept.fiwidth}),
                 (QList<double>{1, 2, 3, 4, 5}));
    }

    void pageDialogSaveWithUnwritableFile()
    {
        platform::SetExeDirectoryOverride(dir->Path("missing"));
        Start();
        main->ftop = 3;
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.show();
        dialog.topedt->setText("40");
        const auto seen = RunClosingModals([&] { dialog.BitBtn1->click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, platform::SettingsNotWritten());
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.Values().ftop, 3.0);
    }

    void pageDialogCloseWritesNothing()
    {
        Start();
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.show();
        dialog.topedt->setText("40");
        dialog.BitBtn2->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(dir->Path(kSettings)));
    }

    void pageDialogKeys()
    {
        Start();
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.show();
        for (QLineEdit* edit : {dialog.topedt, dialog.downedt, dialog.leftedt, dialog.rightedt, dialog.iwidthedt}) {
            edit->clear();
            QTest::keyClicks(edit, "1a,- 2.5");
            QCOMPARE(edit->text(), QString("12.5"));
        }
        dialog.topedt->setFocus();
        QTest::keyClick(dialog.topedt, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), dialog.downedt);
        dialog.iwidthedt->setFocus();
        QTest::keyClick(dialog.iwidthedt, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), dialog.BitBtn1);
        // Enter only moves the focus; it does not save
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(dir->Path(kSettings)));
        QCOMPARE(dialog.BitBtn1->text(), QString("Save "));
    }

    // ---- print option dialog and printing ---------------------------------------------

    void printDestination_data()
    {
        QTest::addColumn<QSize>("bitmap");
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("printer");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("origin") << QSize(300, 120) << 96 << 600 << 0.0 << 0.0 << QRect(0, 0, 1875, 750);
        QTest::newRow("offset") << QSize(300, 120) << 96 << 600 << 1000.0 << 500.0 << QRect(600, 300, 1875, 750);
        // exact binary fractions: left 2.5, top 3.5, right 4.5 and bottom 5.5 go to the even neighbour
        QTest::newRow("halves to even")
            << QSize(4, 4) << 128 << 64 << 39.0625 << 54.6875 << QRect(QPoint(2, 4), QPoint(3, 5));
        QTest::newRow("same resolution") << QSize(40, 30) << 96 << 96 << 0.0 << 0.0 << QRect(0, 0, 40, 30);
    }
    void printDestination()
    {
        QFETCH(QSize, bitmap);
        QFETCH(int, screen);
        QFETCH(int, printer);
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QRect, expected);
        QCOMPARE(PrintDestination(bitmap.width(), bitmap.height(), screen, printer, x, y), expected);
    }

    void printsToPdfWhereTheDestinationSays_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("both empty") << "" << "" << QRect(0, 0, 1875, 750);
        QTest::newRow("X 1000, Y 500") << "1000" << "500" << QRect(600, 300, 1875, 750);
        QTest::newRow("lone point in Y") << "1000" << "." << QRect(0, 0, 1875, 750);
    }
    void printsToPdfWhereTheDestinationSays()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QRect, expected);
        Start();
        const QString pdf = PrintToPdf("page.pdf");
        Tpringfm dialog(main->PrintInputsFor(BarPattern(300, 120), nullptr), main.get());
        dialog.show();
        QTest::keyClicks(dialog.xedt, x);
        QTest::keyClicks(dialog.yedt, y);
        QVERIFY(RunClosingModals([&] { dialog.Button1->click(); }).isEmpty());
        QVERIFY(dialog.isVisible());

        QCOMPARE(PdfPages(pdf), 1);
        QVERIFY(!dir->Read("page.pdf").contains("/DCTDecode"));
        const RenderedPage page = Render(pdf, dir->Path("page"));
        QVERIFY(!page.image.isNull());
        QCOMPARE(page.greys, 0);
        QVERIFY2(WithinOnePixel(page.black, expected), qPrintable(Describe(page.black)));
        // the first bar is 4 screen pixels = 25 printer pixels, then the light gap
        const int middle = expected.top() + expected.height() / 2;
        QCOMPARE(qGray(page.image.pixel(expected.left() + 12, middle)), 0);
        QCOMPARE(qGray(page.image.pixel(expected.left() + 31, middle)), 255);
    }

    void eachPressPrintsOnePage()
    {
        Start();
        const QString pdf = PrintToPdf("first.pdf");
        Tpringfm dialog(main->PrintInputsFor(BarPattern(30, 12), nullptr), main.get());
        QVERIFY(RunClosingModals([&] { dialog.Button1Click(); }).isEmpty());
        main->Printer()->setOutputFileName(dir->Path("second.pdf"));
        QVERIFY(RunClosingModals([&] { dialog.Button1Click(); }).isEmpty());
        QCOMPARE(PdfPages(pdf), 1);
        QCOMPARE(PdfPages(dir->Path("second.pdf")), 1);
    }

    void printWithoutPrinter()
    {
        Start();
        main->printer = std::make_unique<QPrinter>();
        main->Printer()->setOutputFormat(QPrinter::PdfFormat);
        Tpringfm dialog(main->PrintInputsFor(BarPattern(30, 12), nullptr), main.get());
        dialog.show();
        const auto seen = RunClosingModals([&] { dialog.Button1->click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, QString("Printer is Error"));
        QVERIFY(dialog.isVisible());
    }

    void printJobThatCannotStartIsReported()
    {
        Start();
        PrintToPdf("missing/page.pdf");
        Tpringfm dialog(main->PrintInputsFor(BarPattern(30, 12), nullptr), main.get());
        dialog.show();
        const auto seen = RunClosingModals([&] { dialog.Button1->click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        const QRegularExpression withErrorCode(R"(^Printer is Error  \d+$)");
        QVERIFY2(withErrorCode.match(seen[0].text).hasMatch(), qPrintable(seen[0].text));
        QVERIFY(dialog.isVisible());
    }

    // ---- screen readers ------------------------------------------------------------

    // Every control that takes the focus, in the main window with each editor and in the
    // dialogs, has a name a screen reader speaks, and not its name in the code; after a
    // build the preview tells the number, the add-on and what the scanner made of it.
    void everyControlHasAName()
    {
        Start();
        // A tool bar lays out, and so shows, its buttons only once its window is shown.
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        const auto nameless = [](QWidget* window) {
            QStringList found;
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window)) continue;
                QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
                const QString name = face ? face->text(QAccessible::Name).trimmed() : QString();
                if (name.isEmpty() || name == w->objectName())
                    found << w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
            }
            return found;
        };
        for (QAction* item : main->Symbology1->actions()) {
            QVERIFY(RunClosingModals([&] { item->trigger(); }).isEmpty());
            QCOMPARE(nameless(main.get()).join(", "), QString());
        }
        Tpagesettingfm page(main->Pages(), main.get());
        QCOMPARE(nameless(&page).join(", "), QString());
        Tpringfm print(main->PrintInputsFor({}, nullptr), main.get());
        QCOMPARE(nameless(&print).join(", "), QString());
        Taboutform about(main.get());
        QCOMPARE(nameless(&about).join(", "), QString());

        QVERIFY(RunClosingModals([&] { main->ENA13->trigger(); }).isEmpty());
        auto* editor = qobject_cast<TBarEditor*>(main->barform);
        editor->barcodeedt->setText("590123412345");
        editor->findChild<QLineEdit*>("Edit1")->setText("12");
        QVERIFY(RunClosingModals([&] { editor->Button1Click(); }).isEmpty());
        QAccessibleInterface* preview = QAccessible::queryAccessibleInterface(editor->Image1);
        QCOMPARE(preview->text(QAccessible::Name), QString("Preview"));
        QCOMPARE(preview->text(QAccessible::Description), QString("EAN-13 5901234123457, add-on 12, scans"));
        QCOMPARE(QAccessible::queryAccessibleInterface(editor->barcodeedt)->text(QAccessible::Name),
                 editor->Label6->text());
    }

    // ---- sharp printing ------------------------------------------------------------

    // A symbol printed with Sharp printing on lands at the stated offset in the
    // printer's own dots, exactly as drawn again at that resolution: every bar and space
    // a whole number of modules of one whole number of dots, still read by a decoder.
    void sharpPrintPutsEveryModuleOnWholeDots_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("width");
        QTest::addColumn<bool>("turned");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QString>("read");
        const int c39 = 0, ean13 = 1, upca = 2, ean8 = 3, upce = 4, code128 = 5, gs1 = 6, itf14 = 7;
        QTest::newRow("Code 39 10 mils 203") << c39 << "RUVOLA-39" << "" << "" << "10" << false << 203 << "RUVOLA-39";
        QTest::newRow("Code 39 10 mils 300 comment") << c39 << "AB-12" << "" << "Lot 7" << "10" << false << 300 << "AB-12";
        QTest::newRow("Code 39 10 mils 600 turned") << c39 << "AB-12" << "" << "" << "10" << true << 600 << "AB-12";
        QTest::newRow("EAN-13 1 inch 203") << ean13 << "590123412345" << "" << "" << "1" << false << 203
                                           << "5901234123457";
        QTest::newRow("EAN-13 1 inch 300 add-on comment") << ean13 << "590123412345" << "12" << "Lot 7" << "1" << false
                                                          << 300 << "5901234123457 12";
        QTest::newRow("EAN-13 2 inches 600 turned") << ean13 << "590123412345" << "" << "" << "2" << true << 600
                                                    << "5901234123457";
        QTest::newRow("UPC-A 21 mils 203 add-on") << upca << "03600029145" << "12345" << "" << "21" << false << 203
                                                  << "036000291452 12345";
        QTest::newRow("UPC-A 11 mils 300 turned") << upca << "03600029145" << "" << "" << "11" << true << 300
                                                  << "036000291452";
        QTest::newRow("UPC-A 11 mils 600 comment") << upca << "03600029145" << "" << "Lot 7" << "11" << false << 600
                                                   << "036000291452";
        QTest::newRow("EAN-8 11 mils 203") << ean8 << "9638507" << "" << "" << "11" << false << 203 << "96385074";
        QTest::newRow("EAN-8 21 mils 300 add-on") << ean8 << "9638507" << "12" << "" << "21" << false << 300
                                                  << "96385074 12";
        QTest::newRow("EAN-8 11 mils 600") << ean8 << "9638507" << "" << "" << "11" << false << 600 << "96385074";
        QTest::newRow("UPC-E 11 mils 203 turned") << upce << "123456" << "" << "" << "11" << true << 203 << "01234565";
        QTest::newRow("UPC-E 11 mils 300") << upce << "123456" << "" << "" << "11" << false << 300 << "01234565";
        QTest::newRow("UPC-E 21 mils 600 add-on comment") << upce << "123456" << "12" << "Lot 7" << "21" << false << 600
                                                          << "01234565 12";
        QTest::newRow("Code 128 13 mils 203 comment") << code128 << "Ruvola 42-abc" << "" << "Lot 7" << "13" << false << 203
                                                      << "]C0Ruvola 42-abc";
        QTest::newRow("GS1-128 20 mils 300 turned") << gs1 << "(10)AB1" << "" << "" << "20" << true << 300 << "]C110AB1";
        QTest::newRow("ITF-14 20 mils 600") << itf14 << "0001234567890" << "" << "" << "20" << false << 600
                                            << "00012345678905";
    }
    void sharpPrintPutsEveryModuleOnWholeDots()
    {
        QFETCH(int, symbology);
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        QFETCH(QString, comment);
        QFETCH(QString, width);
        QFETCH(bool, turned);
        QFETCH(int, dpi);
        QFETCH(QString, read);
        Start();
        main->fleft = main->fright = 300;
        main->ftop = main->fdown = main->fiwidth = 50;
        void (Tmainfm::*const picks[])() = {&Tmainfm::C391Click,    &Tmainfm::ENA13Click,   &Tmainfm::upca1Click,
                                            &Tmainfm::EAN81Click,   &Tmainfm::UPCE1Click,   &Tmainfm::Code1281Click,
                                            &Tmainfm::GS11281Click, &Tmainfm::ITF141Click};
        QVERIFY(RunClosingModals([&] { (main.get()->*picks[symbology])(); }).isEmpty());
        auto* editor = qobject_cast<TBarEditor*>(main->barform);
        QVERIFY(editor);
        editor->barcodeedt->setText(message);
        editor->heardtextedt->setText(comment);
        if (auto* box = editor->findChild<QLineEdit*>(symbology == 1 ? "Edit1" : "Supplementaltxt")) box->setText(addOn);
        if (auto* combo = editor->findChild<QComboBox*>("ComboBox1"))
            combo->setCurrentText(width);
        else
            editor->findChild<QLineEdit*>(symbology == 0 ? "fnarwidthedt" : "barwidth")->setText(width);
        QVERIFY(RunClosingModals([&] { editor->Button1Click(); }).isEmpty());
        if (turned) editor->ToolButton5Click();

        const QString pdf = PrintToPdf("sharp.pdf");
        main->Printer()->setResolution(dpi);
        main->Printer()->setPageSize(QPageSize(QSizeF(4.5, 4), QPageSize::Inch));
        main->SharpPrinting1->setChecked(true);
        QVERIFY(editor->LastShown().has_value());
        const symbols::SharpPicture sharp = symbols::DrawSharp(*editor->LastShown(), dpi);
        QVERIFY2(!sharp.picture.isNull(), qPrintable(sharp.error));
        // The nearest whole dots to the chosen width; EAN-13 divides the symbol's width.
        const double chosen = width.toDouble();
        const int module = symbology == 1 ? engines::RoundToInt(chosen * dpi) / 95 : engines::RoundToInt(chosen * dpi / 1000);
        QCOMPARE(sharp.module, module);
        QString figures;
        const auto seen = RunClosingModals([&] { editor->Button4Click(); }, [&](QWidget* modal) {
            auto* dialog = qobject_cast<Tpringfm*>(modal);
            if (!dialog) return;
            figures = dialog->Figures->text();
            dialog->xedt->setText("250");
            dialog->yedt->setText("125");
            dialog->Button1Click();
        });
        QCOMPARE(seen.size(), 1);
        QVERIFY2(figures.startsWith(QStringLiteral("%1 dpi: Sharp printing gives %2 dots").arg(dpi).arg(module)),
                 qPrintable(figures));

        QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-gray", "-aa", "no", "-aaVector", "no", "-png",
                                       "-singlefile", pdf, dir->Path("sharp")});
        const QImage page = QImage(dir->Path("sharp.png")).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(!page.isNull());
        // At the offset, dot for dot what was drawn.
        const QPoint corner(engines::RoundToInt(0.25 * dpi), engines::RoundToInt(0.125 * dpi));
        const QImage printed = page.copy(QRect(corner, sharp.picture.size()));
        const QImage drawn = sharp.picture.convertToFormat(QImage::Format_Grayscale8);
        int differing = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                differing += (printed.constScanLine(y)[x] < 128) != (drawn.constScanLine(y)[x] < 128);
        QCOMPARE(differing, 0);

        const QImage upright = turned ? printed.transformed(QTransform().rotate(-90)) : printed;
        const QList<int> runs = PixelRuns(upright, upright.height() * 2 / 5);
        QVERIFY(runs.size() > 20);
        if (symbology == 0) {
            // narrow and wide elements only, each a whole number of dots
            const QSet<int> widths(runs.begin(), runs.end());
            QCOMPARE(widths.size(), 2);
            QCOMPARE(*std::min_element(runs.begin(), runs.end()), module);
        } else if (symbology == 7) {
            // inside the frame's sides (twice the narrow bar) the quiet zones of ten narrow
            // elements; then narrow elements and wide ones of one width, 2.25 to 3 narrow
            QSet<int> widths(runs.begin(), runs.end());
            for (const int other : {module, 2 * module, 10 * module}) QVERIFY(widths.remove(other));
            QCOMPARE(widths.size(), 1);
            const int wide = *widths.begin();
            QVERIFY2(4 * wide >= 9 * module && wide <= 3 * module, qPrintable(QString::number(wide)));
        } else {
            // the light gap before an add-on, which follows the main symbol's runs, has a
            // width of its own
            const int mainRuns[] = {0, 59, 59, 43, 33};
            const int gap = addOn.isEmpty() ? -1 : mainRuns[symbology];
            for (int i = 0; i < runs.size(); ++i)
                QVERIFY2(i == gap || runs[i] % module == 0, qPrintable(QStringLiteral("a run of %1 dots").arg(runs[i])));
        }
        QImage quiet(upright.size() + QSize(dpi / 2, dpi / 2), QImage::Format_Grayscale8);
        quiet.fill(255);
        QPainter(&quiet).drawImage(dpi / 4, dpi / 4, upright);
        const Symbology kinds[] = {Symbology::Code39, Symbology::EanUpc, Symbology::EanUpc, Symbology::EanUpc,
                                   Symbology::EanUpc, Symbology::Code128, Symbology::Code128, Symbology::Itf};
        const Symbology kind = addOn.isEmpty() ? kinds[symbology] : Symbology::EanUpcWithAddOn;
        QCOMPARE(DecodeSymbols(quiet, kind), QStringList{read});
    }

    // The dialog's line on what the printer gets, for the UPC-A editor's default width of
    // 21 mils, a module of 2 pixels on the screen.
    void printFiguresSayWhatThePrinterGets_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("sharp");
        QTest::addColumn<bool>("built");
        QTest::addColumn<QString>("line");
        QTest::newRow("203 stretched") << 203 << false << true
                                       << "203 dpi: modules of 4 or 5 dots for 4.23; Sharp printing gives 4 dots, 19.7 "
                                          "mils, 95 %";
        QTest::newRow("203 sharp") << 203 << true << true
                                   << "203 dpi: Sharp printing gives 4 dots, 19.7 mils, 95 %; stretched, modules of 4 "
                                      "or 5 dots for 4.23";
        QTest::newRow("192 stretched, whole") << 192 << false << true
                                              << "192 dpi: modules of 4 dots; Sharp printing gives 4 dots, 20.8 mils, "
                                                 "100 %";
        QTest::newRow("no build") << 203 << true << false
                                  << "203 dpi: pixels of 2 or 3 dots for 2.11; Sharp printing has no build to draw again";
        QTest::newRow("no printer") << 0 << true << true << "No printer is installed: there is nothing to print to.";
    }
    void printFiguresSayWhatThePrinterGets()
    {
        QFETCH(int, dpi);
        QFETCH(bool, sharp);
        QFETCH(bool, built);
        QFETCH(QString, line);
        if (dpi == 0 && !QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        Start("[Symbology]\nChecked=Bar Code UPC-A\n");
        auto* editor = qobject_cast<TBarEditor*>(main->barform);
        QVERIFY(editor);
        editor->barcodeedt->setText("03600029145");
        if (built) QVERIFY(RunClosingModals([&] { editor->Button1Click(); }).isEmpty());
        if (dpi > 0) PrintToPdf("figures.pdf");  // else the printer Qt offers where none is installed
        if (dpi > 0) main->Printer()->setResolution(dpi);
        main->SharpPrinting1->setChecked(sharp);
        QString figures;
        RunClosingModals([&] { editor->Button4Click(); }, [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<Tpringfm*>(modal)) figures = dialog->Figures->text();
        });
        QCOMPARE(figures, line);
    }

    // The choice is kept in a section of its own, and read at the next start.
    void sharpPrintingIsRemembered()
    {
        Start("[Symbology]\r\nChecked=Bar Code UPC-A\r\n; kept\r\n");
        QVERIFY(!main->SharpPrinting1->isChecked());
        QVERIFY(RunClosingModals([&] { main->SharpPrinting1->trigger(); }).isEmpty());
        QCOMPARE(dir->Read(kSettings), QByteArray("[Symbology]\r\nChecked=Bar Code UPC-A\r\n; kept\r\n[Printing]\r\n"
                                                  "Sharp=1\r\n"));
        main.reset();
        main = MakeMainWindow();
        QVERIFY(main->SharpPrinting1->isChecked());
        QVERIFY(RunClosingModals([&] { main->SharpPrinting1->trigger(); }).isEmpty());
        QCOMPARE(platform::IniFile(platform::SettingsPath()).ReadString("Printing", "Sharp"), QString("0"));
    }

    void printDialogKeys()
    {
        Start();
        Tpringfm dialog(main->PrintInputsFor({}, nullptr), main.get());
        dialog.show();
        QTest::keyClicks(dialog.xedt, "1x-2,.5");
        QCOMPARE(dialog.xedt->text(), QString("12.5"));
        dialog.xedt->setFocus();
        QTest::keyClick(dialog.xedt, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), dialog.Button1);
        dialog.yedt->setFocus();
        QTest::keyClick(dialog.yedt, Qt::Key_Return);
        QCOMPARE(dialog.focusWidget(), dialog.xedt);
    }

    // ---- about box and help ----------------------------------------------------------------

    void aboutKeepsThePresetTextWithoutLines_data()
    {
        QTest::addColumn<bool>("emptyFile");
        QTest::newRow("no About.txt") << false;
        QTest::newRow("empty About.txt") << true;
    }
    void aboutKeepsThePresetTextWithoutLines()
    {
        QFETCH(bool, emptyFile);
        const QString preset = Taboutform().Memo1->toPlainText();
        QVERIFY(preset.contains("Ruvola BarCode Generator"));
        if (emptyFile) dir->Write("About.txt", QByteArray());
        Taboutform about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.repaint();
        QCOMPARE(about.Memo1->toPlainText(), preset);
    }

    void aboutShowsTheFileLines_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CRLF and LF mixed") << QByteArray("Ruvola tools\r\nline two\nthird line\r\n")
                                           << QStringList{"Ruvola tools", "line two", "third line"};
        QTest::newRow("CR alone, no final line end") << QByteArray("one\rtwo\r\nthree")
                                                     << QStringList{"one", "two", "three"};
        QTest::newRow("blank line inside") << QByteArray("a\n\nb\n") << QStringList{"a", "", "b"};
    }
    void aboutShowsTheFileLines()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, lines);
        dir->Write("About.txt", file);
        Taboutform about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        about.repaint();
        QCOMPARE(about.Memo1->toPlainText(), lines.join('\n'));
        // painting again refills; it never appends
        about.FormPaint();
        about.repaint();
        QCOMPARE(about.Memo1->toPlainText(), lines.join('\n'));
        QCOMPARE(about.Memo1->document()->blockCount(), lines.size());
    }

    void aboutWithUnreadableFile()
    {
        const QString preset = Taboutform().Memo1->toPlainText();
        QVERIFY(QDir(dir->Path(QString())).mkdir("About.txt"));
        std::unique_ptr<Taboutform> about;
        const auto seen = RunClosingModals([&] { about = std::make_unique<Taboutform>(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Ruvola BarCode Genertor"));
        QVERIFY(seen[0].text.contains("About.txt"));
        about->FormPaint();
        QCOMPARE(about->Memo1->toPlainText(), preset);
    }

    void helpOpensHelpChmFromTheCurrentDirectory_data()
    {
        QTest::addColumn<QString>("fileInCurrent");
        QTest::addColumn<QString>("fileBesideExe");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Help.chm in the current directory") << "Help.chm" << "" << true;
        QTest::newRow("only help.chm in lower case") << "help.chm" << "" << false;
        QTest::newRow("only beside the executable") << "" << "Help.chm" << false;
        QTest::newRow("a directory named Help.chm") << "Help.chm/" << "" << false;
    }
    void helpOpensHelpChmFromTheCurrentDirectory()
    {
        QFETCH(QString, fileInCurrent);
        QFETCH(QString, fileBesideExe);
        QFETCH(bool, opened);
        QTemporaryDir current;
        QVERIFY(QDir::setCurrent(current.path()));
        if (fileInCurrent.endsWith('/'))
            QVERIFY(QDir(current.path()).mkdir(fileInCurrent.chopped(1)));
        else if (!fileInCurrent.isEmpty())
            QVERIFY(QFile(current.filePath(fileInCurrent)).open(QIODevice::WriteOnly));
        if (!fileBesideExe.isEmpty()) dir->Write(fileBesideExe, "chm");
        QStringList requests;
        platform::SetDocumentOpener([&](const QString& path) {
            requests << path;
            return true;
        });
        Start();
        main->Help2->trigger();
        QCOMPARE(requests.size(), opened ? 1 : 0);
        if (opened) {
            QVERIFY(QFileInfo(requests[0]).isAbsolute());
            QCOMPARE(QFileInfo(requests[0]).fileName(), QString("Help.chm"));
            const QString expected = QFileInfo(current.filePath("Help.chm")).canonicalFilePath();
            QCOMPARE(QFileInfo(requests[0]).canonicalFilePath(), expected);
        }
    }

    // An error inside a menu handler reaches the general error box, never the event loop.
    void helpHandlerRunsBehindTheGuard()
    {
        QTemporaryDir current;
        QVERIFY(QDir::setCurrent(current.path()));
        QVERIFY(QFile(current.filePath("Help.chm")).open(QIODevice::WriteOnly));
        platform::SetDocumentOpener([](const QString&) -> bool { throw std::runtime_error("no viewer"); });
        Start();
        const auto seen = RunClosingModals([this] { main->Help2Click(); });
        platform::SetDocumentOpener({});
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, platform::kApplicationTitle);
        QCOMPARE(seen[0].text, QString("no viewer"));
    }

    // ---- dialog placement, Esc and Enter on the buttons, offsets off the page ----------

    void dialogsOpenAtTheirDesignPositions_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("page setting") << "page" << QPoint(304, 261);
        QTest::newRow("print option") << "print" << QPoint(350, 248);
        QTest::newRow("about") << "about" << QPoint(198, 113);
    }
    void dialogsOpenAtTheirDesignPositions()
    {
        QFETCH(QString, dialog);
        QFETCH(QPoint, position);
        Start();
        main->setGeometry(600, 400, 700, 500);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        std::unique_ptr<QDialog> shown;
        if (dialog == "page") shown = std::make_unique<Tpagesettingfm>(main->Pages(), main.get());
        if (dialog == "print") shown = std::make_unique<Tpringfm>(main->PrintInputsFor({}, nullptr), main.get());
        if (dialog == "about") shown = std::make_unique<Taboutform>(main.get());
        QPoint seen;
        RunClosingModals([&] { shown->exec(); }, [&](QWidget* modal) { seen = modal->frameGeometry().topLeft(); });
        QCOMPARE(seen, position);
        // a second showing stays there too
        shown->show();
        QCOMPARE(shown->pos(), position);
    }

    void escWithItsX11TextClosesThePageDialog()
    {
        Start();
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.show();
        dialog.topedt->setText("40");
        dialog.topedt->setFocus();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        QApplication::sendEvent(dialog.topedt, &esc);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!QFile::exists(dir->Path(kSettings)));
    }

    void enterOnSaveAfterTheLastBoxSaves()
    {
        Start();
        Tpagesettingfm dialog(main->Pages(), main.get());
        dialog.show();
        dialog.iwidthedt->setText("7");
        dialog.iwidthedt->setFocus();
        QVERIFY(RunClosingModals([&] { QTest::keyClick(dialog.iwidthedt, Qt::Key_Return); }).isEmpty());
        QCOMPARE(dialog.focusWidget(), dialog.BitBtn1);
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(dir->Path(kSettings)));
        QVERIFY(RunClosingModals([&] { QTest::keyClick(dialog.focusWidget(), Qt::Key_Return); }).isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Values().fiwidth, 7.0);
        QCOMPARE(platform::IniFile(platform::SettingsPath()).ReadString("pagesetting", "fiwidth"), QString("7"));
    }

    void enterOnPrintAfterTheXBoxPrints()
    {
        Start();
        const QString pdf = PrintToPdf("enter.pdf");
        Tpringfm dialog(main->PrintInputsFor(BarPattern(30, 12), nullptr), main.get());
        dialog.show();
        dialog.xedt->setFocus();
        QVERIFY(RunClosingModals([&] { QTest::keyClick(dialog.xedt, Qt::Key_Return); }).isEmpty());
        QCOMPARE(dialog.focusWidget(), dialog.Button1);
        QVERIFY(!QFile::exists(pdf));
        QVERIFY(RunClosingModals([&] { QTest::keyClick(dialog.focusWidget(), Qt::Key_Return); }).isEmpty());
        QCOMPARE(PdfPages(pdf), 1);
        QVERIFY(dialog.isVisible());
    }

    void offsetsThatPutTheSymbolOffThePageAreRefused_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("notice");
        const QString xOff = "The X offset puts the symbol off the page.";
        const QString yOff = "The Y offset puts the symbol off the page.";
        QTest::newRow("X beyond any pixel count") << "99999999999" << "" << xOff;
        QTest::newRow("Y beyond any pixel count") << "0" << "99999999999999999999" << yOff;
        QTest::newRow("X past the right edge") << "100000" << "0" << xOff;
        QTest::newRow("Y past the bottom edge") << "" << "100000" << yOff;
        QTest::newRow("both") << "100000" << "99999999999" << "The X and Y offsets put the symbol off the page.";
        QTest::newRow("pasted X left of the sheet") << "-4000" << "" << xOff;
        QTest::newRow("pasted Y above the sheet") << "" << "-1250" << yOff;
    }
    void offsetsThatPutTheSymbolOffThePageAreRefused()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, notice);
        Start();
        const QString pdf = PrintToPdf("off.pdf");
        Tpringfm dialog(main->PrintInputsFor(BarPattern(300, 120), nullptr), main.get());
        dialog.show();
        dialog.xedt->setText(x);
        dialog.yedt->setText(y);
        const auto seen = RunClosingModals([&] { dialog.Button1->click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, notice);
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(pdf));
    }

    void symbolPartlyOnThePagePrintsWhatFalls_data()
    {
        QTest::addColumn<bool>("pastLeft");
        // the last screen pixel, a bar, spans 1868.75 to 1875 of the 1875 printer pixels
        QTest::newRow("pasted X, the last bar on the sheet") << true;
        QTest::newRow("X, 12 pixels of the first bar on the sheet") << false;
    }
    void symbolPartlyOnThePagePrintsWhatFalls()
    {
        QFETCH(bool, pastLeft);
        Start();
        const QString pdf = PrintToPdf("partly.pdf");
        const int sheet = main->Printer()->paperRect(QPrinter::DevicePixel).toRect().width();
        const int left = pastLeft ? -1860 : sheet - 12;
        const QRect expected = pastLeft ? QRect(QPoint(9, 0), QPoint(14, 749)) : QRect(QPoint(left, 0), QPoint(sheet - 1, 749));
        Tpringfm dialog(main->PrintInputsFor(BarPattern(300, 120), nullptr), main.get());
        dialog.show();
        dialog.xedt->setText(QString::number(left / 0.6, 'f', 3));
        QVERIFY(RunClosingModals([&] { dialog.Button1->click(); }).isEmpty());
        QCOMPARE(PdfPages(pdf), 1);
        const RenderedPage page = Render(pdf, dir->Path("partly"));
        QVERIFY2(WithinOnePixel(page.black, expected), qPrintable(Describe(page.black)));
    }
};

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
