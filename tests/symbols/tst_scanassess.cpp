// The scan check of Code 128, GS1-128 and ITF-14 builds, which no editor makes yet:
// each drawn by the build path, painted on a white picture as the preview paints it,
// read by the scanner and judged. A hint's advice, where it names a value, is tried out.
#include <QRegularExpression>
#include <QtTest>

#include "platform/qtcanvas.h"
#include "platform/whiteimage.h"
#include "symbols/scanreport.h"
#include "symbols/symbolbuild.h"

using symbols::Bearers;
using symbols::Kind;

namespace {

struct Assessed {
    symbols::Drawing drawing;
    ScanReport report;
};

Assessed Assess(Kind kind, const symbols::Inputs& inputs)
{
    Assessed a{symbols::Prepare(kind, inputs), {}};
    if (!a.drawing.Drawable()) return a;
    QImage picture = platform::WhiteImage(a.drawing.width, a.drawing.height);
    {
        platform::ImageCanvas canvas(picture);
        a.drawing.paint(canvas);
    }
    a.report = AssessScan(picture, a.drawing, platform::ReadSymbol(picture, ScanFamilyOf(kind)));
    return a;
}

}  // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Bearers)

class TestScanAssess : public QObject {
    Q_OBJECT

private slots:
    void newSymbologies_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<double>("width");   // mils; 0: the default
        QTest::addColumn<double>("height");  // inches; 0: the default
        QTest::addColumn<Bearers>("bearers");
        QTest::addColumn<double>("left");    // Left Blank Space, mils
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QString>("reads");
        QTest::addColumn<QStringList>("hints");
        const QString gs1 = "(01)09501101530003(17)250101(10)AB-123";
        const QString gs1Read = QString::fromUtf8("GS1-128 01095011015300031725010110AB-123");
        const QString itfRead = "ITF-14 15400141288763";
        QTest::newRow("Code 128") << Kind::Code128 << "Ruvola-128 abc" << 0.0 << 0.0 << Bearers::None << 0.0 << 96
                                  << "Code 128 Ruvola-128 abc" << QStringList{};
        QTest::newRow("Code 128, left blank space below 0")
            << Kind::Code128 << "Ruvola-128 abc" << 0.0 << 0.0 << Bearers::None << -40.0 << 96
            << "Code 128 Ruvola-128 abc" << QStringList{"left quiet zone"};
        QTest::newRow("GS1-128") << Kind::Gs1_128 << gs1 << 0.0 << 0.0 << Bearers::None << 0.0 << 96 << gs1Read
                                 << QStringList{};
        QTest::newRow("GS1-128, two variable fields at 300 dpi")
            << Kind::Gs1_128 << "(10)AB-123(21)RUV-7" << 0.0 << 0.0 << Bearers::None << 0.0 << 300
            << QString::fromUtf8("GS1-128 10AB-123\u241d21RUV-7") << QStringList{};
        QTest::newRow("GS1-128, thin modules") << Kind::Gs1_128 << gs1 << 13.0 << 0.0 << Bearers::None << 0.0 << 300
                                               << gs1Read << QStringList{"module width"};
        QTest::newRow("GS1-128, low bars") << Kind::Gs1_128 << gs1 << 0.0 << 1.0 << Bearers::None << 0.0 << 96
                                           << gs1Read << QStringList{"bar height"};
        QTest::newRow("GS1-128, too long")
            << Kind::Gs1_128 << "(01)09501101530003(10)ABCDEFGHIJ(21)KLMNOPQRSTUV" << 38.0 << 0.0 << Bearers::None
            << 0.0 << 300 << QString::fromUtf8("GS1-128 0109501101530003" "10ABCDEFGHIJ\u241d" "21KLMNOPQRSTUV")
            << QStringList{"length"};
        for (const int dpi : {96, 300}) {
            const QByteArray at = " at " + QByteArray::number(dpi) + " dpi";
            QTest::newRow("ITF-14 in a frame" + at)
                << Kind::Itf14 << "1540014128876" << 0.0 << 0.0 << Bearers::Frame << 0.0 << dpi << itfRead
                << QStringList{};
            QTest::newRow("ITF-14, bearer bars above and below" + at)
                << Kind::Itf14 << "1540014128876" << 0.0 << 0.0 << Bearers::TopBottom << 0.0 << dpi << itfRead
                << QStringList{};
            QTest::newRow("ITF-14 without bearer bars" + at)
                << Kind::Itf14 << "1540014128876" << 0.0 << 0.0 << Bearers::None << 0.0 << dpi << itfRead
                << QStringList{"bearer bars"};
        }
        QTest::newRow("ITF-14, thin narrow bars") << Kind::Itf14 << "1540014128876" << 12.0 << 0.0 << Bearers::Frame
                                                  << 0.0 << 300 << itfRead << QStringList{"narrow bar width"};
    }
    void newSymbologies()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, message);
        QFETCH(double, width);
        QFETCH(double, height);
        QFETCH(Bearers, bearers);
        QFETCH(double, left);
        QFETCH(int, dpi);
        QFETCH(QString, reads);
        QFETCH(QStringList, hints);
        symbols::Inputs inputs = symbols::Defaults(kind);
        inputs.message = message.toStdString();
        if (width > 0) inputs.width = width;
        if (height > 0) inputs.height = height;
        inputs.bearers = bearers;
        inputs.page.fleft = left;
        inputs.resolution = dpi;
        inputs.font.size = dpi / 12;
        const Assessed a = Assess(kind, inputs);
        QVERIFY2(a.drawing.Drawable(), qPrintable(a.drawing.error));
        const QString details = a.report.details.join('\n');
        QVERIFY2(!a.report.failed, qPrintable(details));
        QVERIFY2(a.report.line.startsWith("Scanner reads " + reads), qPrintable(a.report.line));
        QVERIFY2(!details.contains("could not be measured"), qPrintable(details));
        const QString line = a.report.line;
        QStringList names;
        const qsizetype colon = line.indexOf(QStringLiteral(": "), line.indexOf(QStringLiteral(" · ")));
        if (!hints.isEmpty()) names = line.mid(colon + 2).split(QStringLiteral(", "));
        QCOMPARE(names, hints);
        QCOMPARE(a.report.hints.size(), hints.size());

        // The value a hint names, tried out, clears it.
        if (hints.isEmpty()) return;
        const QString hint = a.report.hints.first();
        const QRegularExpressionMatch mils = QRegularExpression("choose a '[^']+' of (\\d+) mils").match(hint);
        const QRegularExpressionMatch inches = QRegularExpression("'Bar code Height' ([0-9.]+) inches").match(hint);
        const QRegularExpressionMatch blank = QRegularExpression("raise the Left Blank Space by (\\d+) mils").match(hint);
        if (mils.hasMatch()) inputs.width = mils.captured(1).toDouble();
        else if (inches.hasMatch()) inputs.height = inches.captured(1).toDouble();
        else if (blank.hasMatch()) inputs.page.fleft += blank.captured(1).toDouble();
        else return;
        const Assessed again = Assess(kind, inputs);
        QVERIFY2(again.report.hints.isEmpty(), qPrintable(again.report.details.join('\n')));
        QVERIFY(!again.report.failed);
    }
};

QTEST_MAIN(TestScanAssess)
#include "tst_scanassess.moc"
