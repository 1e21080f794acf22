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
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include "editors/ENA13form.h"
#include "symbols/sharpprint.h"
#include "symbols/symbolbuild.h"
#include "engines/environment.h"
#include "platform/export.h"
#include "platform/qtcanvas.h"
#include "platform/screen.h"
#include "platform/whiteimage.h"
#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"
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
    // The program sets up the symbols' text face before it draws; the pictures drawn
    // here to compare with are drawn in the same face, whichever test runs first.
    void initTestCase() { platform::DesignFamily(); }

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
                             "ruvola-batch: line 6: 'qr' is not a symbology (code39, ean13, ean8, upca, upce, code128, gs1-128, itf14)",
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

    // Lines that would write one file: the first line's symbol is written, each later
    // one is told with both line numbers, however many files are written at once.
    void oneFileNameIsWrittenOnce_data()
    {
        QTest::addColumn<QString>("jobs");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QByteArray>("batch");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArrayList>("errors");
        const QByteArray three = "ean13,590123412345\nean13,400638133393\nupca,03600029145\n";
        const QByteArrayList told = {"ruvola-batch: line 2: 'label.png' was already written by line 1",
                                     "ruvola-batch: line 3: 'label.png' was already written by line 1"};
        for (const char* jobs : {"1", "4"}) {
            QTest::addRow("one name, %s job(s)", jobs) << jobs << "label.png" << three << "label.png" << told;
            QTest::addRow("A/B and A_B, %s job(s)", jobs)
                << jobs << "{message}.png" << QByteArray("code39,A/B\ncode39,A_B\n") << "A_B.png"
                << QByteArrayList{"ruvola-batch: line 2: 'A_B.png' was already written by line 1"};
        }
    }
    void oneFileNameIsWrittenOnce()
    {
        QFETCH(QString, jobs);
        QFETCH(QString, pattern);
        QFETCH(QByteArray, batch);
        QFETCH(QString, file);
        QFETCH(QByteArrayList, errors);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"-j", jobs, "-o", pattern, "--batch", "-"}, batch);
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err.trimmed().split('\n'), errors);
        QCOMPARE(Files(dir.path()), QStringList{file});
        const QString first = QString::fromUtf8(batch.left(batch.indexOf('\n')).split(',').at(1));
        const QStringList read = DecodeSymbols(QImage(dir.filePath(file)), first.contains('/') ? Symbology::Code39 : Symbology::EanUpc);
        QCOMPARE(read.size(), 1);
        QVERIFY2(read.first().startsWith(first), qPrintable(read.first()));
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
        // The 96 dpi layout, text and all, at the resolution asked for.
        inputs = symbols::AtResolution(inputs, 96, dpi);
        const symbols::Drawing drawing = symbols::Prepare(*kind, inputs);
        QVERIFY2(drawing.Drawable(), qPrintable(drawing.error));
        QImage editor = platform::WhiteImage(drawing.width, drawing.height);
        {
            platform::ImageCanvas canvas(editor);
            drawing.paint(canvas);
        }
        platform::SetResolution(editor, dpi);
        const QString exported = dir.filePath("exported.png");
        QCOMPARE(platform::ExportSymbol({drawing.width, drawing.height, dpi, drawing.paint}, exported), QString());
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

    // Labels on a sheet as ruvola-batch writes them: each the picture the editors draw
    // from the same inputs, dot for dot where the grid centres it on a page rendered at
    // the sheet's resolution, and stored one bit a dot, a symbol's copies as one image.
    void sheetLabelsAreTheEditorsPictures()
    {
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "pdftoppm (poppler-utils) is needed");
        const QString stock = QStringLiteral("custom:A4,100mmx50mm,2x5,5mm,10mm,100mm,55mm");
        constexpr int kDpi = 300, kCopies = 2;
        const struct {
            const char* symbology;
            const char* message;
            const char* addOn;
            const char* comment;
            double height, width;
        } lines[] = {{"ean13", "590123412345", "52", "Lot 7", 0.6, 1},
                     {"code39", "RUVOLA-39", "", "best before 12/2027", 0.5, 10},
                     {"upce", "123456", "", "x", 0.5, 13},
                     {"code128", "Ruvola 128", "", "", 0.5, 10}};
        QTemporaryDir dir;
        QByteArray batch;
        for (const auto& line : lines)
            batch += QStringLiteral("%1,%2,%3,%4,%5,%6\n")
                         .arg(line.symbology, line.message, line.addOn, line.comment)
                         .arg(line.height)
                         .arg(line.width)
                         .toUtf8();
        QFile file(dir.filePath("lines.csv"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(batch);
        file.close();
        const Outcome run = RunBatch(dir.path(), {"--sheet", stock, "--copies", QString::number(kCopies), "--batch",
                                                  "lines.csv", "-o", "sheet.pdf"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QString pdf = dir.filePath("sheet.pdf");
        QProcess::execute("pdftoppm", {"-r", QString::number(kDpi), "-gray", "-aa", "no", "-aaVector", "no", "-png",
                                       "-singlefile", pdf, dir.filePath("page")});
        const QImage page = QImage(dir.filePath("page.png")).convertToFormat(QImage::Format_Grayscale8);
        QVERIFY(!page.isNull());

        const sheets::CustomSheet custom = sheets::ParseCustomSheet(stock, sheets::LoadTemplates());
        QVERIFY2(custom.sheet, qPrintable(custom.refusal));
        const sheets::SheetGrid grid(*custom.sheet, kDpi);
        int label = 0;
        for (const auto& line : lines) {
            const auto kind = symbols::KindNamed(line.symbology);
            QVERIFY(kind);
            symbols::Inputs inputs = symbols::Defaults(*kind);
            inputs.message = line.message;
            inputs.addOn = line.addOn;
            inputs.comment = line.comment;
            inputs.height = line.height;
            inputs.width = line.width;
            inputs = symbols::AtResolution(inputs, 96, kDpi);
            const symbols::Drawing drawing = symbols::Prepare(*kind, inputs);
            QVERIFY2(drawing.Drawable(), qPrintable(drawing.error));
            QImage editor = platform::WhiteImage(drawing.width, drawing.height);
            {
                platform::ImageCanvas canvas(editor);
                drawing.paint(canvas);
            }
            const QImage drawn = editor.convertToFormat(QImage::Format_Grayscale8);
            for (int copy = 0; copy < kCopies; ++copy, ++label) {
                const QPoint corner = sheets::CentredCorner(grid.Label(label), drawn.size());
                const QImage printed = page.copy(QRect(corner, drawn.size()));
                int differing = 0, black = 0;
                for (int y = 0; y < drawn.height(); ++y)
                    for (int x = 0; x < drawn.width(); ++x) {
                        const bool dark = drawn.constScanLine(y)[x] < 128;
                        differing += (printed.constScanLine(y)[x] < 128) != dark;
                        black += dark;
                    }
                QVERIFY2(differing == 0, qPrintable(QStringLiteral("label %1: %2 dots differ").arg(label + 1).arg(differing)));
                QVERIFY(black > 0);
            }
        }

        QProcess list;
        list.start("pdfimages", {"-list", pdf});
        QVERIFY(list.waitForFinished(60000));
        // Two lines of heading, then a row for each image placed: page num type width
        // height color comp bpc enc interp object ID ...
        const QStringList rows = QString::fromLatin1(list.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).mid(2);
        QCOMPARE(rows.size(), label);
        QSet<QString> objects;
        for (const QString& row : rows) {
            const QStringList fields = row.simplified().split(' ');
            QVERIFY2(fields.value(7) == "1", qPrintable(row));
            objects.insert(fields.value(10));
        }
        QCOMPARE(objects.size(), int(std::size(lines)));
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
        QTest::newRow("unknown option last") << QStringList{"ean13", "590123412345", "--bogus"}
                                             << QByteArray("unknown option --bogus");
        QTest::newRow("no format in the name") << QStringList{"ean13", "590123412345", "-o", "x.gif"}
                                               << QByteArray("'x.gif' does not end in .png, .svg or .pdf");
        QTest::newRow("a batch to standard output") << QStringList{"--batch", "-", "-o", "-"}
                                                    << QByteArray("a batch cannot be written to standard output");
        QTest::newRow("unknown format") << QStringList{"ean13", "590123412345", "-o", "-", "--format", "gif"}
                                        << QByteArray("--format takes png, svg or pdf, not 'gif'");
        // Whole numbers only: a fraction is refused, never cut.
        QTest::newRow("fractional dpi") << QStringList{"ean13", "590123412345", "--dpi", "96.9"}
                                        << QByteArray("'96.9' for --dpi is not a whole number");
        QTest::newRow("fractional font size") << QStringList{"ean13", "590123412345", "--font-size", "8.5"}
                                              << QByteArray("'8.5' for --font-size is not a whole number");
        QTest::newRow("fractional jobs") << QStringList{"-j", "2.5", "--batch", "-"}
                                         << QByteArray("'2.5' for -j is not a whole number");
        QTest::newRow("fractional EAN-13 width") << QStringList{"ean13", "590123412345", "--width", "2.9"}
                                                 << QByteArray("'2.9' for --width is not a whole number of inches");
        QTest::newRow("unknown bearers") << QStringList{"itf14", "1540014128876", "--bearers", "box"}
                                         << QByteArray("--bearers takes frame, topbottom or none, not 'box'");
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

    void helpAndVersionExitZero_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("--help") << "--help" << QByteArray("usage: ruvola-batch");
        QTest::newRow("--version") << "--version" << QByteArray("ruvola-batch (Ruvola BarCode Generator) 1.");
        QTest::newRow("-V") << "-V" << QByteArray("ruvola-batch (Ruvola BarCode Generator) 1.");
    }
    void helpAndVersionExitZero()
    {
        QFETCH(QString, option);
        QFETCH(QByteArray, start);
        const Outcome run = RunBatch(QDir::tempPath(), {option});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.startsWith(start), run.out.constData());
        QVERIFY(run.err.isEmpty());
    }

    // One symbol to standard output, in the format asked for, and no file.
    void standardOutput_data()
    {
        QTest::addColumn<QStringList>("format");
        QTest::addColumn<QByteArray>("head");
        QTest::newRow("png by default") << QStringList{} << QByteArray("\x89PNG");
        QTest::newRow("svg") << QStringList{"--format", "svg"} << QByteArray("<?xml");
        QTest::newRow("pdf") << QStringList{"--format", "PDF"} << QByteArray("%PDF");
    }
    void standardOutput()
    {
        QFETCH(QStringList, format);
        QFETCH(QByteArray, head);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), QStringList{"ean8", "9638507", "-o", "-"} << format);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QVERIFY(run.out.startsWith(head));
        QCOMPARE(Files(dir.path()), QStringList{});
        if (head.startsWith("\x89PNG"))
            QCOMPARE(DecodeSymbols(QImage::fromData(run.out), Symbology::EanUpc), QStringList{"96385074"});
        if (head == "%PDF") QVERIFY(run.out.trimmed().endsWith("%%EOF"));
    }

    // Two lines the help says mean the same symbol are drawn alike: an empty field takes
    // the option, and blanks around an EAN/UPC number are no part of it.
    void sameSymbolFromEitherLine_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("read");
        QTest::newRow("empty comment field") << QStringList{"-c", "Lot 7"}
                                             << QByteArray("ean13,590123412345\nean13,590123412345,,\n")
                                             << "5901234123457";
        QTest::newRow("every field empty") << QStringList{"-c", "Lot 7", "--height", "0.8", "--width", "15", "--ratio", "2.5"}
                                           << QByteArray("code39,AB\ncode39,AB,,,,,\n") << "AB";
        QTest::newRow("blanks around an EAN-13 number") << QStringList{}
                                                        << QByteArray("ean13,590123412345\nean13, 590123412345\t\n")
                                                        << "5901234123457";
        QTest::newRow("blanks around a UPC-E number") << QStringList{} << QByteArray("upce,123456\n\"upce\",\" 123456 \"\n")
                                                      << "01234565";
    }
    void sameSymbolFromEitherLine()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, lines);
        QFETCH(QString, read);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), options << "-o" << "{line}.png" << "--batch" << "-", lines);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QCOMPARE(run.exitCode, 0);
        const QImage first(dir.filePath("1.png")), second(dir.filePath("2.png"));
        QVERIFY(!first.isNull());
        QCOMPARE(second, first);
        const bool code39 = lines.startsWith("code39");
        QCOMPARE(DecodeSymbols(first, code39 ? Symbology::Code39 : Symbology::EanUpc), QStringList{read});
    }

    // A message or comment longer than an editor's box takes is told before it is
    // encoded, also past the part of a line the reader keeps, and the next line is written.
    void overlongLinesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("error");
        const QByteArray message = "the message is longer than 32767 characters";
        QTest::newRow("message one over") << "code39," + QByteArray(32768, 'A') << message;
        QTest::newRow("message past the reader's part") << "code39," + QByteArray(3 << 20, 'A') << message;
        QTest::newRow("quoted message past the reader's part") << "code39,\"" + QByteArray(3 << 20, 'A') << message;
        QTest::newRow("comment") << "ean8,9638507,," + QByteArray(40000, 'c') << QByteArray("the comment is longer than 32767 characters");
        QTest::newRow("many fields") << "ean8,9638507" + QByteArray(3 << 20, ',')
                                     << QByteArray("is longer than 2097152 bytes");
    }
    void overlongLinesAreRefused()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, error);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"-o", "{line}.png", "--batch", "-"}, line + "\nean8,9638507\n");
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, "ruvola-batch: line 1: " + error + "\n");
        QCOMPARE(Files(dir.path()), QStringList{"2.png"});
    }

    // A told line is whole whatever the message held: control characters as escapes.
    void controlCharactersAreToldVisibly()
    {
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"-o", "{line}.png", "--batch", "-"},
                                     QByteArray("code39,A\0B\x01\x7f\n", 13) + "ean8,9638507\n");
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.err, QByteArray("ruvola-batch: line 1: The 'Bar code message' holds characters that Code 39 cannot "
                                     "encode: '\\0', '\\x01', '\\x7f'.\n"));
        QCOMPARE(Files(dir.path()), QStringList{"2.png"});
    }

    // An SVG file parses as XML whatever its texts hold; a control character shows as
    // its control picture.
    void svgIsXmlWhateverTheText()
    {
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"code39", "AB", "-c", QString::fromUtf8("tab\there\x01" "ctl\x7f"), "-o", "y.svg"});
        QCOMPARE(run.exitCode, 0);
        QFile file(dir.filePath("y.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString texts;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
                texts += xml.readElementText();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(texts.contains(QString::fromUtf8("tab\there\u2401ctl\u2421")), qPrintable(texts));
    }

    // At any --dpi the file is the 96 dpi layout at that resolution: the comment's row,
    // which puts the bars down by the text's size, grows with them, and the digits too.
    void textScalesWithTheResolution()
    {
        QTemporaryDir dir;
        for (const char* dpi : {"96", "600"})
            QCOMPARE(RunBatch(dir.path(), {"ean13", "590123412345", "-c", "Lot 7", "--dpi", dpi, "-o",
                                           QStringLiteral("%1.png").arg(dpi)}).exitCode, 0);
        const QImage small(dir.filePath("96.png")), large(dir.filePath("600.png"));
        const double factor = 600.0 / 96;
        // The top of the first bar: up from the middle of the picture while black.
        const auto barTop = [](const QImage& image) {
            const int middle = image.height() / 2;
            int x = 0;
            while (x < image.width() && image.pixel(x, middle) != qRgb(0, 0, 0)) ++x;
            int y = middle;
            while (y > 0 && image.pixel(x, y - 1) == qRgb(0, 0, 0)) --y;
            return y;
        };
        QVERIFY(barTop(small) > 0);
        // Each rounding may move an edge by a pixel either way.
        QVERIFY2(std::abs(barTop(large) - barTop(small) * factor) <= 2 * factor,
                 qPrintable(QStringLiteral("bars start at %1 against %2").arg(barTop(large)).arg(barTop(small))));
        QCOMPARE(DecodeSymbols(large, Symbology::EanUpc), QStringList{"5901234123457"});
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

    // An EAN/UPC number typed whole: the check digit a scanner reads from the short
    // form's symbol is dropped and gives the same file; any other is refused naming it,
    // in a batch with its line and for one symbol without.
    void wholeNumbersAreChecked_data()
    {
        QTest::addColumn<QString>("symbology");
        QTest::addColumn<QString>("message");
        QTest::newRow("ean13") << "ean13" << "590123412345";
        QTest::newRow("ean8") << "ean8" << "9638507";
        QTest::newRow("upca") << "upca" << "03600029145";
        QTest::newRow("upce") << "upce" << "123456";
        QTest::newRow("upce, last digit 3") << "upce" << "654323";
        QTest::newRow("itf14") << "itf14" << "1540014128876";
    }
    void wholeNumbersAreChecked()
    {
        QFETCH(QString, symbology);
        QFETCH(QString, message);
        QTemporaryDir dir;
        QCOMPARE(RunBatch(dir.path(), {symbology, message, "-o", "short.png"}).exitCode, 0);
        const Symbology family = symbology == "itf14" ? Symbology::Itf : Symbology::EanUpc;
        const QStringList read = DecodeSymbols(QImage(dir.filePath("short.png")), family);
        QCOMPARE(read.size(), 1);
        const QString whole = read.first();
        QCOMPARE(whole.size(), message.size() + (symbology == "upce" ? 2 : 1));
        const QChar right = whole.back();
        const QChar wrongDigit = QChar('0' + (right.digitValue() + 1) % 10);
        const QString wrong = whole.chopped(1) + wrongDigit;
        const QByteArray sentence = QStringLiteral("check digit %1 should be %2.").arg(wrongDigit, right).toUtf8();

        const Outcome batch = RunBatch(dir.path(), {"-o", "{line}.png", "--batch", "-"},
                                       (symbology + "," + whole + "\n" + symbology + "," + wrong + "\n").toUtf8());
        QCOMPARE(batch.exitCode, 1);
        QCOMPARE(batch.err, "ruvola-batch: line 2: " + sentence + "\n");
        QFile shortForm(dir.filePath("short.png")), wholeForm(dir.filePath("1.png"));
        QVERIFY(shortForm.open(QIODevice::ReadOnly) && wholeForm.open(QIODevice::ReadOnly));
        QCOMPARE(wholeForm.readAll(), shortForm.readAll());

        const Outcome one = RunBatch(dir.path(), {symbology, wrong, "-o", "wrong.png"});
        QCOMPARE(one.exitCode, 1);
        QCOMPARE(one.err, "ruvola-batch: " + sentence + "\n");
        QCOMPARE(Files(dir.path()), (QStringList{"1.png", "short.png"}));
    }

    // A number of the whole length that is not all digits is judged as before, and a
    // whole UPC-E number of another number system is refused.
    void wholeLengthsOtherwiseRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("EAN-13 with a letter last") << QStringList{"ean13", "590123412345X"}
                                                   << "The 'Bar code message' must contain 12 numbers.";
        QTest::newRow("UPC-A with a letter first") << QStringList{"upca", "X36000291452"}
                                                   << "The 'Bar code message' must contain 11 numbers.";
        QTest::newRow("UPC-E of number system 1") << QStringList{"upce", "11234565"}
                                                  << "an 8-digit UPC-E number starts with 0, the only number system drawn, not 1";
        QTest::newRow("Code 128 add-on") << QStringList{"code128", "ABC", "12"} << "Code 128 has no add-on";
        QTest::newRow("ITF-14 add-on") << QStringList{"itf14", "1540014128876", "12"} << "ITF-14 has no add-on";
        QTest::newRow("Code 128 beyond ASCII")
            << QStringList{"code128", QString::fromUtf8("Ruvola \u00e9")}
            << QString::fromUtf8("'\u00e9' (U+00E9) is not an ASCII character: Code 128 takes ASCII 0 to 127.");
        QTest::newRow("ITF-14 ratio below 2.25") << QStringList{"itf14", "1540014128876", "--ratio", "2.2"}
                                                 << "ITF-14's wide:narrow ratio must be 2.25 to 3.0.";
        QTest::newRow("Code 128 module below a pixel")
            << QStringList{"code128", "ABC", "--width", "5"}
            << "The bars would be less than one pixel wide at 96 dots per inch: make the 'Module Width' larger.";
        QTest::newRow("GS1-128 wrong check digit") << QStringList{"gs1-128", "(01)09501101530004"}
                                                   << "AI (01): check digit 4 should be 3.";
    }
    void wholeLengthsOtherwiseRefused()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), arguments << "-o" << "symbol.png");
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.err), "ruvola-batch: " + error + "\n");
        QCOMPARE(Files(dir.path()), QStringList{});
    }

    // Code 128, GS1-128 and ITF-14 read back as they were typed, at the screen's and a
    // printer's resolution, ITF-14 with each style of bearer bars.
    void newSymbologiesReadBack_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("read");
        const QString gs1 = "(01)09501101530003(17)250101(10)AB-123";
        for (const char* dpi : {"96", "300"}) {
            const QByteArray at = QByteArray(" at ") + dpi + " dpi";
            QTest::newRow("code128" + at) << QStringList{"code128", "Ruvola-128 abc", "--dpi", dpi}
                                          << int(Symbology::Code128) << "]C0Ruvola-128 abc";
            QTest::newRow("gs1-128" + at) << QStringList{"gs1-128", gs1, "--dpi", dpi} << int(Symbology::Code128)
                                          << "]C101095011015300031725010110AB-123";
            QTest::newRow("gs1-128, two fields of their own length" + at)
                << QStringList{"gs1-128", "(10)AB-123(21)RUV-7(01)09501101530003", "--dpi", dpi}
                << int(Symbology::Code128) << "]C110AB-123\x1d" "21RUV-7\x1d" "0109501101530003";
            for (const char* bearers : {"frame", "topbottom", "none"})
                QTest::newRow("itf14, bearers " + QByteArray(bearers) + at)
                    << QStringList{"itf14", "1540014128876", "--bearers", bearers, "--dpi", dpi} << int(Symbology::Itf)
                    << "15400141288763";
        }
        QTest::newRow("itf14 typed whole, narrowest ratio")
            << QStringList{"itf14", "15400141288763", "--ratio", "2.25"} << int(Symbology::Itf) << "15400141288763";
        QTest::newRow("gs1_128 and a comment") << QStringList{"gs1_128", gs1, "-c", "Lot 7"} << int(Symbology::Code128)
                                               << "]C101095011015300031725010110AB-123";
        QTest::newRow("GS1128 with page values")
            << QStringList{"GS1128", gs1, "--left", "50", "--top", "30", "--interval", "20"}
            << int(Symbology::Code128) << "]C101095011015300031725010110AB-123";
        QTest::newRow("code128 with control characters")
            << QStringList{"code128", "A\tb\x1f"} << int(Symbology::Code128) << "]C0A\tb\x1f";
    }
    void newSymbologiesReadBack()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, family);
        QFETCH(QString, read);
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), arguments << "-o" << "symbol.png");
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QCOMPARE(run.exitCode, 0);
        const QImage png(dir.filePath("symbol.png"));
        QCOMPARE(png.depth(), 1);
        QCOMPARE(DecodeSymbols(png, Symbology(family)), QStringList{read});
    }

    // A Code 128 symbol is its symbol characters (start, data, check) of 11 modules, the
    // 13-module stop and a quiet zone of 10 modules either side, and nothing more
    // without page values: 20 digits are 10 characters of code set C.
    void code128PictureIsItsModules()
    {
        QTemporaryDir dir;
        const Outcome run = RunBatch(dir.path(), {"code128", "12345678901234567890", "--width", "10", "-o", "c.png"});
        QCOMPARE(run.exitCode, 0);
        const QImage png(dir.filePath("c.png"));
        const int modules = 11 * (1 + 20 / 2 + 1) + 13;
        QCOMPARE(png.width(), modules + 2 * 10);
        QCOMPARE(DecodeSymbols(png, Symbology::Code128), QStringList{"]C012345678901234567890"});
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
