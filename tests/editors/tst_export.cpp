// Exports from every editor: the PNG carries the size the editor drew for, SVG and PDF
// drawn again by the engine still scan once rendered, and a write that fails says why
// and leaves no file behind.
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "editors/bareditor.h"
#include "shell/mainform.h"
#include "support/decoder.h"
#include "support/guitest.h"

namespace {

constexpr double kMetresPerInch = 0.0254;

double PhysicalInches(int pixels, int dotsPerMeter) { return pixels / (dotsPerMeter * kMetresPerInch); }

// "Bar Code Width:   1.06 in" and the like: the figure the label shows.
double LabelInches(const QLabel* label)
{
    const auto match = QRegularExpression(QStringLiteral("([0-9]+[.,][0-9]+)")).match(label->text());
    return match.hasMatch() ? match.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble() : -1;
}

// Runs a program; its exit code, or -1 where it cannot start.
int Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(60000)) return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace

class TestExport : public QObject, public EditorBench<TBarEditor> {
    Q_OBJECT

    QTemporaryDir out_;

    void AddSymbologyRows()
    {
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("family");
        QTest::newRow("Code 39") << 0 << "RUVOLA-39" << int(Symbology::Code39);
        QTest::newRow("EAN-13") << 1 << "590123412345" << int(Symbology::EanUpc);
        QTest::newRow("EAN-8") << 2 << "9638507" << int(Symbology::EanUpc);
        QTest::newRow("UPC-A") << 3 << "03600029145" << int(Symbology::EanUpc);
        QTest::newRow("UPC-E") << 4 << "123456" << int(Symbology::EanUpc);
        QTest::newRow("Code 128") << 5 << "Ruvola 42-abc" << int(Symbology::Code128);
        QTest::newRow("GS1-128") << 6 << "(01)09501101530003(10)AB-123(17)250101" << int(Symbology::Code128);
        QTest::newRow("ITF-14") << 7 << "0001234567890" << int(Symbology::Itf);
    }

    // Opens the editor of row pick and builds message there, with no notice.
    void OpenAndBuild(int pick, const QString& message)
    {
        static constexpr void (Tmainfm::*kPicks[])() = {&Tmainfm::C391Click, &Tmainfm::ENA13Click, &Tmainfm::EAN81Click,
                                                        &Tmainfm::upca1Click, &Tmainfm::UPCE1Click,
                                                        &Tmainfm::Code1281Click, &Tmainfm::GS11281Click,
                                                        &Tmainfm::ITF141Click};
        QVERIFY(Open(kPicks[pick]));
        QVERIFY(!form->ExportAction->isEnabled());
        form->barcodeedt->setText(message);
        const QList<ModalSeen> seen = RunClosingModals([this] { form->Button1Click(); });
        QVERIFY2(seen.isEmpty(), qPrintable(seen.isEmpty() ? QString() : seen.first().text));
        QVERIFY(form->ExportAction->isEnabled());
    }

    QString Export(const QString& name)
    {
        const QString path = out_.filePath(name);
        QString error = QStringLiteral("not run");
        const QList<ModalSeen> seen = RunClosingModals([&] { error = form->ExportTo(path); });
        return error.isEmpty() && seen.isEmpty() ? path : QString();
    }

    int Resolution() const
    {
        return qRound(form->Image1->picture.dotsPerMeterX() * kMetresPerInch);
    }

private slots:
    void initTestCase() { QVERIFY(out_.isValid()); }
    void cleanup() { Close(); }

