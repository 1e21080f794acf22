// ITF-14: the check digit added or verified, the interleaved element sequence, the
// pixel widths at the ratios the drawing may ask for, and symbols that ZXing-cpp reads
// back at those ratios.
#include <QtTest>

#include "barsread.h"
#include "engines/itf14.h"

class TestItf14 : public QObject {
    Q_OBJECT

private slots:
    void readsBack_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<double>("ratio");
        for (double ratio : {2.25, 2.5, 3.0}) {
            QTest::addRow("13 digits at %.2f", ratio) << "1540014128876" << "15400141288763" << 4 << ratio;
            QTest::addRow("14 digits at %.2f", ratio) << "15400141288763" << "15400141288763" << 4 << ratio;
        }
        QTest::newRow("GTIN-13 packed, 2 px") << "0400638133393" << "04006381333931" << 2 << 2.5;
        QTest::newRow("zeros, 1 px") << "0000000000000" << "00000000000000" << 1 << 2.25;
    }

    void readsBack()
    {
        QFETCH(QString, typed);
        QFETCH(QString, digits);
        QFETCH(int, narrow);
        QFETCH(double, ratio);
        const engines::Itf14Symbol symbol = engines::EncodeItf14(typed.toStdString());
        QCOMPARE(QString::fromStdString(symbol.digits), digits);
        const std::vector<int> widths = engines::Itf14PixelWidths(symbol.wide, narrow, ratio);
        const ReadBack read = ReadSymbol(DrawBars(widths, 10 * narrow), ZXing::BarcodeFormat::ITF);
        QCOMPARE(read.count, 1);
        QCOMPARE(QString::fromStdString(read.text), digits);
    }

    // Wide = ratio * narrow to the nearest pixel, never outside 2.25 to 3 times narrow.
    void pixelWidths_data()
    {
        QTest::addColumn<int>("narrow");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("wide");
        QTest::newRow("1 px at 2.25: 2 would be 2:1") << 1 << 2.25 << 3;
        QTest::newRow("1 px at 3.0") << 1 << 3.0 << 3;
        QTest::newRow("2 px at 2.25: 4.5 up to 5") << 2 << 2.25 << 5;
        QTest::newRow("2 px at 2.5") << 2 << 2.5 << 5;
        QTest::newRow("3 px at 2.5: 7.5 up to 8") << 3 << 2.5 << 8;
        QTest::newRow("4 px at 2.25") << 4 << 2.25 << 9;
        QTest::newRow("4 px at 2.8: 11.2 down to 11") << 4 << 2.8 << 11;
    }

    void pixelWidths()
    {
        QFETCH(int, narrow);
        QFETCH(double, ratio);
        QFETCH(int, wide);
        QCOMPARE(engines::Itf14PixelWidths({false, true, false}, narrow, ratio), (std::vector<int>{narrow, wide, narrow}));
    }

    void refuses_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("wrong check digit") << QByteArray("15400141288768") << "check digit 8 should be 3.";
        QTest::newRow("12 digits") << QByteArray("154001412887") << "this has 12.";
        QTest::newRow("15 digits") << QByteArray("154001412887630") << "this has 15.";
        QTest::newRow("letter") << QByteArray("154001412887A") << "'A' is not a digit";
        QTest::newRow("blank") << QByteArray("1540014 128876") << "' ' is not a digit";
        QTest::newRow("non-ASCII digit") << QByteArray("154001412887\xd9\xa3") << "(U+0663) is not a digit";
        QTest::newRow("nothing") << QByteArray("") << "this has 0.";
    }

    void refuses()
    {
        QFETCH(QByteArray, typed);
        QFETCH(QString, reason);
        try {
            engines::EncodeItf14(typed.toStdString());
            QFAIL("encoded");
        } catch (const engines::EncodeError& e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(reason), e.what());
        }
    }

    void refusesRatiosAndWidthsOutsideTheRange()
    {
        const auto wide = engines::EncodeItf14("1540014128876").wide;
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::Itf14PixelWidths(wide, 2, 2.0));
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::Itf14PixelWidths(wide, 2, 3.1));
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::Itf14PixelWidths(wide, 2, std::nan("")));
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::Itf14PixelWidths(wide, 0, 2.5));
    }
};

QTEST_APPLESS_MAIN(TestItf14)
#include "tst_itf14.moc"
