// The labels dialog driven in-process over a real main window: the Labels button in
// every editor, the sheet and custom layout kept between openings, each print queue's
// calibration kept apart and never silently zeroed, sheets written to PDF (and through
// the printer) rendered back and read label by label, refusals that write nothing, the
// keys that must not print, and the calibration page where the grid puts the labels.
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QtTest>

#include "editors/bareditor.h"
#include "engines/environment.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "shell/calibration.h"
#include "shell/labelsdialog.h"
#include "shell/mainform.h"
#include "support/decoder.h"
#include "symbols/sharpprint.h"
#include "support/guitest.h"

namespace {

struct EditorRow {
    const char* name;
    void (Tmainfm::*pick)();
    const char* message;  // one the editor builds
};

const EditorRow kEditors[] = {
    {"Code 39", &Tmainfm::C391Click, "AB-12"},          {"EAN-13", &Tmainfm::ENA13Click, "590123412345"},
    {"UPC-A", &Tmainfm::upca1Click, "03600029145"},     {"EAN-8", &Tmainfm::EAN81Click, "9638507"},
    {"UPC-E", &Tmainfm::UPCE1Click, "123456"},          {"Code 128", &Tmainfm::Code1281Click, "LOT0099"},
    {"GS1-128", &Tmainfm::GS11281Click, "(10)AB1"},     {"ITF-14", &Tmainfm::ITF141Click, "0001234567890"},
};
const int kCode39 = 0, kUpcA = 2, kCode128 = 5, kGs1 = 6;

// A page of a PDF file as pdftoppm renders it at dpi, without smoothing, in grey.
QImage RenderPage(const QString& pdf, int page, int dpi, const QString& prefix)
{
    QProcess::execute("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                                   "-gray", "-aa", "no", "-aaVector", "no", "-png", "-singlefile", pdf, prefix});
    return QImage(prefix + ".png").convertToFormat(QImage::Format_Grayscale8);
}

int PdfPages(const QString& pdf)
{
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished(-1);
    const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromLatin1(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// What a scanner reads on each label of a rendered sheet, in the sheet's order; an
// empty text where the label is blank.
QStringList ReadLabels(const QImage& page, const sheets::SheetGrid& grid, Symbology symbology)
{
    QStringList reads;
    for (int i = 0; i < grid.LabelsPerSheet(); ++i) {
        const QImage label = page.copy(grid.Label(i));
        if (AllWhite(label)) {
            reads << QString();
            continue;
        }
        QImage quiet(label.size() + QSize(80, 80), QImage::Format_Grayscale8);
        quiet.fill(255);
        QPainter(&quiet).drawImage(40, 40, label);
        reads << DecodeSymbols(quiet, symbology).join(u'|');
    }
    return reads;
}

// Rows of reads: blanks before the first label, the reads, blanks to the sheet's end.
QStringList OnSheet(int before, const QStringList& reads, int labels)
{
    QStringList sheet(before);
    sheet += reads;
    while (sheet.size() < labels) sheet << QString();
    return sheet;
}

bool IsBlack(const QImage& page, int x, int y) { return page.pixelColor(x, y).lightness() < 128; }

}  // namespace

class TestLabels : public QObject {
    Q_OBJECT
    std::unique_ptr<ExeDirFixture> dir;
    std::unique_ptr<Tmainfm> main;

    void Start(const QByteArray& settings = {})
    {
        if (!settings.isEmpty()) dir->Write("BCodeSetting.ini", settings);
        main = MakeMainWindow();
        engines::SetScreenResolutionSource([] { return 96; });
    }

    // The editor of row picked and built from its message at height inches; null after
    // a failed check.
    TBarEditor* Built(int row, const QString& message, const QString& height = "0.5")
    {
        [&] { QVERIFY(RunClosingModals([&] { (main.get()->*kEditors[row].pick)(); }).isEmpty()); }();
        auto* editor = qobject_cast<TBarEditor*>(main->barform);
        if (!editor) return nullptr;
        editor->fheightedt->setText(height);
        editor->barcodeedt->setText(message);
        const auto seen = RunClosingModals([&] { editor->Button1Click(); });
        return seen.isEmpty() ? editor : nullptr;
    }

    // Opens the labels dialog from editor, lets use work in it and closes it; the
    // modal boxes seen on the way, the dialog's first. A box that use opens in turn is
    // closed by a RunClosingModals of its own: the closing timer does not fire while
    // its own handler runs.
    QList<ModalSeen> InLabels(TBarEditor* editor, const std::function<void(Tlabelsfm&)>& use)
    {
        return RunClosingModals([&] { editor->Button5Click(); }, [&](QWidget* modal) {
            if (auto* dialog = qobject_cast<Tlabelsfm*>(modal)) use(*dialog);
        });
    }

    // The main window's printer as a PDF file at dpi.
    QString PrinterToPdf(const QString& name, int dpi)
    {
        QPrinter* printer = main->Printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir->Path(name));
        printer->setResolution(dpi);
        return dir->Path(name);
    }

private slots:
    void initTestCase()
    {
        // a Letter page at 600 dpi is read back
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
    }

    // Every editor has the button beside Print, clear of every other control of its
    // panel, reached by Tab right after Print, and enabled by a build.
    void labelsButtonInEveryEditor_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kEditors)); ++row) QTest::newRow(kEditors[row].name) << row;
    }
    void labelsButtonInEveryEditor()
    {
        QFETCH(int, row);
        Start();
        QVERIFY(RunClosingModals([&] { (main.get()->*kEditors[row].pick)(); }).isEmpty());
        auto* editor = qobject_cast<TBarEditor*>(main->barform);
        QVERIFY(editor);
        QPushButton* button = editor->Button5;
        QCOMPARE(button->text(), QString("Labels..."));
        QVERIFY(!button->isEnabled());
        QVERIFY(editor->Panel2->rect().contains(button->geometry()));
        QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width());
        for (QWidget* other : editor->Panel2->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != button)
                QVERIFY2(!other->geometry().intersects(button->geometry()), qPrintable(other->objectName()));
        QCOMPARE(editor->Button4->nextInFocusChain(), button);
        editor->barcodeedt->setText(kEditors[row].message);
        QVERIFY(RunClosingModals([&] { editor->Button1Click(); }).isEmpty());
        QVERIFY(button->isEnabled());
        const auto seen = InLabels(editor, [](Tlabelsfm&) {});
        QCOMPARE(seen.value(0).className, QString("Tlabelsfm"));
        QCOMPARE(seen.value(0).title, QString("Labels"));
    }

    // The sheet picked and the custom layout typed come back at the next opening, and
    // a custom layout that does not parse is kept to be mended, printing nothing.
    void sheetKeptBetweenOpenings_data()
    {
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("shown");  // the sheet's name, or none
        QTest::addColumn<int>("labels");
        QTest::addColumn<QString>("kept");  // the custom layout as it comes back
        QTest::newRow("a template by an equivalent part") << "Avery L7160" << "Avery 7160" << 21 << "";
        QTest::newRow("custom") << "custom:A4,70mmx30mm,2x5,10mm,10mm,80mm,40mm" << "" << 10
                                << "custom:A4,70mmx30mm,2x5,10mm,10mm,80mm,40mm";
        QTest::newRow("custom, not parsed") << "custom:A4,50mmx30mm" << "" << 0 << "custom:A4,50mmx30mm";
        // Pasted over two lines: one line in the settings file, no line of its own.
        QTest::newRow("custom, pasted with a line break") << "custom:A4,70mmx30mm,2x5,10mm,10mm,\r\n80mm,40mm" << "" << 10
                                                          << "custom:A4,70mmx30mm,2x5,10mm,10mm,  80mm,40mm";
    }
    void sheetKeptBetweenOpenings()
    {
        QFETCH(QString, picked);
        QFETCH(QString, shown);
        QFETCH(int, labels);
        QFETCH(QString, kept);
        Start();
        TBarEditor* editor = Built(kUpcA, "03600029145");
        QVERIFY(editor);
        InLabels(editor, [&](Tlabelsfm& d) { QVERIFY(d.Pick(picked)); });
        for (const QByteArray& line : dir->Read("BCodeSetting.ini").split('\n'))
            QVERIFY2(line.trimmed().isEmpty() || line.startsWith('[') || line.contains('='), line.constData());
        main.reset();
        main = MakeMainWindow();
        editor = Built(kUpcA, "03600029145");
        QVERIFY(editor);
        bool seen = false;
        InLabels(editor, [&](Tlabelsfm& d) {
            seen = true;
            QCOMPARE(d.Sheet().has_value(), labels > 0);
            if (labels > 0) QCOMPARE(sheets::LabelCorners(*d.Sheet()).size(), labels);
            if (!shown.isEmpty()) {
                QCOMPARE(d.Sheet()->Name(), shown);
                QVERIFY(d.templatelist->currentRow() > 0);
            } else {
                QCOMPARE(d.templatelist->currentRow(), 0);
                QCOMPARE(d.customedt->text(), kept);
            }
            QCOMPARE(d.PdfButton->isEnabled(), labels > 0);
            QCOMPARE(d.PrintButton->isEnabled(), labels > 0);
            if (labels == 0) {
                QVERIFY2(d.Figures->text().startsWith("The custom layout cannot be used"), qPrintable(d.Figures->text()));
                QVERIFY(!d.WritePdf(dir->Path("none.pdf")).isEmpty());
                QVERIFY(!QFile::exists(dir->Path("none.pdf")));
            }
        });
        QVERIFY(seen);
    }

    // Each queue keeps its own values, whatever characters its name holds: names that
    // differ only in a trailing blank or in a letter beyond ASCII stay apart.
    void calibrationKeptPerQueue()
    {
        Start();
        const QStringList queues = {"Office", "Office ", "a=b", "a]b", "[x]", "Büro", "Bäro", "HP LaserJet 4 (USB)"};
        for (int i = 0; i < queues.size(); ++i)
            QVERIFY(WriteCalibration(queues[i], {double(i * 10 + 1), double(-i * 5 - 2), 95.0 + i}));
        QVERIFY(WriteCalibration(queues[0], {-7.5, 12.25, 104.5}));
        for (int i = 0; i < queues.size(); ++i) {
            const CalibrationRead read = ReadCalibration(queues[i]);
            QVERIFY2(read.fault.isEmpty(), qPrintable(read.fault));
            const sheets::Calibration expected =
                i == 0 ? sheets::Calibration{-7.5, 12.25, 104.5} : sheets::Calibration{double(i * 10 + 1), double(-i * 5 - 2), 95.0 + i};
            QVERIFY2(read.value == expected, qPrintable(queues[i]));
        }
        // One never written reads as no correction.
        const CalibrationRead none = ReadCalibration("Elsewhere");
        QVERIFY(none.fault.isEmpty() && none.value == sheets::Calibration{});
    }

    // A value that does not convert, or lies out of range, is refused with a message
    // naming it, from the file and as typed: never read as 0, never saved.
    void calibrationRefusedNotZeroed_data()
    {
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("scale");
        QTest::addColumn<QString>("fault");
        QTest::newRow("X not a number") << "1O" << "0" << "100" << "The X offset '1O' is not a number.";
        QTest::newRow("decimal comma") << "0" << "2,5" << "100" << "The Y offset '2,5' is not a number.";
        QTest::newRow("scale out of range") << "0" << "0" << "150" << "The scale must lie between 90 and 110 per cent.";
        QTest::newRow("offset beyond a sheet") << "0" << "-1e6" << "100"
                                               << "The Y offset must lie between -1000 and 1000 mils.";
    }
    void calibrationRefusedNotZeroed()
    {
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, scale);
        QFETCH(QString, fault);
        const QString section = CalibrationSection("Lab printer");
        const QByteArray settings = QStringLiteral("[%1]\nX=%2\nY=%3\nScale=%4\n").arg(section, x, y, scale).toLocal8Bit();
        Start(settings);
        const CalibrationRead read = ReadCalibration("Lab printer");
        QVERIFY2(read.fault.endsWith(fault), qPrintable(read.fault));
        QVERIFY(read.fault.contains("Lab printer"));

        const sheets::LabelTemplate sheet = *LabelLibrary().Find(u"Avery 5160");
        Tcalibratefm dialog("Lab printer", nullptr, 0, sheet);
        // shown as stored, to be mended
        QCOMPARE(QStringList({dialog.xedt->text(), dialog.yedt->text(), dialog.scaleedt->text()}), QStringList({x, y, scale}));
        const auto seen = RunClosingModals([&] { dialog.SaveButtonClick(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, fault);
        QCOMPARE(dir->Read("BCodeSetting.ini"), settings);
        dialog.scaleedt->setText("101.5");
        dialog.xedt->setText("-20");
        dialog.yedt->setText("30");
        QVERIFY(RunClosingModals([&] { dialog.SaveButtonClick(); }).isEmpty());
        QVERIFY((ReadCalibration("Lab printer").value == sheets::Calibration{-20, 30, 101.5}));
    }

    // The job drawn at the device's resolution, each label read back in place: the first
    // position respected, the labels before it left blank, a sequence counting up with
    // its own check digits, a run going on to a second sheet. Through the printer the
    // printer's own resolution and page are as before afterwards.
    void sheetReadsBackInOrder_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("sequence");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("printerDpi");  // 0: no printer; the PDF is 300 dpi
        QTest::addColumn<bool>("throughPrinter");
        QTest::addColumn<QStringList>("firstSheet");
        QTest::addColumn<QStringList>("secondSheet");
        QTest::newRow("UPC-A sequence from 4, PDF without a printer")
            << kUpcA << "03600029145" << true << 4 << 5 << 0 << false
            << OnSheet(3, {"036000291452", "036000291469", "036000291476", "036000291483", "036000291490"}, 30)
            << QStringList();
        QTest::newRow("Code 128 copies from 29 onto a second sheet, PDF at the printer's 600 dpi")
            << kCode128 << "LOT0099" << false << 29 << 4 << 600 << false << OnSheet(28, {"]C0LOT0099", "]C0LOT0099"}, 30)
            << OnSheet(0, {"]C0LOT0099", "]C0LOT0099"}, 30);
        QTest::newRow("Code 128 sequence through the printer at 203 dpi")
            << kCode128 << "LOT0099" << true << 2 << 3 << 203 << true << OnSheet(1, {"]C0LOT0099", "]C0LOT0100", "]C0LOT0101"}, 30)
            << QStringList();
    }
    void sheetReadsBackInOrder()
    {
        QFETCH(int, row);
        QFETCH(QString, message);
        QFETCH(bool, sequence);
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(int, printerDpi);
        QFETCH(bool, throughPrinter);
        QFETCH(QStringList, firstSheet);
        QFETCH(QStringList, secondSheet);
        if (printerDpi == 0 && !QPrinterInfo::availablePrinters().isEmpty()) QSKIP("a printer is installed here");
        Start();
        TBarEditor* editor = Built(row, message);
        QVERIFY(editor);
        const QString pdf = printerDpi > 0 ? PrinterToPdf("printed.pdf", printerDpi) : dir->Path("labels.pdf");
        QPrinter* printer = main->Printer();
        printer->setPageSize(QPageSize(QPageSize::A5));
        printer->setPageMargins(QMarginsF(7, 8, 9, 10), QPageLayout::Millimeter);
        const QPageLayout before = printer->pageLayout();
        const int resolutionBefore = printer->resolution();
        QString fault;
        const auto seen = InLabels(editor, [&](Tlabelsfm& d) {
            QVERIFY(d.Pick("Avery 5160"));
            d.startedt->setValue(start);
            d.countedt->setValue(count);
            (sequence ? d.sequencebtn : d.copiesbtn)->setChecked(true);
            QCOMPARE(d.PrinterDpi(), printerDpi);
            QVERIFY2(d.PrintButton->isEnabled(), qPrintable(d.Figures->text()));
            const auto notices = RunClosingModals([&] {
                if (throughPrinter)
                    d.PrintButtonClick();
                else
                    fault = d.WritePdf(pdf);
            });
            if (throughPrinter) fault = notices.value(0).text;
            QCOMPARE(notices.size(), 0);
        });
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(printer->resolution(), resolutionBefore);
        QVERIFY(printer->pageLayout().isEquivalentTo(before));
        QCOMPARE(printer->pageLayout().margins(), before.margins());

        const int dpi = printerDpi > 0 ? printerDpi : 300;
        const sheets::SheetGrid grid(*LabelLibrary().Find(u"Avery 5160"), dpi);
        const Symbology symbology = row == kUpcA ? Symbology::EanUpc : Symbology::Code128;
        QCOMPARE(PdfPages(pdf), secondSheet.isEmpty() ? 1 : 2);
        const QImage page = RenderPage(pdf, 1, dpi, dir->Path("page1"));
        QVERIFY(std::abs(page.width() - 8.5 * dpi) <= 1 && page.height() == 11 * dpi);
        QCOMPARE(ReadLabels(page, grid, symbology), firstSheet);
        // The first label holds the build drawn at the page's resolution, dot for dot,
        // centred in the label where the paper's corner is the page's origin.
        const symbols::SharpPicture sharp = symbols::DrawSharp(*editor->LastShown(), dpi);
        const QRect placed(sheets::CentredCorner(grid.Label(start - 1), sharp.picture.size()), sharp.picture.size());
        const QImage printed = page.copy(placed), drawn = sharp.picture.convertToFormat(QImage::Format_Grayscale8);
        int differing = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                differing += (printed.constScanLine(y)[x] < 128) != (drawn.constScanLine(y)[x] < 128);
        QCOMPARE(differing, 0);
        if (!secondSheet.isEmpty())
            QCOMPARE(ReadLabels(RenderPage(pdf, 2, dpi, dir->Path("page2")), grid, symbology), secondSheet);
    }

    // What cannot be printed is told before printing, Print and PDF are disabled, and
    // asked anyway they write nothing: the notice is the line the dialog shows.
    void refusalsWriteNothing_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("height");
        QTest::addColumn<bool>("sequence");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("a symbol taller than its label")
            << kUpcA << "03600029145" << "1.3" << false << 1
            << "The symbol (2.07 x 1.47 in, 52.5 x 37.3 mm) is larger than the label (2.63 x 1.00 in, 66.7 x 25.4 mm).";
        QTest::newRow("a sequence past its digits") << kCode128 << "LOT98" << "0.5" << true << 3
                                                    << "The sequence cannot count up:";
        QTest::newRow("a GS1-128 sequence") << kGs1 << "(10)AB1" << "0.5" << true << 2 << "The sequence cannot count up:";
        QTest::newRow("a Code 39 sequence ending in a letter") << kCode39 << "AB-1C" << "0.5" << true << 2
                                                               << "The sequence cannot count up:";
    }
    void refusalsWriteNothing()
    {
        QFETCH(int, row);
        QFETCH(QString, message);
        QFETCH(QString, height);
        QFETCH(bool, sequence);
        QFETCH(int, count);
        QFETCH(QString, refusal);
        Start();
        TBarEditor* editor = Built(row, message, height);
        QVERIFY(editor);
        const QString printed = PrinterToPdf("printed.pdf", 300);
        QString shown, written;
        QList<ModalSeen> notices;
        InLabels(editor, [&](Tlabelsfm& d) {
            QVERIFY(d.Pick("Avery 5160"));
            d.countedt->setValue(count);
            (sequence ? d.sequencebtn : d.copiesbtn)->setChecked(true);
            shown = d.Figures->text();
            QVERIFY(!d.PrintButton->isEnabled() && !d.PdfButton->isEnabled());
            written = d.WritePdf(dir->Path("labels.pdf"));
            notices = RunClosingModals([&] { d.PrintButtonClick(); });
        });
        QVERIFY2(shown.startsWith(refusal), qPrintable(shown));
        QCOMPARE(written, shown);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices[0].text, shown);
        QVERIFY(!QFile::exists(dir->Path("labels.pdf")));
        QVERIFY(!QFile::exists(printed));
    }

    // Enter in any box prints nothing and leaves the dialog open; Esc, as X11 delivers it
    // with its control character, closes it.
    void enterDoesNotPrintEscCloses()
    {
        Start();
        TBarEditor* editor = Built(kUpcA, "03600029145");
        QVERIFY(editor);
        const QString printed = PrinterToPdf("printed.pdf", 300);
        bool stayed = true, closed = false;
        QList<ModalSeen> notices;
        InLabels(editor, [&](Tlabelsfm& d) {
            QVERIFY(d.PrintButton->isEnabled());
            for (QWidget* box : std::initializer_list<QWidget*>{d.searchedt, d.customedt, d.startedt, d.countedt}) {
                box->setFocus();
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
                notices += RunClosingModals([&] { QApplication::sendEvent(box->focusProxy() ? box->focusProxy() : box, &press); });
                stayed = stayed && d.isVisible();
            }
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1b)));
            QApplication::sendEvent(d.countedt, &esc);
            closed = !d.isVisible() && d.result() == QDialog::Rejected;
        });
        QVERIFY(stayed);
        QVERIFY(notices.isEmpty());
        QVERIFY(closed);
        QVERIFY(!QFile::exists(printed));
    }

    // The calibration page through a printer: the last row's outlines where the grid
    // corrected by the typed offsets puts it; the printer as it was afterwards.
    void calibrationPageShowsTheCorrectedGrid()
    {
        Start();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir->Path("calibration.pdf"));
        const int resolutionBefore = printer.resolution();
        const QPageLayout before = printer.pageLayout();
        const sheets::LabelTemplate sheet = *LabelLibrary().Find(u"Avery 5160");
        Tcalibratefm dialog("Lab printer", &printer, 300, sheet);
        dialog.xedt->setText("100");
        dialog.yedt->setText("-50");
        dialog.scaleedt->setText("99");
        QVERIFY(RunClosingModals([&] { dialog.PrintButtonClick(); }).isEmpty());
        QCOMPARE(printer.resolution(), resolutionBefore);
        QVERIFY(printer.pageLayout().isEquivalentTo(before));
        // printing does not save
        QVERIFY(ReadCalibration("Lab printer").value == sheets::Calibration{});

        const QImage page = RenderPage(dir->Path("calibration.pdf"), 1, 300, dir->Path("calibration"));
        const sheets::SheetGrid grid(sheet, 300, {100, -50, 99});
        for (const int i : {27, 28, 29}) {
            const QRect r = grid.Label(i);
            const int midX = r.center().x(), midY = r.center().y();
            QVERIFY2(IsBlack(page, r.right(), midY) && !IsBlack(page, r.right() + 2, midY), qPrintable(QString::number(i)));
            QVERIFY2(IsBlack(page, midX, r.bottom()) && !IsBlack(page, midX, r.bottom() + 2), qPrintable(QString::number(i)));
            QVERIFY2(!IsBlack(page, midX, r.bottom() - 2), qPrintable(QString::number(i)));
        }
    }
};

QTEST_MAIN(TestLabels)
#include "tst_labels.moc"
