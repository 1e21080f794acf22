// A long session in one process: a few hundred rounds of picking a symbology from the
// main window's menu, building, turning, printing to a PDF through the print option
// dialog and turning back, across all five editors. Every round must give a symbol
// that scans and a printed page, and the process must not grow from round to round.
// The round count comes from RUVOLA_SOAK_ROUNDS (300 when unset), so that a sanitizer
// build can run fewer.
#include <malloc.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "editors/bareditor.h"
#include "engines/environment.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "shell/mainform.h"
#include "shell/printunit.h"
#include "support/decoder.h"
#include "support/guitest.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Resident memory of this process in KiB, after handing freed heap back to the
// system: what is left is what the process still holds.
long ResidentKiB()
{
    malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

struct Row {
    QAction* Tmainfm::*item;
    QString name;
    QString message;  // Code 39 gets the round number behind it
    QString decoded;
    Symbology symbology;
};

}  // namespace

class TestSoak : public QObject {
    Q_OBJECT

private slots:
    void manyRoundsThroughEveryEditor()
    {
        const int rounds = qEnvironmentVariableIntValue("RUVOLA_SOAK_ROUNDS") > 0
                               ? qEnvironmentVariableIntValue("RUVOLA_SOAK_ROUNDS")
                               : 300;
        // Measured from the sixth of the run, once fonts, glyph caches and the PDF
        // engine's first allocations are made.
        const int warmRound = rounds / 6;
        ExeDirFixture dir;
        const std::unique_ptr<Tmainfm> main = MakeMainWindow();
        engines::SetScreenResolutionSource([] { return 96; });
        platform::SetClipboardWriter({});
        main->fleft = main->fright = 300;  // quiet zones for every symbology
        main->ftop = main->fdown = main->fiwidth = 50;
        const QString pdf = dir.Path(QStringLiteral("soak.pdf"));
        main->Printer()->setOutputFormat(QPrinter::PdfFormat);
        main->Printer()->setOutputFileName(pdf);
        main->Printer()->setResolution(300);

        const Row rows[] = {
            {&Tmainfm::C391, "Bar Code C39", "SOAK-", "SOAK-", Symbology::Code39},
            {&Tmainfm::ENA13, "Bar Code ENA13", "590123412345", "5901234123457", Symbology::EanUpc},
            {&Tmainfm::upca1, "Bar Code UPC-A", "03600029145", "036000291452", Symbology::EanUpc},
            {&Tmainfm::EAN81, "Bar Code ENA8", "9638507", "96385074", Symbology::EanUpc},
            {&Tmainfm::UPCE1, "Bar Code UPC-E", "123456", "01234565", Symbology::EanUpc},
        };
        long warmKiB = -1;
        QStringList samples;  // resident KiB along the way, for the log
        for (int round = 0; round < rounds; ++round) {
            const Row& row = rows[round % 5];
            const bool code39 = row.symbology == Symbology::Code39;
            QVERIFY(RunClosingModals([&] { (main.get()->*row.item)->trigger(); }).isEmpty());
            QCOMPARE(platform::IniFile(platform::SettingsPath()).ReadString("Symbology", "Checked"), row.name);
            auto* editor = qobject_cast<TBarEditor*>(main->barform);
            QVERIFY(editor);

            editor->barcodeedt->setText(code39 ? row.message + QString::number(round) : row.message);
            editor->heardtextedt->setText(QStringLiteral("round %1").arg(round));
            QVERIFY(RunClosingModals([&] { editor->Button1Click(); }).isEmpty());
            const QImage built = Rgb32(editor->Image1->picture);
            QVERIFY(!AllWhite(built));
            QCOMPARE(ClipboardImage(), built);
            const QString expected = code39 ? row.decoded + QString::number(round) : row.decoded;
            QVERIFY2(DecodeSymbols(built, row.symbology).contains(expected),
                     qPrintable(QStringLiteral("round %1: %2 does not scan").arg(round).arg(expected)));

            editor->ToolButton5->click();
            QVERIFY(IsQuarterTurnOf(editor->Image1->picture, built));

            QFile::remove(pdf);
            const auto seen = RunClosingModals([&] { editor->Button4->click(); }, [](QWidget* modal) {
                if (auto* dialog = qobject_cast<Tpringfm*>(modal)) dialog->Button1Click();
            });
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].className, QStringLiteral("Tpringfm"));
            QFile printed(pdf);
            QVERIFY2(printed.open(QIODevice::ReadOnly) && printed.read(5) == "%PDF-",
                     qPrintable(QStringLiteral("round %1 printed no page").arg(round)));

            editor->ToolButton3->click();
            QCOMPARE(Rgb32(editor->Image1->picture), built);

            if (round == warmRound) warmKiB = ResidentKiB();
            if (warmRound > 0 && round % warmRound == 0) samples << QString::number(ResidentKiB());
        }
        const long endKiB = ResidentKiB();
        qInfo("%d rounds: resident %ld KiB after round %d, %ld KiB at the end (%+ld KiB); every %d rounds: %s", rounds,
              warmKiB, warmRound, endKiB, endKiB - warmKiB, warmRound, qPrintable(samples.join(' ')));
        if (kAddressSanitizer) {
            qInfo("no bound on resident memory under AddressSanitizer, which keeps freed blocks; its leak check counts");
            return;
        }
        QVERIFY(warmKiB > 0 && endKiB > 0);
        // A round makes pictures of some 100 KiB and an editor of a few dozen widgets;
        // keeping any of them per round would add far more than 8 MiB over 250 rounds,
        // while caches that settle stay well below it.
        QVERIFY2(endKiB - warmKiB < 8 * 1024, qPrintable(QStringLiteral("grew %1 KiB").arg(endKiB - warmKiB)));
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
