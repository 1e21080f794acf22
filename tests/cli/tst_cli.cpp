// The command-line generator run as a user runs it: one symbol from arguments, batches
// from a file and from standard input with good and bad lines, usage errors, an
// unwritable place, and the same picture as the editor makes from the same values,
// pixel for pixel for every symbology.
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QDeadlineTimer>
#include <QThread>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "editors/ENA13form.h"
#include "symbols/symbolbuild.h"
#include "engines/environment.h"
#include "platform/export.h"
#include "platform/qtcanvas.h"
#include "platform/screen.h"
#include "shell/mainform.h"
#include "support/decoder.h"
#include "support/guitest.h"

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray out, err;
};

Outcome RunBatch(const QString& workDir, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStringLiteral(RUVOLA_BATCH), arguments);
    if (!process.waitForStarted()) return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList Files(const QString& dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    names.sort();
    return names;
}

}  // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    void batchWritesGoodLinesAndTellsBadOnes_data()
    {
        QTest::addColumn<bool>("fromStdin");
        QTest::addColumn<QString>("jobs");
        QTest::newRow("file") << false << "1";
        QTest::newRow("standard input") << true << "1";
        QTest::newRow("file, 4 jobs") << false << "4";
        QTest::newRow("standard input, 3 jobs") << true << "3";
    }
    void batchWritesGoodLinesAndTellsBadOnes()
    {
        QFETCH(bool, fromStdin);
        QFETCH(QString, jobs);
        QTemporaryDir dir;
        const QByteArray batch = "# symbology,message,add-on,comment,height,width,ratio\n"
                                 "ean13,590123412345,12,Lot 7\n"
                                 "ean13,5901234\n"
                                 "code39,\"RUVOLA_39\",,,1.0,20,2.5\n"
                                 "\n"
                                 "qr,hello\n"
                                 "upca,03600029145,,,x\n"
                                 "upce,123456\r\n"
                                 "ean8,9638507,123\n"
                                 "code39,\"open\n"
                                 "ean8,9638507,54321\n";
        QStringList arguments = {"-o", "{line}-{symbology}.png", "--jobs", jobs, "--batch"};
        if (fromStdin) {
            arguments << "-";
        } else {
            QFile file(dir.filePath("list.csv"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(batch);
            file.close();
            arguments << "list.csv";
        }
        const Outcome run = RunBatch(dir.path(), arguments, fromStdin ? batch : QByteArray());
        QCOMPARE(run.exitCode, 1);
        const QByteArrayList errors = run.err.trimmed().split('\n');
        QCOMPARE(errors, (QByteArrayList{
                             "ruvola-batch: line 3: The 'Bar code message' must contain 12 numbers.",
                             "ruvola-batch: line 6: 'qr' is not a symbology (code39, ean13, ean8, upca, upce)",
                             "ruvola-batch: line 7: the height 'x' is not a number",
                             "ruvola-batch: line 9: The 'Ean8 Supplemental' must contain 2 or 5 numbers.",
                             "ruvola-batch: line 10: has an unclosed quote",
                         }));
        QStringList expected = {"11-ean8.png", "2-ean13.png", "4-code39.png", "8-upce.png"};
        if (!fromStdin) expected.append("list.csv");
        expected.sort();
        QCOMPARE(Files(dir.path()), expected);

        const struct {
            const char* file;
            Symbology family;
            QString read;
        } reads[] = {
            {"2-ean13.png", Symbology::EanUpcWithAddOn, "5901234123457 12"},
            {"4-code39.png", Symbology::Code39, "RUVOLA 39"},
            {"8-upce.png", Symbology::EanUpc, "01234565"},
            {"11-ean8.png", Symbology::EanUpcWithAddOn, "96385074 54321"},
        };
        for (const auto& r : reads) {
            const QImage png(dir.filePath(r.file));
            QVERIFY2(!png.isNull(), r.file);
            QCOMPARE(png.depth(), 1);
            QCOMPARE(png.dotsPerMeterX(), 3780);  // 96 dpi
            QCOMPARE(DecodeSymbols(png, r.family).join(' '), r.read);
        }
    }

    // Lines that name the same file: the last line's symbol is the one left, however
    // many files are written at once, and the other formats wait their turn.
    void sameNameKeepsTheLastLine_data()
    {
        QTest::addColumn<QString>("jobs");
        QTest::newRow("1 job") << "1";
        QTest::newRow("4 jobs") << "4";
    }
    void sameNameKeepsTheLastLine()
    {
        QFETCH(QString, jobs);
        QTemporaryDir dir;
        QByteArray batch;
        for (int i = 0; i < 40; ++i) batch += "ean13,5901234123" + QByteArray::number(10 + i) + "\n";
        const Outcome run = RunBatch(dir.path(), {"-j", jobs, "-o", "same.png", "--batch", "-"}, batch);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QCOMPARE(Files(dir.path()), QStringList{"same.png"});
        QCOMPARE(DecodeSymbols(QImage(dir.filePath("same.png")), Symbology::EanUpc), QStringList{"5901234123495"});
    }

    // Runs of bad lines longer than the queue, between good ones: every good line's
    // file is written once, with its own symbol, and every bad one is told in order;
    // files that cannot be written are told from the writing threads in line order too.
    void longRunsOfBadLines_data()
    {
        QTest::addColumn<QString>("jobs");
        QTest::addColumn<bool>("writable");
        QTest::newRow("1 job") << "1" << true;
        QTest::newRow("2 jobs") << "2" << true;
        QTest::newRow("4 jobs") << "4" << true;
        QTest::newRow("2 jobs, nowhere to write") << "2" << false;
    }
    void longRunsOfBadLines()
    {
        QFETCH(QString, jobs);
        QFETCH(bool, writable);
        QTemporaryDir dir;
        QByteArray batch;
        QByteArrayList expectedErrors;
        QStringList expectedFiles;
        int line = 0;
        for (int run = 0; run < 3; ++run) {
            for (int i = 0; i < 150; ++i) {
                batch += "ean13,123\n";
                expectedErrors << "ruvola-batch: line " + QByteArray::number(++line) +
                                      ": The 'Bar code message' must contain 12 numbers.";
            }
            for (int i = 0; i < 40; ++i) {
                const QByteArray message = "5901234" + QByteArray::number(10000 + run * 100 + i);
                batch += "ean13," + message + "\n";
                ++line;
                if (writable) expectedFiles << message + ".png";
                else expectedErrors << "ruvola-batch: line " + QByteArray::number(line) + ": Cannot write 'none/" +
                                           message + ".png': ";
            }
        }
        const QString pattern = writable ? "{message}.png" : "none/{message}.png";
        const Outcome run = RunBatch(dir.path(), {"-j", jobs, "-o", pattern, "--batch", "-"}, batch);
        QCOMPARE(run.exitCode, 1);
        const QByteArrayList errors = run.err.trimmed().split('\n');
        QCOMPARE(errors.size(), expectedErrors.size());
        for (qsizetype i = 0; i < errors.size(); ++i)
            QVERIFY2(errors[i].startsWith(expectedErrors[i]), errors[i].constData());
        expectedFiles.sort();
        QCOMPARE(Files(dir.path()), expectedFiles);
        for (const QString& file : expectedFiles) {
            const QStringList read = DecodeSymbols(QImage(dir.filePath(file)), Symbology::EanUpc);
            QCOMPARE(read.size(), 1);
            QCOMPARE(read.first().left(12), file.left(12));
        }
    }

    void oneSymbolInEachFormat_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("png") << "symbol.png";
        QTest::newRow("svg") << "symbol.svg";
        QTest::newRow("pdf") << "symbol.pdf";
    }
    void oneSymbolInEachFormat()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"upca", "03600029145", "-o", name, "--dpi", "200"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        QCOMPARE(Files(dir.path()), QStringList{name});
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(16);
        if (name.endsWith("png")) QVERIFY(head.startsWith("\x89PNG"));
        if (name.endsWith("svg")) QVERIFY(head.startsWith("<?xml"));
        if (name.endsWith("pdf")) QVERIFY(head.startsWith("%PDF"));
    }

    // The editor and the generator at the same resolution and values: the same symbol.
    void samePictureAsTheEditor()
    {
        EditorBench<Tena13fm> bench;
        QVERIFY(bench.Open(&Tmainfm::ENA13Click));
        bench.form->barcodeedt->setText("400638133393");
        bench.form->Edit1->setText("52");
        bench.form->heardtextedt->setText("Ruvola");
        QVERIFY(RunClosingModals([&] { bench.form->Button1Click(); }).isEmpty());
        const QImage editor = bench.form->Image1->picture;
        const int dpi = qRound(editor.dotsPerMeterX() * 0.0254);
        bench.Close();

        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"ean13", "400638133393", "52", "-c", "Ruvola", "--dpi",
                                                  QString::number(dpi), "-o", "same.png"});
        QCOMPARE(run.exitCode, 0);
        const QImage cli(dir.filePath("same.png"));
        QCOMPARE(cli.size(), editor.size());
        // Bars, add-on, margins and the text in the same face, pixel for pixel.
        const QImage a = cli.convertToFormat(QImage::Format_RGB32), b = editor.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < a.height(); ++y)
            QVERIFY2(std::memcmp(a.constScanLine(y), b.constScanLine(y), std::size_t(a.width()) * 4) == 0,
                     qPrintable(QStringLiteral("row %1 differs").arg(y)));
        QCOMPARE(DecodeSymbols(cli, Symbology::EanUpcWithAddOn), DecodeSymbols(editor, Symbology::EanUpcWithAddOn));
    }

    // The generator's PNG against the picture the editors draw (an image canvas on a
    // white picture) from the same inputs, and against that picture's PNG as the
    // editors export it: every pixel, the bit depth and the physical size.
    void pngIsTheEditorsPicture_data()
    {
        QTest::addColumn<QString>("symbology");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("dpi");
        const struct {
            const char* name;
            const char* message;
        } symbologies[] = {{"code39", "RUVOLA-39"}, {"ean13", "590123412345"}, {"ean8", "9638507"},
                           {"upca", "03600029145"}, {"upce", "123456"}};
        for (const auto& s : symbologies)
            for (const char* addOn : {"", "12", "54321"})
                for (const char* comment : {"", "Lot 7, best before 12/2027"}) {
                    if (QLatin1String(s.name) == QLatin1String("code39") && *addOn) continue;
                    const QByteArray tag = QByteArray(s.name) + " add-on '" + addOn + "' comment '" + comment + "'";
                    QTest::newRow(tag.constData()) << s.name << s.message << addOn << comment << 96;
                }
        QTest::newRow("ean13 at 200 dpi") << "ean13" << "400638133393" << "52" << "Ruvola" << 200;
        QTest::newRow("code39 at 300 dpi") << "code39" << "ABC" << "" << "Ruvola" << 300;
    }
    void pngIsTheEditorsPicture()
    {
        QFETCH(QString, symbology);
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        QFETCH(QString, comment);
        QFETCH(int, dpi);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {symbology, message, addOn, "-c", comment, "--dpi", QString::number(dpi),
                                                  "-o", "fast.png"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QImage fast(dir.filePath("fast.png"));
        QVERIFY(!fast.isNull());

        const auto kind = symbols::KindNamed(symbology.toStdString());
        QVERIFY(kind);
        symbols::Inputs inputs = symbols::Defaults(*kind);
        inputs.message = message.toStdString();
        inputs.addOn = addOn.toStdString();
        inputs.comment = comment.toStdString();
        inputs.resolution = dpi;
        const symbols::Drawing drawing = symbols::Prepare(*kind, inputs);
        QVERIFY2(drawing.Drawable(), qPrintable(drawing.error));
        QImage editor = platform::WhiteImage(drawing.width, drawing.height);
        {
            platform::ImageCanvas canvas(editor);
            drawing.paint(canvas);
        }
        platform::SetResolution(editor, dpi);
        const QString exported = dir.filePath("exported.png");
        QCOMPARE(platform::ExportSymbol({editor, dpi, drawing.paint}, exported), QString());
        const QImage qtPng(exported);

        QCOMPARE(fast.depth(), 1);
        QCOMPARE(fast.depth(), qtPng.depth());
        QCOMPARE(fast.size(), editor.size());
        QCOMPARE(fast.dotsPerMeterX(), editor.dotsPerMeterX());
        QCOMPARE(fast.dotsPerMeterY(), editor.dotsPerMeterY());
        QCOMPARE(fast.dotsPerMeterX(), qtPng.dotsPerMeterX());
        const QImage a = fast.convertToFormat(QImage::Format_RGB32);
        for (const QImage& b : {editor, qtPng.convertToFormat(QImage::Format_RGB32)})
            for (int y = 0; y < a.height(); ++y)
                QVERIFY2(std::memcmp(a.constScanLine(y), b.constScanLine(y), std::size_t(a.width()) * 4) == 0,
                         qPrintable(QStringLiteral("row %1 differs").arg(y)));
        // The text and the bars are all there: not two blank pictures alike.
        int black = 0;
        for (int y = 0; y < fast.height(); ++y)
            for (int x = 0; x < fast.width(); ++x) black += fast.pixel(x, y) == qRgb(0, 0, 0);
        QVERIFY(black > 0);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("nothing") << QStringList{} << QByteArray("give SYMBOLOGY MESSAGE [ADD-ON], or --batch FILE");
        QTest::newRow("unknown option") << QStringList{"--colour", "red", "ean13", "590123412345"}
                                        << QByteArray("unknown option --colour");
        QTest::newRow("no value") << QStringList{"ean13", "590123412345", "--height"}
                                  << QByteArray("option --height needs a value");
        QTest::newRow("not a number") << QStringList{"--dpi", "many", "ean13", "590123412345"}
                                      << QByteArray("'many' for --dpi is not a number");
        QTest::newRow("batch and symbol") << QStringList{"--batch", "-", "ean13", "590123412345"}
                                          << QByteArray("--batch takes no symbol arguments");
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("ruvola-batch: " + message + "\n"), run.err.constData());
        QVERIFY(run.err.contains("--help"));
        QCOMPARE(Files(dir.path()), QStringList{});
    }

    void helpExitsZero()
    {
        const Outcome run = RunBatch(QDir::tempPath(), {"--help"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("usage: ruvola-batch"));
        QVERIFY(run.out.contains("symbology,message,add-on,comment,height,width,ratio"));
    }

    // Characters Code 39 has no pattern for are named whole, ten at the most, as the
    // editor names them.
    void code39NamesForeignCharactersWhole()
    {
        QTemporaryDir dir;
        QByteArray many;
        for (char32_t c = U'\u4e00'; c < U'\u4e00' + 30; ++c) many += QString::fromUcs4(&c, 1).toUtf8();
        const Outcome run = RunBatch(dir.path(), {"-o", "{line}.png", "--batch", "-"},
                                     "code39,AB\xe6\x9d\xa1" "C\ncode39," + many + "\n");
        QCOMPARE(run.exitCode, 1);
        const QStringList errors = QString::fromUtf8(run.err).trimmed().split('\n');
        QCOMPARE(errors,
                 (QStringList{
                     QString::fromUtf8("ruvola-batch: line 1: The 'Bar code message' holds characters that Code 39 "
                                       "cannot encode: '\xe6\x9d\xa1'."),
                     QString::fromUtf8("ruvola-batch: line 2: The 'Bar code message' holds characters that Code 39 "
                                       "cannot encode: '\xe4\xb8\x80', '\xe4\xb8\x81', '\xe4\xb8\x82', "
                                       "'\xe4\xb8\x83', '\xe4\xb8\x84', '\xe4\xb8\x85', '\xe4\xb8\x86', "
                                       "'\xe4\xb8\x87', '\xe4\xb8\x88', '\xe4\xb8\x89' and 20 more."),
                 }));
        QCOMPARE(Files(dir.path()), QStringList{});
    }

    // A batch ended by Ctrl-C or a TERM at any moment leaves whole files only: every PNG
    // there ends in its end chunk, and no part file is left beside them.
    void interruptedBatchLeavesWholeFiles_data()
    {
        QTest::addColumn<QString>("jobs");
        QTest::newRow("1 job") << "1";
        QTest::newRow("2 jobs") << "2";
        QTest::newRow("4 jobs") << "4";
    }
    void interruptedBatchLeavesWholeFiles()
    {
        QFETCH(QString, jobs);
        QByteArray batch;
        for (int i = 0; i < 100000; ++i) batch += "ean13," + QByteArray::number(590000000000LL + i) + "\n";
        QTemporaryDir listDir;
        QFile list(listDir.filePath("list.csv"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(batch);
        list.close();
        QRandomGenerator random(7);
        int filesSeen = 0;
        for (int round = 0; round < 15; ++round) {
            QTemporaryDir dir;
            QProcess process;
            process.setWorkingDirectory(dir.path());
            process.start(QStringLiteral(RUVOLA_BATCH), {"-j", jobs, "-o", "{line}.png", "--batch", list.fileName()});
            QVERIFY(process.waitForStarted());
            // Interrupted once files are being written, at a moment that varies.
            QDeadlineTimer deadline(20000);
            while (QDir(dir.path()).isEmpty(QDir::Files | QDir::Hidden) && !deadline.hasExpired()) QThread::msleep(1);
            QThread::usleep(random.bounded(20000));
            process.terminate();
            QVERIFY(process.waitForFinished(20000));
            QCOMPARE(process.exitStatus(), QProcess::CrashExit);
            const QStringList files = Files(dir.path());
            QVERIFY(!files.isEmpty());
            filesSeen += files.size();
            for (const QString& name : files) {
                QVERIFY2(name.endsWith(".png") && !name.startsWith('.'), qPrintable(name));
                QFile file(dir.filePath(name));
                QVERIFY(file.open(QIODevice::ReadOnly));
                QVERIFY2(file.readAll().endsWith(QByteArray("IEND\xae\x42\x60\x82", 8)), qPrintable(name));
            }
        }
        qInfo("%d whole files in 15 interrupted batches", filesSeen);
    }

    // Digits of another script are counted and named as whole characters, with the
    // editors' messages, and nothing is written.
    void otherScriptDigitsAreRefusedWhole_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const QString arabic = QString::fromUtf8("\u0660\u0663\u0666\u0660\u0660\u0660\u0662\u0669\u0661\u0664\u0665");
        QTest::newRow("UPC-A message") << QStringList{"upca", arabic} << QString("'%1' is not a valid integer value").arg(arabic[0]);
        QTest::newRow("EAN-13 message") << QStringList{"ean13", arabic + arabic[0]}
                                        << QString("The 'Bar code message' holds '%1', which is not a digit.").arg(arabic[0]);
        QTest::newRow("EAN-13 add-on") << QStringList{"ean13", "590123412345", arabic.left(2)}
                                       << QString("'%1' is not a valid integer value").arg(arabic.left(2));
        QTest::newRow("UPC-E add-on") << QStringList{"upce", "123456", arabic.left(5)}
                                      << QString("'%1' is not a valid integer value").arg(arabic[0]);
    }
    void otherScriptDigitsAreRefusedWhole()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), arguments << "-o" << "symbol.png");
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err).trimmed(), "ruvola-batch: " + error);
        QCOMPARE(Files(dir.path()), QStringList{});
    }

    void unwritablePlaceIsABadSymbol()
    {
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const Outcome run = RunBatch(dir.path(), {"ean8", "9638507", "-o", "plain/symbol.png"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("ruvola-batch: Cannot write '" + dir.filePath("plain/symbol.png").toUtf8() + "': ") ||
                     run.err.startsWith("ruvola-batch: Cannot write 'plain/symbol.png': "),
                 run.err.constData());
        QCOMPARE(Files(dir.path()), QStringList{"plain"});
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
