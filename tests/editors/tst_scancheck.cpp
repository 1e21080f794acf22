// The scan check after Build/Copy, driven through the editors in a real main window:
// what the line beside "Preview" says a scanner reads, the standard's figures set against
// columns counted by hand on the picture, the advice of every hint tried out, damaged
// pictures in red, the Settings menu switch, and the line's place on the caption strip.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollArea>
#include <QtTest>
#include <functional>

#include "editors/C39form.h"
#include "editors/ENA13form.h"
#include "symbols/scanreport.h"
#include "editors/linearfamily.h"
#include "editors/upcfamily.h"
#include "engines/environment.h"
#include "engines/rounding.h"
#include "support/guitest.h"

namespace {

struct Editor {
    const char* name;
    void (Tmainfm::*pick)();
    const char* message;
    int modules;  // of the main symbol, first bar to last; 0 for Code 39
};

const Editor kEditors[] = {
    {"Code 39", &Tmainfm::C391Click, "RUVOLA-42", 0},
    {"EAN-13", &Tmainfm::ENA13Click, "590123412345", 95},
    {"UPC-A", &Tmainfm::upca1Click, "03600029145", 95},
    {"EAN-8", &Tmainfm::EAN81Click, "9638507", 67},
    {"UPC-E", &Tmainfm::UPCE1Click, "123456", 51},
    {"Code 128", &Tmainfm::Code1281Click, "Ruvola 42-abc", 0},
    {"GS1-128", &Tmainfm::GS11281Click, "(01)09501101530003(10)AB-123", 0},
    {"ITF-14", &Tmainfm::ITF141Click, "0001234567890", 0},
};
enum { kCode39, kEan13, kUpcA, kEan8, kUpcE, kCode128, kGs1_128, kItf14 };

// One pixel row walked by hand: the dark runs from left to right.
struct Run {
    int left, right;  // right excluded
};
QList<Run> DarkRuns(const QImage& picture, int y)
{
    QList<Run> runs;
    for (int x = 0; x < picture.width(); ++x) {
        if (qGray(picture.pixel(x, y)) >= 128) continue;
        if (!runs.isEmpty() && runs.last().right == x)
            runs.last().right = x + 1;
        else
            runs << Run{x, x + 1};
    }
    return runs;
}

// At page values of 0 every symbol's bars cross this row of its picture.
constexpr int kBarRow = 40;

QString OneDecimal(double value) { return QString::number(value, 'f', 1); }

}  // namespace

class TestScanCheck : public QObject, public EditorBench<TBarEditor> {
    Q_OBJECT

    void OpenEditor(int editor)
    {
        QVERIFY(Open(kEditors[editor].pick));
        engines::SetScreenResolutionSource([] { return 96; });
    }

    void SetAddOn(const QString& addOn)
    {
        if (auto* ean13 = qobject_cast<Tena13fm*>(form)) ean13->Edit1->setText(addOn);
        if (auto* upc = qobject_cast<TUpcEditor*>(form)) upc->Supplementaltxt->setText(addOn);
    }

    // Builds and returns what the check made of it; no message box may open.
    ScanReport Build(const QString& message, const QString& addOn = {})
    {
        form->barcodeedt->setText(message);
        SetAddOn(addOn);
        const QList<ModalSeen> seen = RunClosingModals([this] { form->Button1Click(); });
        if (!seen.isEmpty()) qWarning() << "unexpected box:" << seen.first().text;
        return form->LastScan();
    }

    bool LineIsRed() const { return form->ScanLine->palette().color(QPalette::WindowText) == QColor(Qt::red); }

    static QString HintStarting(const ScanReport& report, const QString& start)
    {
        for (const QString& hint : report.hints)
            if (hint.startsWith(start)) return hint;
        return {};
    }

private slots:
    // The figures are written in the user's locale; these tests read them in C's.
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cleanup()
    {
        Close();
        engines::SetScreenResolutionSource([] { return 96; });
    }

    // ---- what a scanner reads -------------------------------------------------------

