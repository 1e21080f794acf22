// ruvola-batch --sheet run as a user runs it: sheets of labels rendered at the printer's
// resolution and read back label by label, in order, each symbol where the template's
// own numbers put its label and dot for dot the symbol ruvola-batch draws alone.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "support/decoder.h"

namespace {

struct Outcome {
    int exitCode = -1;
    QByteArray err;
};

Outcome Run(const QString& program, const QString& workDir, const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), process.readAllStandardError()};
}

Outcome Batch(const QString& workDir, const QStringList& arguments)
{
    return Run(QStringLiteral(RUVOLA_BATCH), workDir, arguments);
}

void WriteFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// A sheet's geometry in inches, as its maker publishes it.
struct Geometry {
    double x0, y0, dx, dy, w, h;
    int nx, ny;
};

// The box of black pixels of a grey picture within area; null when there are none.
QRect BlackBox(const QImage& gray, const QRect& area)
{
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    const QRect inside = area & gray.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* row = gray.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (row[x] < 128) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    }
    return left == INT_MAX ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Both grey pictures alike, dark for dark, with symbol's corner at at.
bool SamePixels(const QImage& sheet, QPoint at, const QImage& symbol)
{
    if (!sheet.rect().contains(QRect(at, symbol.size()))) return false;
    for (int y = 0; y < symbol.height(); ++y) {
        const uchar* on = sheet.constScanLine(at.y() + y) + at.x();
        const uchar* own = symbol.constScanLine(y);
        for (int x = 0; x < symbol.width(); ++x)
            if ((on[x] < 128) != (own[x] < 128)) return false;
    }
    return true;
}

}  // namespace

class TestSheetCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "pdftoppm (poppler-utils) is needed");
    }

    // Each row: the sheet's options and the symbol's, the batch (or none), and what each
    // label of each sheet must read, "" for a label left blank.
    void labelsReadBackWhereTheTemplatePutsThem_data()
    {
        QTest::addColumn<QStringList>("sheetArguments");
        QTest::addColumn<QStringList>("symbolArguments");
        QTest::addColumn<QByteArray>("batch");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QVariantList>("geometry");  // x0, y0, dx, dy, w, h, nx, ny
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QStringList>("labels");     // sheet after sheet
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("told");

        const QVariantList avery5160 = {0.15625, 0.5, 2.78125, 1.0, 2.625, 1.0, 3, 10};
        const QVariantList averyL7651 = {4.7 / 25.4, 10.9 / 25.4, 40.6 / 25.4, 21.2 / 25.4, 38.1 / 25.4, 21.2 / 25.4, 5, 13};
        const auto ean13 = [](long long first, int count) {
            QStringList read;
            for (int i = 0; i < count; ++i) {
                const QString digits = QString::number(first + i);
                int sum = 0;
                for (int d = 0; d < 12; ++d) sum += (digits[d].digitValue()) * (d % 2 ? 3 : 1);
                read << digits + QString::number((10 - sum % 10) % 10);
            }
            return read;
        };
        QByteArray lines30, lines100;
        for (int i = 0; i < 100; ++i) (i < 30 ? lines30 : lines100) += "ean13," + QByteArray::number(590123412000LL + i) + ",,,0.5\n";
        lines100 = lines30 + lines100;

        QTest::newRow("Avery 5160, 30 lines, one Letter sheet at 300 dpi")
            << QStringList{"--sheet", "Avery 5160"} << QStringList{"--height", "0.5"} << lines30 << 300 << avery5160
            << int(Symbology::EanUpc) << ean13(590123412000LL, 30) << 0 << QByteArray();
        QTest::newRow("Avery L7651, 100 lines, two A4 sheets at 300 dpi")
            << QStringList{"--sheet", "Avery L7651", "--width", "1"} << QStringList{"--height", "0.5", "--width", "1"}
            << lines100 << 300 << averyL7651 << int(Symbology::EanUpc)
            << ean13(590123412000LL, 100) + QStringList(30, QString()) << 0 << QByteArray();
        QTest::newRow("8160 (an equivalent of 5160) at 203 dpi, a sequence of 12 from label 8")
            << QStringList{"--sheet", "8160", "--sheet-start", "8", "--count", "12", "--dpi", "203", "--height", "0.5",
                           "ean13", "590123412345"}
            << QStringList{"--height", "0.5"} << QByteArray() << 203 << avery5160 << int(Symbology::EanUpc)
            << QStringList(7, QString()) + ean13(590123412345LL, 12) + QStringList(11, QString()) << 0 << QByteArray();
        QTest::newRow("custom layout, Code 39 copies counting its trailing digits")
            << QStringList{"--sheet", "custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "--copies", "2",
                           "--count", "2", "--sheet-start", "20", "--height", "0.5", "--width", "15"}
            << QStringList{"--height", "0.5", "--width", "15"} << QByteArray("code39,LOT0099\n") << 300
            << QVariantList{7.2 / 25.4, 15.15 / 25.4, 66 / 25.4, 38.1 / 25.4, 63.5 / 25.4, 38.1 / 25.4, 3, 7}
            << int(Symbology::Code39)
            << QStringList(19, QString()) + QStringList{"LOT0099", "LOT0099"} + QStringList{"LOT0100", "LOT0100"} +
                   QStringList(19, QString())
            << 0 << QByteArray();
        QTest::newRow("a symbol larger than its label is told, the next takes the label")
            << QStringList{"--sheet", "Avery 5160"} << QStringList{"--height", "0.5"}
            << QByteArray("ean13,590123412000,,,0.5\nean13,590123412001,,,0.5,3\nean13,590123412002,,,0.5\n") << 300
            << avery5160 << int(Symbology::EanUpc)
            << QStringList{ean13(590123412000LL, 1)[0], ean13(590123412002LL, 1)[0]} + QStringList(28, QString()) << 1
            << QByteArray("ruvola-batch: line 2: The symbol (3.13 x 0.53 in, 79.4 x 13.4 mm) is larger than the label "
                          "(2.63 x 1.00 in, 66.7 x 25.4 mm).\n");
    }
    void labelsReadBackWhereTheTemplatePutsThem()
    {
        QFETCH(QStringList, sheetArguments);
        QFETCH(QStringList, symbolArguments);
        QFETCH(QByteArray, batch);
        QFETCH(int, dpi);
        QFETCH(QVariantList, geometry);
        QFETCH(int, symbology);
        QFETCH(QStringList, labels);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, told);
        const Geometry g{geometry[0].toDouble(), geometry[1].toDouble(), geometry[2].toDouble(), geometry[3].toDouble(),
                         geometry[4].toDouble(), geometry[5].toDouble(), geometry[6].toInt(), geometry[7].toInt()};
        QTemporaryDir dir;
        QStringList arguments = sheetArguments;
        if (!batch.isEmpty()) {
            WriteFile(dir.filePath("labels.csv"), batch);
            arguments << "--batch" << "labels.csv";
        }
        const Outcome run = Batch(dir.path(), arguments << "-o" << "sheet.pdf");
        QCOMPARE(run.err, told);
        QCOMPARE(run.exitCode, exitCode);
        const Outcome render = Run("pdftoppm", dir.path(), {"-r", QString::number(dpi), "-gray", "-aa", "no", "-aaVector", "no",
                                                            "-png", "sheet.pdf", "page"});
        QCOMPARE(render.exitCode, 0);
        const int perSheet = g.nx * g.ny;
        const QStringList pages = QDir(dir.path()).entryList({"page-*.png"}, QDir::Files, QDir::Name);
        QCOMPARE(pages.size(), int(labels.size() / perSheet));

        // Each message's symbol as ruvola-batch draws it by itself, all in one batch.
        const QString kind = symbology == int(Symbology::Code39) ? "code39" : "ean13";
        const auto messageOf = [&](QString read) {
            if (kind == "ean13") read.chop(1);
            return read;
        };
        QStringList messages;
        for (const QString& read : labels)
            if (!read.isEmpty() && !messages.contains(messageOf(read))) messages << messageOf(read);
        WriteFile(dir.filePath("alone.csv"), (kind + "," + messages.join("\n" + kind + ",") + "\n").toUtf8());
        QCOMPARE(Batch(dir.path(), QStringList{"--batch", "alone.csv", "--dpi", QString::number(dpi), "-o",
                                               "alone-{message}.png"} + symbolArguments).exitCode, 0);
        QImage page;
        for (int i = 0; i < labels.size(); ++i) {
            if (i % perSheet == 0)
                page = QImage(dir.filePath(pages[i / perSheet])).convertToFormat(QImage::Format_Grayscale8);
            QVERIFY(!page.isNull());
            const int column = i % perSheet % g.nx, row = i % perSheet / g.nx;
            // The label where the maker's numbers put it, on the sheet's grid of dots.
            const QRect label(QPoint(qRound((g.x0 + column * g.dx) * dpi), qRound((g.y0 + row * g.dy) * dpi)),
                              QSize(int(g.w * dpi), int(g.h * dpi)));
            const QRect black = BlackBox(page, label.adjusted(-2, -2, 2, 2));
            const QString where = QStringLiteral("label %1 on sheet %2").arg(i % perSheet + 1).arg(i / perSheet + 1);
            if (labels[i].isEmpty()) {
                QVERIFY2(black.isNull(), qPrintable(where + " should be blank"));
                continue;
            }
            QVERIFY2(label.contains(black), qPrintable(QStringLiteral("%1: %2,%3 %4x%5 in %6,%7 %8x%9").arg(where).arg(black.x()).arg(black.y()).arg(black.width()).arg(black.height()).arg(label.x()).arg(label.y()).arg(label.width()).arg(label.height())));
            const QStringList read = DecodeSymbols(page.copy(label), Symbology(symbology));
            QVERIFY2(read == QStringList{labels[i]}, qPrintable(where + ": " + read.join('|')));

            const QImage symbol =
                QImage(dir.filePath("alone-" + messageOf(labels[i]) + ".png")).convertToFormat(QImage::Format_Grayscale8);
            QVERIFY(!symbol.isNull());
            // The symbol's picture, found by its black pixels, is centred in the label
            // within one dot and lies dot for dot as drawn alone: every module whole.
            const QRect own = BlackBox(symbol, symbol.rect());
            const QPoint corner = black.topLeft() - own.topLeft();
            const int leftGap = corner.x() - label.left(), rightGap = label.right() - (corner.x() + symbol.width() - 1);
            const int topGap = corner.y() - label.top(), bottomGap = label.bottom() - (corner.y() + symbol.height() - 1);
            QVERIFY2(std::abs(leftGap - rightGap) <= 2 && std::abs(topGap - bottomGap) <= 2,
                     qPrintable(QStringLiteral("%1: gaps %2/%3 and %4/%5").arg(where).arg(leftGap).arg(rightGap).arg(topGap).arg(bottomGap)));
            QVERIFY2(SamePixels(page, corner, symbol), qPrintable(where + " differs from the symbol drawn alone"));
        }
    }

    // A sequence that cannot run to its end places none of its labels.
    void sequencesThatCannotCount_data()
    {
        QTest::addColumn<QStringList>("symbol");
        QTest::addColumn<QByteArray>("told");
        QTest::newRow("EAN-13 past twelve nines") << QStringList{"ean13", "999999999998", "--width", "1"}
                                                  << QByteArray("counting up from '999999999998' runs past 999999999999");
        QTest::newRow("Code 39 past its digits") << QStringList{"code39", "A98"} << QByteArray("counting up from 'A98' runs past A99");
        QTest::newRow("Code 39 without digits") << QStringList{"code39", "AB"}
                                                << QByteArray("the message 'AB' does not end in a digit to count up");
        QTest::newRow("GS1-128") << QStringList{"gs1-128", "(01)09501101530003"}
                                 << QByteArray("a GS1-128 element string does not count up");
    }
    void sequencesThatCannotCount()
    {
        QFETCH(QStringList, symbol);
        QFETCH(QByteArray, told);
        QTemporaryDir dir;
        const Outcome run = Batch(dir.path(), QStringList{"--sheet", "Avery 5160", "--count", "3", "--height", "0.5"} + symbol);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith("ruvola-batch: " + told), run.err.constData());
        QVERIFY2(run.err.endsWith("ruvola-batch: no label was placed; 'sheet.pdf' is not written\n"), run.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    }

    void sheetUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no such template") << QStringList{"--sheet", "Avery 99999", "ean8", "9638507"}
                                          << QByteArray("no label template is named 'Avery 99999'");
        QTest::newRow("start beyond the sheet") << QStringList{"--sheet", "Avery 5160", "--sheet-start", "31", "ean8", "9638507"}
                                                << QByteArray("--sheet-start: The first label's position must lie between 1 and 30");
        QTest::newRow("copies without a sheet") << QStringList{"--copies", "2", "ean8", "9638507"}
                                                << QByteArray("--copies places labels on a sheet: give --sheet TEMPLATE");
        QTest::newRow("a sheet as PNG") << QStringList{"--sheet", "Avery 5160", "ean8", "9638507", "-o", "s.png"}
                                        << QByteArray("sheets are written as one PDF file: 's.png' does not end in .pdf");
        QTest::newRow("a custom layout with labels overlapping")
            << QStringList{"--sheet", "custom:A4,70mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "ean8", "9638507"}
            << QByteArray("the custom sheet cannot be printed: labels 1 and 2 overlap");
    }
    void sheetUsageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        const Outcome run = Batch(dir.path(), arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.startsWith("ruvola-batch: " + message), run.err.constData());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{});
    }
};

QTEST_MAIN(TestSheetCli)
#include "tst_sheetcli.moc"