    void pngCarriesTrueSize_data() { AddSymbologyRows(); }
    void pngCarriesTrueSize()
    {
        QFETCH(int, pick);
        QFETCH(QString, message);
        QFETCH(int, family);
        OpenAndBuild(pick, message);
        const QImage built = form->Image1->picture;
        QVERIFY(Resolution() > 0);

        const QString path = Export(QStringLiteral("true-size-%1.png").arg(pick));
        QVERIFY(!path.isEmpty());
        QImageReader reader(path);
        const QImage png = reader.read();
        QVERIFY(!png.isNull());
        QCOMPARE(png.depth(), 1);  // black bars and text on white
        QCOMPARE(png.size(), built.size());
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), built.convertToFormat(QImage::Format_RGB32));
        const double width = PhysicalInches(png.width(), png.dotsPerMeterX());
        const double height = PhysicalInches(png.height(), png.dotsPerMeterY());
        QVERIFY(std::abs(width - double(built.width()) / Resolution()) < 0.01);
        QVERIFY(std::abs(height - double(built.height()) / Resolution()) < 0.01);
        if (pick == 0) {  // the Code 39 editor tells the size in its labels
            QVERIFY2(std::abs(width - LabelInches(form->Label5)) < 0.01, qPrintable(form->Label5->text()));
            QVERIFY2(std::abs(height - LabelInches(form->Label4)) < 0.01, qPrintable(form->Label4->text()));
        }
        QCOMPARE(DecodeSymbols(png, Symbology(family)), DecodeSymbols(built, Symbology(family)));
    }

    void vectorExportsScan_data()
    {
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("suffix");
        const QList<std::tuple<const char*, int, const char*, Symbology>> rows = {
            {"Code 39", 0, "RUVOLA-39", Symbology::Code39}, {"EAN-13", 1, "590123412345", Symbology::EanUpc},
            {"EAN-8", 2, "9638507", Symbology::EanUpc},     {"UPC-A", 3, "03600029145", Symbology::EanUpc},
            {"UPC-E", 4, "123456", Symbology::EanUpc},      {"Code 128", 5, "Ruvola 42-abc", Symbology::Code128},
            {"GS1-128", 6, "(01)09501101530003(10)AB-123(17)250101", Symbology::Code128},
            {"ITF-14", 7, "0001234567890", Symbology::Itf}};
        for (const auto& [name, pick, message, family] : rows)
            for (const char* suffix : {"svg", "pdf"})
                QTest::addRow("%s %s", name, suffix) << pick << QString(message) << int(family) << QString(suffix);
    }
    void vectorExportsScan()
    {
        QFETCH(int, pick);
        QFETCH(QString, message);
        QFETCH(int, family);
        QFETCH(QString, suffix);
        const QString tool = suffix == QLatin1String("svg") ? QStringLiteral("rsvg-convert") : QStringLiteral("pdftoppm");
        if (QStandardPaths::findExecutable(tool).isEmpty()) QSKIP(qPrintable(tool + " is not installed"));
        OpenAndBuild(pick, message);
        const QStringList expected = DecodeSymbols(form->Image1->picture, Symbology(family));
        QVERIFY(!expected.isEmpty());

        const QString path = Export(QStringLiteral("vector-%1.%2").arg(pick).arg(suffix));
        QVERIFY(!path.isEmpty());
        // Rendered at twice the resolution the symbol was drawn for.
        const QString dpi = QString::number(2 * Resolution());
        const QString png = path + QStringLiteral(".png");
        if (suffix == QLatin1String("svg")) {
            QFile svg(path);
            QVERIFY(svg.open(QIODevice::ReadOnly));
            const QByteArray text = svg.readAll();
            QVERIFY(text.contains("<rect ") && text.contains("<text "));
            QCOMPARE(Run(tool, {"--dpi-x", dpi, "--dpi-y", dpi, "-b", "white", "-o", png, path}), 0);
        } else {
            QCOMPARE(Run(tool, {"-r", dpi, "-png", "-singlefile", path, path}), 0);
        }
        const QImage rendered(png);
        QVERIFY(!rendered.isNull());
        // The page or drawing is the picture's physical size.
        QVERIFY(std::abs(rendered.width() - 2 * form->Image1->picture.width()) <= 2);
        QVERIFY(std::abs(rendered.height() - 2 * form->Image1->picture.height()) <= 2);
        QCOMPARE(DecodeSymbols(rendered, Symbology(family)), expected);
    }

    void unwritablePlaceSaysWhyAndLeavesNothing_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("png") << "png";
        QTest::newRow("svg") << "svg";
        QTest::newRow("pdf") << "pdf";
    }
    void unwritablePlaceSaysWhyAndLeavesNothing()
    {
        QFETCH(QString, suffix);
        OpenAndBuild(1, QStringLiteral("590123412345"));
        // A "directory" that is a plain file: refused even to root.
        const QString notADirectory = out_.filePath(QStringLiteral("plain-file"));
        {
            QFile file(notADirectory);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = notADirectory + QStringLiteral("/symbol.") + suffix;
        QString error;
        const QList<ModalSeen> seen = RunClosingModals([&] { error = form->ExportTo(path); });
        QVERIFY(error.startsWith(QStringLiteral("Cannot write '%1': ").arg(path)));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().text, error);
        QVERIFY(!QFile::exists(path));
    }

    void fullDiskSaysWhyAndLeavesNothing_data() { unwritablePlaceSaysWhyAndLeavesNothing_data(); }
    void fullDiskSaysWhyAndLeavesNothing()
    {
        QFETCH(QString, suffix);
        QTemporaryDir mountPoint;
        QVERIFY(mountPoint.isValid());
        // A small file system of its own, filled to the last block.
        if (Run(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint.path()}) != 0)
            QSKIP("cannot mount a small tmpfs here (needs root with mount rights)");
        const auto unmount = qScopeGuard([&] { Run(QStringLiteral("umount"), {mountPoint.path()}); });
        {
            QFile filler(mountPoint.filePath(QStringLiteral("filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        OpenAndBuild(1, QStringLiteral("590123412345"));
        const QString path = mountPoint.filePath(QStringLiteral("symbol.") + suffix);
        QString error;
        const QList<ModalSeen> seen = RunClosingModals([&] { error = form->ExportTo(path); });
        QVERIFY2(error.startsWith(QStringLiteral("Cannot write '%1': ").arg(path)), qPrintable(error));
        QCOMPARE(seen.size(), 1);
        QCOMPARE(QDir(mountPoint.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"filler"});
    }

    // A build refused after the editor has whitened its preview leaves no symbol on
    // show, so the last good one is not offered for export either.
    void refusedBuildWithdrawsExport_data()
    {
        QTest::addColumn<int>("pick");
        QTest::addColumn<QString>("message");
        QTest::newRow("C39") << 0 << "RUVOLA";
        QTest::newRow("EAN-13") << 1 << "590123412345";
    }
    void refusedBuildWithdrawsExport()
    {
        QFETCH(int, pick);
        QFETCH(QString, message);
        OpenAndBuild(pick, message);
        form->fheightedt->setText(QStringLiteral("1.2.3"));
        const QList<ModalSeen> seen = RunClosingModals([this] { form->Button1Click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().text, QStringLiteral("'1.2.3' is not a valid floating point value"));
        QVERIFY(!form->ExportAction->isEnabled());
        QCOMPARE(form->ScanLine->text(), QString());
        QString error;
        RunClosingModals([&] { error = form->ExportTo(out_.filePath(QStringLiteral("stale.png"))); });
        QCOMPARE(error, QStringLiteral("Build a symbol before exporting it."));
        QVERIFY(!QFile::exists(out_.filePath(QStringLiteral("stale.png"))));
    }

    void wrongSuffixIsRefused()
    {
        OpenAndBuild(1, QStringLiteral("590123412345"));
        QString error;
        RunClosingModals([&] { error = form->ExportTo(out_.filePath(QStringLiteral("symbol.bmp"))); });
        QCOMPARE(error, QStringLiteral("'symbol.bmp' is not a PNG, SVG or PDF file name."));
        QVERIFY(!QFile::exists(out_.filePath(QStringLiteral("symbol.bmp"))));
    }
};

QTEST_MAIN(TestExport)
#include "tst_export.moc"