    void readsTheBuiltNumber_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("line");
        QTest::newRow("Code 39") << int(kCode39) << "RUVOLA-42" << "" << "Scanner reads Code 39 RUVOLA-42";
        QTest::newRow("Code 39 lower case, underscore") << int(kCode39) << "ab_c" << "" << "Scanner reads Code 39 AB C";
        QTest::newRow("EAN-13") << int(kEan13) << "590123412345" << "" << "Scanner reads EAN-13 5901234123457";
        QTest::newRow("EAN-13 + 2") << int(kEan13) << "590123412345" << "12"
                                    << "Scanner reads EAN-13 5901234123457 + 12";
        // A scanner reports this one as UPC-A 036000291452; it is the same symbol.
        QTest::newRow("EAN-13 leading 0 + 5") << int(kEan13) << "003600029145" << "12345"
                                              << "Scanner reads EAN-13 0036000291452 + 12345";
        QTest::newRow("UPC-A") << int(kUpcA) << "03600029145" << "" << "Scanner reads UPC-A 036000291452";
        QTest::newRow("UPC-A + 2") << int(kUpcA) << "03600029145" << "12" << "Scanner reads UPC-A 036000291452 + 12";
        QTest::newRow("EAN-8") << int(kEan8) << "9638507" << "" << "Scanner reads EAN-8 96385074";
        QTest::newRow("EAN-8 + 5") << int(kEan8) << "9638507" << "12345" << "Scanner reads EAN-8 96385074 + 12345";
        QTest::newRow("UPC-E") << int(kUpcE) << "123456" << "" << "Scanner reads UPC-E 01234565";
        QTest::newRow("UPC-E + 2") << int(kUpcE) << "654321" << "12" << "Scanner reads UPC-E 06543217 + 12";
        QTest::newRow("Code 128") << int(kCode128) << "Ruvola 42-abc" << "" << "Scanner reads Code 128 Ruvola 42-abc";
        // The separator after the variable-length lot shows as its control picture.
        QTest::newRow("GS1-128") << int(kGs1_128) << "(10)AB-123(17)250101" << ""
                                 << "Scanner reads GS1-128 10AB-123\u241D17250101";
        QTest::newRow("ITF-14 check digit added") << int(kItf14) << "0001234567890" << ""
                                                  << "Scanner reads ITF-14 00012345678905";
    }
    void readsTheBuiltNumber()
    {
        QFETCH(int, editor);
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        QFETCH(QString, line);
        OpenEditor(editor);
        const ScanReport report = Build(message, addOn);
        QVERIFY2(report.line.startsWith(line), qPrintable(report.line));
        QVERIFY(!report.failed);
        QVERIFY(!LineIsRed());
        QVERIFY2(form->ScanLine->text().startsWith(line), qPrintable(form->ScanLine->text()));
        QVERIFY(form->ScanLine->toolTip().startsWith("From the picture on the clipboard: " + line));
        // A screen reader is told the same symbol, with a separator it can name.
        if (addOn.isEmpty())
            QCOMPARE(form->Image1->accessibleDescription(), line.mid(QString("Scanner reads ").size()) + ", scans");
        // The tip's lines also without a pointer: in the line's description, and in a box
        // from the preview's menu.
        const QString details = report.details.join('\n');
        QCOMPARE(form->ScanLine->accessibleDescription(), details);
        QVERIFY(form->ScanDetailsAction->isEnabled());
        QVERIFY(form->ScrollBox1->actions().contains(form->ScanDetailsAction));
        const QList<ModalSeen> seen = RunClosingModals([this] { form->ScanDetailsAction->trigger(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, details);
    }

    // Six digits that are not the standard short form of their number still scan as that
    // number; the hint names the standard form.
    void upceShortFormHint_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("hint");  // empty: none
        QTest::newRow("standard") << "123456" << "";
        QTest::newRow("fill after three, item below 100")
            << "123004" << "123004 is not the standard short form of UPC-A 012300000000, which other generators "
                           "refuse: the standard form of the same number is 123003.";
        QTest::newRow("manufacturer ending 000") << "120453" << "120453 is not the standard short form of UPC-A "
                                                                "012000000454, which other generators refuse: the "
                                                                "standard form of the same number is 120450.";
    }
    void upceShortFormHint()
    {
        QFETCH(QString, message);
        QFETCH(QString, hint);
        OpenEditor(kUpcE);
        const ScanReport report = Build(message);
        QVERIFY(!report.failed);
        QCOMPARE(HintStarting(report, message + " is not"), hint);
    }

    // The picture on the clipboard damaged by hand: one bar in the middle painted white.
    void damagedPictureShowsRed_data()
    {
        QTest::addColumn<int>("editor");
        for (int i = 0; i < int(std::size(kEditors)); ++i) QTest::newRow(kEditors[i].name) << i;
    }
    void damagedPictureShowsRed()
    {
        QFETCH(int, editor);
        OpenEditor(editor);
        main->fleft = main->fright = 300;
        QVERIFY(!Build(kEditors[editor].message).failed);
        QImage damaged = ClipboardImage();
        const QList<Run> runs = DarkRuns(damaged, kBarRow);
        QVERIFY(runs.size() > 12);
        const Run bar = runs[runs.size() / 2 + 1];
        for (int y = 0; y < damaged.height(); ++y)
            for (int x = bar.left; x < bar.right; ++x) damaged.setPixel(x, y, qRgb(255, 255, 255));
        form->CheckScan(damaged);
        const QString line = form->LastScan().line;
        QVERIFY2(line.startsWith("Scanner reads nothing") || line.contains(", not "), qPrintable(line));
        QVERIFY(form->LastScan().failed);
        QVERIFY(LineIsRed());
        // The intact picture again: the line turns back.
        form->CheckScan(ClipboardImage());
        QVERIFY(!form->LastScan().failed);
        QVERIFY(!LineIsRed());
    }

    // At 120 dpi the EAN-13 symbol's truncated module leaves 50 pixels over, which the
    // add-on's distance takes: ZXing 1.4 pairs an add-on only up to about 10.5 modules.
    void addOnBeyondTheDecodersReach()
    {
        OpenEditor(kEan13);
        engines::SetScreenResolutionSource([] { return 120; });
        const ScanReport report = Build("590123412345", "12");
        const QImage picture = ClipboardImage();
        const QList<Run> runs = DarkRuns(picture, kBarRow);
        QCOMPARE(runs.size(), 30 + 7);
        // Hand count: the symbol's last bar ends at column 201, the add-on starts at 273:
        // 72 light columns, 36 modules of 2 pixels.
        QCOMPARE(runs[29].right, 201);
        QCOMPARE(runs[30].left, 273);
        QCOMPARE(report.line.section(" · ", 0, 0),
                 QString("Scanner reads EAN-13 5901234123457 without its add-on; the add-on stands 36.0 modules away"));
        QVERIFY(report.failed);
        QVERIFY(LineIsRed());
        QVERIFY2(!HintStarting(report, "Add-on gap 36.0 modules, the standard asks at most 12").isEmpty(),
                 qPrintable(report.hints.join('\n')));
    }

    // ---- the standard's figures against a hand count --------------------------------

    // Page values of 0: each figure is counted again here on row 40 of the picture.
    void quietZonesCountedByHand_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<int>("left");   // light columns before the first bar
        QTest::addColumn<int>("right");  // after the last
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("leastLeft");
        QTest::addColumn<int>("leastRight");
        // Code 39: bars from column 0 to the last; the start character's first bar is narrow.
        QTest::newRow("Code 39") << int(kCode39) << 0 << 0 << 2 << 10 << 10;
        // EAN-13: 8 columns for the leading digit and 25 mils (2.4 px), round(10.4) = 10
        // light columns; 190 columns of bars; 204 - 200 = 4 light columns: 5 and 2 modules.
        QTest::newRow("EAN-13") << int(kEan13) << 10 << 4 << 2 << 11 << 7;
        // The UPC family: the 8-pixel digit columns only, 4 modules a side.
        QTest::newRow("UPC-A") << int(kUpcA) << 8 << 8 << 2 << 9 << 9;
        QTest::newRow("EAN-8") << int(kEan8) << 8 << 8 << 2 << 7 << 7;
        QTest::newRow("UPC-E") << int(kUpcE) << 8 << 8 << 2 << 9 << 7;
    }
    void quietZonesCountedByHand()
    {
        QFETCH(int, editor);
        QFETCH(int, left);
        QFETCH(int, right);
        QFETCH(int, module);
        QFETCH(int, leastLeft);
        QFETCH(int, leastRight);
        OpenEditor(editor);
        const ScanReport report = Build(kEditors[editor].message);
        const QImage picture = ClipboardImage();
        const QList<Run> runs = DarkRuns(picture, kBarRow);
        QCOMPARE(runs.first().left, left);
        QCOMPARE(picture.width() - runs.last().right, right);
        if (editor == kCode39)
            QCOMPARE(runs.first().right - runs.first().left, module);
        else
            QCOMPARE(runs.last().right - runs.first().left, kEditors[editor].modules * module);

        const QString unit = editor == kCode39 ? "narrow widths" : "modules";
        const QString leftModules = OneDecimal(double(left) / module);
        const QString rightModules = OneDecimal(double(right) / module);
        QVERIFY2(report.details.contains(QString("Left quiet zone: %1 %2 (%3 px); the standard asks at least %4.")
                                             .arg(leftModules, unit)
                                             .arg(left)
                                             .arg(leastLeft)),
                 qPrintable(report.details.join('\n')));
        QVERIFY(report.details.contains(QString("Right quiet zone: %1 %2 (%3 px); the standard asks at least %4.")
                                            .arg(rightModules, unit)
                                            .arg(right)
                                            .arg(leastRight)));
        const QString leftHint = HintStarting(report, "Left quiet zone ");
        QVERIFY2(leftHint.startsWith(
                     QString("Left quiet zone %1 %2, the standard asks %3: raise the Left Blank Space by ")
                         .arg(leftModules, unit)
                         .arg(leastLeft)),
                 qPrintable(leftHint));
        QVERIFY(HintStarting(report, "Right quiet zone ").startsWith(
            QString("Right quiet zone %1 %2, the standard asks %3").arg(rightModules, unit).arg(leastRight)));
        QVERIFY(report.line.contains("left quiet zone, right quiet zone"));
        QVERIFY(!LineIsRed());
    }

    // The module as printed: pixels at 96 dpi as mils and as a share of 13 mils.
    void moduleWidthInMils_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("width");  // barwidth in mils, or the EAN-13 symbol width in inches
        QTest::addColumn<int>("module");
        QTest::addColumn<QString>("figure");
        QTest::addColumn<QString>("hint");
        QTest::newRow("EAN-13 2 inches") << int(kEan13) << "2" << 2 << "2.0 px = 20.8 mils printed, 160.3 %" << "";
        QTest::newRow("EAN-13 3 inches") << int(kEan13) << "3" << 3 << "3.0 px = 31.3 mils printed, 240.4 %"
                                         << "choose a 'Bar code Width' of 2 inches (modules of 2 px = 20.8 mils)";
        QTest::newRow("UPC-A 10 mils") << int(kUpcA) << "10" << 1 << "1.0 px = 10.4 mils printed, 80.1 %" << "";
        QTest::newRow("UPC-A 30 mils") << int(kUpcA) << "30" << 3 << "3.0 px = 31.3 mils printed, 240.4 %"
                                       << "choose a 'Single Bar Width' of 16 mils (modules of 2 px = 20.8 mils)";
        QTest::newRow("UPC-E 27 mils") << int(kUpcE) << "27" << 3 << "3.0 px = 31.3 mils printed, 240.4 %"
                                       << "choose a 'Single Bar Width' of 16 mils (modules of 2 px = 20.8 mils)";
    }
    void moduleWidthInMils()
    {
        QFETCH(int, editor);
        QFETCH(QString, width);
        QFETCH(int, module);
        QFETCH(QString, figure);
        QFETCH(QString, hint);
        OpenEditor(editor);
        if (auto* ean13 = qobject_cast<Tena13fm*>(form)) ean13->ComboBox1->setCurrentText(width);
        if (auto* upc = qobject_cast<TUpcEditor*>(form)) upc->barwidth->setText(width);
        const ScanReport report = Build(kEditors[editor].message);
        const QList<Run> runs = DarkRuns(ClipboardImage(), kBarRow);
        QCOMPARE(runs.last().right - runs.first().left, kEditors[editor].modules * module);
        QVERIFY2(report.details.join('\n').contains("Module: " + figure), qPrintable(report.details.join('\n')));
        const QString widthHint = HintStarting(report, "Module ");
        if (hint.isEmpty()) {
            QVERIFY2(widthHint.isEmpty(), qPrintable(widthHint));
        } else {
            QVERIFY2(widthHint.endsWith(hint + '.'), qPrintable(widthHint));
            QVERIFY(report.line.contains("module width"));
        }
    }

    // Code 39: the ratio as drawn, after the wide bar is rounded to whole pixels.
    void code39RatioAsDrawn_data()
    {
        QTest::addColumn<QString>("narrowMils");
        QTest::addColumn<QString>("ratio");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<bool>("isShort");
        QTest::newRow("10 mils 2.0") << "10" << "2.0" << 1 << 2 << "2.00" << true;
        QTest::newRow("10 mils 2.5, 2.5 px rounds to 2") << "10" << "2.5" << 1 << 2 << "2.00" << true;
        QTest::newRow("10 mils 2.6") << "10" << "2.6" << 1 << 3 << "3.00" << false;
        QTest::newRow("23 mils 2.2, over 20 mils") << "23" << "2.2" << 2 << 4 << "2.00" << false;
        QTest::newRow("30 mils 2.5") << "30" << "2.5" << 3 << 8 << "2.67" << false;
    }
    void code39RatioAsDrawn()
    {
        QFETCH(QString, narrowMils);
        QFETCH(QString, ratio);
        QFETCH(int, narrow);
        QFETCH(int, wide);
        QFETCH(QString, drawn);
        QFETCH(bool, isShort);
        OpenEditor(kCode39);
        auto* c39 = qobject_cast<Tc39fm*>(form);
        c39->fnarwidthedt->setText(narrowMils);
        c39->natiocbox->setCurrentText(ratio);
        const ScanReport report = Build("AB");
        // Hand count: the start character opens with a narrow bar and a wide space.
        const QList<Run> runs = DarkRuns(ClipboardImage(), kBarRow);
        QCOMPARE(runs[0].right - runs[0].left, narrow);
        QCOMPARE(runs[1].left - runs[0].right, wide);
        QVERIFY2(report.details.join('\n').contains(
                     QString("Narrow bar %1 px = %2 mils printed, wide bar %3 px: ratio %4 drawn")
                         .arg(narrow)
                         .arg(OneDecimal(narrow * 1000 / 96.0))
                         .arg(wide)
                         .arg(drawn)),
                 qPrintable(report.details.join('\n')));
        const QString hint = HintStarting(report, "Wide-to-narrow ratio");
        QCOMPARE(!hint.isEmpty(), isShort);
        if (isShort)
            QCOMPARE(hint, QString("Wide-to-narrow ratio 2.00 drawn (narrow 1 px = 10.4 mils, wide 2 px), the standard "
                                   "asks at least 2.2: choose a 'Narrow To Width Ratio' of 2.6 (wide bars of 3 px) "
                                   "or a 'Narrow Bar Width' of 16 mils (narrow bars of 2 px = 20.8 mils)."));
    }

    // ITF-14 at 30 mils, a narrow element of 3 pixels at 96 dpi: the wide bar as the ratio
    // list sets it, whole pixels between 2.25 and 3 times the narrow one, and the bearer
    // bars (6 pixels, twice the narrow bar) the list picks, counted on the picture.
    void itf14RatioAndBearersAsDrawn_data()
    {
        QTest::addColumn<QString>("ratio");
        QTest::addColumn<QString>("bearers");
        QTest::addColumn<int>("wide");
        QTest::addColumn<int>("side");    // the frame's sides: dark columns before the quiet zone
        QTest::addColumn<int>("across");  // dark rows above the bars
        QTest::newRow("2.25, 6.75 px, frame") << "2.25" << "Frame" << 7 << 6 << 6;
        QTest::newRow("2.50, 7.5 px, top and bottom") << "2.50" << "Top and bottom" << 8 << 0 << 6;
        QTest::newRow("3.00, none") << "3.00" << "None" << 9 << 0 << 0;
    }
    void itf14RatioAndBearersAsDrawn()
    {
        QFETCH(QString, ratio);
        QFETCH(QString, bearers);
        QFETCH(int, wide);
        QFETCH(int, side);
        QFETCH(int, across);
        OpenEditor(kItf14);
        auto* itf = qobject_cast<TLinearEditor*>(form);
        itf->barwidth->setText("30");
        itf->ratiocbox->setCurrentText(ratio);
        itf->bearercbox->setCurrentText(bearers);
        QCOMPARE(itf->ratiocbox->currentText(), ratio);
        QCOMPARE(itf->bearercbox->currentText(), bearers);
        const ScanReport report = Build(kEditors[kItf14].message);
        QVERIFY2(report.line.startsWith("Scanner reads ITF-14 00012345678905"), qPrintable(report.line));
        const QImage picture = ClipboardImage();
        QList<Run> runs = DarkRuns(picture, kBarRow);
        if (side > 0) {
            QCOMPARE(runs.first().left, 0);
            QCOMPARE(runs.first().right, side);
            runs.removeFirst();
        }
        // A quiet zone of ten narrow elements; the start pattern's two narrow bars, then
        // the first pair of digits, 0 and 0: narrow, narrow, wide.
        QCOMPARE(runs[0].left, side + 30);
        for (int bar = 0; bar < 4; ++bar) QCOMPARE(runs[bar].right - runs[bar].left, 3);
        QCOMPARE(runs[4].right - runs[4].left, wide);
        int dark = 0;
        while (dark < picture.height() && qGray(picture.pixel(side + 15, dark)) < 128) ++dark;
        QCOMPARE(dark, across);
    }

    // ---- every kind of advice, tried out --------------------------------------------

    void adviceMakesRoom_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("preset");  // a setting before the first build
        QTest::addColumn<QString>("hint");    // the hint's start
        QTest::addColumn<QString>("advice");  // captures the value to take
        QTest::addColumn<QString>("setting");
        const QString c39 = "RUVOLA-42";
        // No interval and no comment: the Code 39 characters stand at the bottom edge.
        QTest::newRow("Code 39 characters, interval")
            << int(kCode39) << c39 << "" << "" << ""
            << "The human-readable characters fall wholly outside the picture, so none of them shows"
            << "Interval Space from 0 to (\\d+) mils" << "fiwidth";
        QTest::newRow("Code 39 characters, down space")
            << int(kCode39) << c39 << "" << "" << "" << "The human-readable characters fall wholly outside"
            << "Down Blank Space by (\\d+) mils" << "fdown";
        QTest::newRow("Code 39 left quiet zone") << int(kCode39) << c39 << "" << "" << "" << "Left quiet zone"
                                                 << "Left Blank Space by (\\d+) mils" << "fleft";
        QTest::newRow("Code 39 ratio") << int(kCode39) << c39 << "" << "" << "narrow=10" << "Wide-to-narrow ratio"
                                       << "Ratio' of (\\d\\.\\d)" << "ratio";
        QTest::newRow("EAN-13 left quiet zone") << int(kEan13) << "590123412345" << "" << "" << "" << "Left quiet zone"
                                                << "Left Blank Space by (\\d+) mils" << "fleft";
        QTest::newRow("EAN-13 right quiet zone") << int(kEan13) << "590123412345" << "" << "" << ""
                                                 << "Right quiet zone" << "Right Blank Space by (\\d+) mils"
                                                 << "fright";
        QTest::newRow("EAN-13 add-on digits") << int(kEan13) << "590123412345" << "12" << "" << ""
                                              << "The add-on digits run 2 pixel rows into the bars"
                                              << "Interval Space from 0 to (\\d+) mils" << "fiwidth";
        QTest::newRow("UPC-A add-on gap") << int(kUpcA) << "03600029145" << "12" << "" << ""
                                          << "Add-on gap 8.0 modules, the standard asks 9 to 12"
                                          << "font of (\\d+) points" << "font";
        QTest::newRow("UPC-A comment") << int(kUpcA) << "03600029145" << "" << "Lot 7" << ""
                                       << "The comment line runs" << "Interval Space from 0 to (\\d+) mils"
                                       << "fiwidth";
        QTest::newRow("UPC-A module width") << int(kUpcA) << "03600029145" << "" << "" << "barwidth=30"
                                            << "Module 31.3 mils" << "Width' of (\\d+) mils" << "barwidth";
        QTest::newRow("EAN-8 add-on digits") << int(kEan8) << "9638507" << "12345" << "" << ""
                                             << "The add-on digits run" << "Interval Space from 0 to (\\d+) mils"
                                             << "fiwidth";
        QTest::newRow("UPC-E right quiet zone") << int(kUpcE) << "123456" << "" << "" << "" << "Right quiet zone"
                                                << "Right Blank Space by (\\d+) mils" << "fright";
    }
    void adviceMakesRoom()
    {
        QFETCH(int, editor);
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        QFETCH(QString, comment);
        QFETCH(QString, preset);
        QFETCH(QString, hint);
        QFETCH(QString, advice);
        QFETCH(QString, setting);
        OpenEditor(editor);
        form->heardtextedt->setText(comment);
        const QString presetValue = preset.section('=', 1);
        if (preset.startsWith("narrow=")) qobject_cast<Tc39fm*>(form)->fnarwidthedt->setText(presetValue);
        if (preset.startsWith("barwidth=")) qobject_cast<TUpcEditor*>(form)->barwidth->setText(presetValue);
        const QString before = HintStarting(Build(message, addOn), hint);
        QVERIFY2(!before.isEmpty(), qPrintable(form->LastScan().details.join('\n')));
        const QRegularExpressionMatch match = QRegularExpression(advice).match(before);
        QVERIFY2(match.hasMatch(), qPrintable(before));
        const QString value = match.captured(1);
        if (setting == "fiwidth") main->fiwidth = value.toDouble();
        if (setting == "fdown") main->fdown = value.toDouble();
        if (setting == "fleft") main->fleft = value.toDouble();
        if (setting == "fright") main->fright = value.toDouble();
        if (setting == "font") main->font.size = value.toInt();
        if (setting == "ratio") qobject_cast<Tc39fm*>(form)->natiocbox->setCurrentText(value);
        if (setting == "barwidth") qobject_cast<TUpcEditor*>(form)->barwidth->setText(value);
        const ScanReport after = Build(message, addOn);
        const QString subject = hint.section(' ', 0, 2);
        QVERIFY2(HintStarting(after, subject).isEmpty(), qPrintable(after.hints.join('\n')));
        QVERIFY(!after.failed);
    }

    // Whatever the rest of a length, even a half that rounds to even, the mils advised grow
    // its pixels by the count asked; and they are the fewest whole mils worth more than it.
    void milsForIsEnoughAndNoMore_data()
    {
        QTest::addColumn<int>("resolution");
        for (int dpi : {72, 96, 120, 125, 200, 300}) QTest::addRow("%d dpi", dpi) << dpi;
    }
    void milsForIsEnoughAndNoMore()
    {
        QFETCH(int, resolution);
        const auto px = [resolution](double mils) { return engines::RoundToInt(mils / 1000 * resolution); };
        QList<double> rests;
        for (int k = 0; k < 20; ++k) rests << (k + 0.5) * 1000 / resolution << k * 1.37;
        for (int pixels = 1; pixels <= 40; ++pixels) {
            const int mils = MilsFor(pixels, resolution);
            for (double rest : rests)
                QVERIFY2(px(rest + mils) - px(rest) >= pixels,
                         qPrintable(QString("%1 px on %2").arg(pixels).arg(rest)));
            QVERIFY2((mils - 1) * resolution <= pixels * 1000,
                     qPrintable(QString("%1 px: %2 mils").arg(pixels).arg(mils)));
        }
    }

    // ---- the menu switch and the line's place -----------------------------------------

    void menuSwitchesTheCheckForTheRun()
    {
        OpenEditor(kEan13);
        QCOMPARE(main->ScanCheck1->text(), QString("Scan check"));
        QVERIFY(main->ScanCheck1->isCheckable());
        QVERIFY(main->ScanCheck1->isChecked());
        QVERIFY(!Build("590123412345").line.isEmpty());

        main->ScanCheck1->trigger();
        QVERIFY(!main->ScanCheck1->isChecked());
        QVERIFY(form->ScanLine->text().isEmpty());  // off takes the line away at once
        QVERIFY(form->ScanLine->accessibleDescription().isEmpty());
        QVERIFY(!form->ScanDetailsAction->isEnabled());
        Build("590123412345");
        QVERIFY(form->ScanLine->text().isEmpty());
        QVERIFY(form->ScanLine->toolTip().isEmpty());
        QVERIFY(form->LastScan().line.isEmpty());
        QVERIFY(!dir->Read("BCodeSetting.ini").contains("Scan"));

        main->ScanCheck1->trigger();
        QVERIFY(Build("590123412345").line.startsWith("Scanner reads EAN-13 5901234123457"));

        // A new run starts with the check on whatever the last one did.
        main->ScanCheck1->trigger();
        main.reset();
        main = MakeMainWindow();
        QVERIFY(main->ScanCheck1->isChecked());
    }

    void lineSitsBesidePreview_data()
    {
        QTest::addColumn<int>("editor");
        for (int i = 0; i < int(std::size(kEditors)); ++i) QTest::newRow(kEditors[i].name) << i;
    }
    void lineSitsBesidePreview()
    {
        QFETCH(int, editor);
        OpenEditor(editor);
        // Before the first build there is nothing to hold a picture against.
        form->CheckScan(Marker());
        QVERIFY(form->ScanLine->text().isEmpty());
        QVERIFY(!form->ScanDetailsAction->isEnabled());
        Build(kEditors[editor].message);
        QCOMPARE(form->Panel4->text(), QString("Preview"));
        QCOMPARE(form->Panel4->geometry(), QRect(0, 0, form->width(), 18));
        QCOMPARE(form->ScanLine->parentWidget(), form->Panel4);
        QVERIFY(form->Panel4->rect().contains(form->ScanLine->geometry()));
        const int captionRight = (form->width() + form->Panel4->fontMetrics().horizontalAdvance("Preview")) / 2;
        QVERIFY(form->ScanLine->x() > captionRight);
        const QRect line(form->ScanLine->mapTo(form, QPoint(0, 0)), form->ScanLine->size());
        const QRect preview(form->ScrollBox1->mapTo(form, QPoint(0, 0)), form->ScrollBox1->size());
        QVERIFY(!line.intersects(preview));
        QVERIFY(form->ScanLine->isVisibleTo(form));
        QVERIFY(!form->ScanLine->text().isEmpty());
    }
};

QTEST_MAIN(TestScanCheck)
#include "tst_scancheck.moc"
