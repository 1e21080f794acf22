// The label templates: Debian's glabels-data as installed (those cases skip where the
// package is absent), the built-in sheets that stand in for it, template files written
// for the test with faults of every kind, and sheets typed on the command line.
#include "sheets/labeltemplates.h"

#include <QDir>
#include <QFile>
#include <QRectF>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using sheets::LabelTemplate;
using sheets::TemplateLibrary;

namespace {

constexpr double kInch = 72.0;
constexpr double kMm = 72.0 / 25.4;

bool Near(double a, double b) { return qAbs(a - b) < 1e-9; }
bool Near(QPointF a, QPointF b) { return Near(a.x(), b.x()) && Near(a.y(), b.y()); }
bool Near(QSizeF a, QSizeF b) { return Near(a.width(), b.width()) && Near(a.height(), b.height()); }

bool Installed() { return QDir(sheets::DefaultTemplateFolder()).exists(); }

void Write(const QString& path, const QByteArray& text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(text), text.size());
}

QByteArray TemplatesFile(const QByteArray& templates)
{
    return "<?xml version=\"1.0\"?>\n<Glabels-templates>\n" + templates + "</Glabels-templates>\n";
}

// A sheet that every written folder holds, so that a fault beside it must not cost it.
const QByteArray kGoodSheet =
    R"(<Template brand="Test" part="GOOD" size="A4" _description="Good">
         <Label-rectangle id="0" width="70mm" height="37mm" round="2mm">
           <Markup-margin size="5"/>
           <Layout nx="3" ny="8" x0="0mm" y0="0.5mm" dx="70mm" dy="37mm"/>
         </Label-rectangle>
       </Template>
)";

// Where a sheet falls short of what printing needs: a label off the page, two labels
// sharing paper, or labels not filled row by row, left to right. Told in words, so a
// failure names the template. The overlap is judged on the labels' rectangles, with the
// reader's millimetre of slack for the files' rounding.
QString PrintableFault(const LabelTemplate& t)
{
    const QList<QPointF> corners = sheets::LabelCorners(t);
    qsizetype expected = 0;
    for (const auto& l : t.layouts) expected += qsizetype(l.nx) * l.ny;
    if (corners.size() != expected)
        return QStringLiteral("%1 corners for %2 labels").arg(corners.size()).arg(expected);
    const QRectF page = QRectF(QPointF(0, 0), t.page).adjusted(-kMm, -kMm, kMm, kMm);
    QList<QRectF> labels;
    for (const QPointF& c : corners) labels << QRectF(c, t.label);
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (!page.contains(labels[i])) return QStringLiteral("label %1 off the page").arg(i + 1);
        for (qsizetype j = 0; j < i; ++j) {
            const QRectF shared = labels[i].intersected(labels[j]);
            if (shared.width() > kMm && shared.height() > kMm)
                return QStringLiteral("labels %1 and %2 overlap").arg(j + 1).arg(i + 1);
        }
    }
    qsizetype first = 0;
    for (const auto& l : t.layouts) {
        for (qsizetype i = first + 1; i < first + qsizetype(l.nx) * l.ny; ++i) {
            const QPointF before = corners[i - 1], now = corners[i];
            const bool rowStarts = (i - first) % l.nx == 0;
            const bool inOrder = rowStarts ? now.y() >= before.y() && now.x() <= before.x()
                                           : Near(now.y(), before.y()) && now.x() >= before.x();
            if (!inOrder) return QStringLiteral("label %1 out of order").arg(i + 1);
        }
        first += qsizetype(l.nx) * l.ny;
    }
    return {};
}

}  // namespace

class TestLabelTemplates : public QObject {
    Q_OBJECT

private slots:
    void installedLibraryIsRead();
    void installedAvery5160();
    void installedSheetsArePrintable();
    void builtInSheetsAreTheInstalledOnes();
    void builtInWhenNoTemplates_data();
    void builtInWhenNoTemplates();
    void builtInSheets_data();
    void builtInSheets();
    void lengths_data();
    void lengths();
    void oneTemplateBesideAGoodOne_data();
    void oneTemplateBesideAGoodOne();
    void malformedFileIsSkippedWhole();
    void equivalentsJoinTheirSheet();
    void lookup_data();
    void lookup();
    void paperSizesFileIsRead();
    void customSheetAccepted_data();
    void customSheetAccepted();
    void customSheetRefused_data();
    void customSheetRefused();
    void typedSheetIsItsTemplate();
};

void TestLabelTemplates::installedLibraryIsRead()
{
    if (!Installed()) QSKIP("glabels-data is not installed");
    const TemplateLibrary library = sheets::ReadTemplates(sheets::DefaultTemplateFolder());
    QVERIFY(!library.builtIn);
    QVERIFY2(library.templates.size() > 300, qPrintable(QString::number(library.templates.size())));
    QCOMPARE(library.skippedFiles, 0);
    // Round, elliptic and CD labels are in the package, and left out.
    QVERIFY(library.notRectangular > 50);
    // A skip is the exception, and each one is told.
    QVERIFY2(library.skippedTemplates < library.templates.size() / 20, qPrintable(library.faults.join(u'\n')));
    QCOMPARE(library.faults.size(), library.skippedTemplates);
}

void TestLabelTemplates::installedAvery5160()
{
    if (!Installed()) QSKIP("glabels-data is not installed");
    const TemplateLibrary library = sheets::ReadTemplates(sheets::DefaultTemplateFolder());
    const LabelTemplate* t = library.Find(u"Avery 5160");
    QVERIFY(t);
    QCOMPARE(library.Find(u"Avery 8160"), t);
    QCOMPARE(library.Find(u"avery 5260"), t);
    QCOMPARE(t->paperId, QStringLiteral("US-Letter"));
    QVERIFY(Near(t->page, QSizeF(8.5 * kInch, 11 * kInch)));
    QVERIFY(Near(t->label, QSizeF(2.625 * kInch, 1 * kInch)));
    QVERIFY(Near(t->round, 0.0625 * kInch));
    QCOMPARE(t->description, QStringLiteral("Address Labels"));
    const QList<QPointF> corners = sheets::LabelCorners(*t);
    QCOMPARE(corners.size(), 30);
    // avery-us-templates.xml: x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in".
    const struct {
        int label;
        double x, y;  // inches
    } where[] = {{0, 0.15625, 0.5}, {1, 2.9375, 0.5}, {2, 5.71875, 0.5}, {3, 0.15625, 1.5}, {29, 5.71875, 9.5}};
    for (const auto& w : where)
        QVERIFY2(Near(corners[w.label], QPointF(w.x * kInch, w.y * kInch)), qPrintable(QString::number(w.label)));
}

void TestLabelTemplates::installedSheetsArePrintable()
{
    if (!Installed()) QSKIP("glabels-data is not installed");
    const TemplateLibrary library = sheets::ReadTemplates(sheets::DefaultTemplateFolder());
    for (const auto& t : library.templates) {
        const QString fault = PrintableFault(t);
        QVERIFY2(fault.isEmpty(), qPrintable(t.Name() + QStringLiteral(": ") + fault));
    }
}

void TestLabelTemplates::builtInSheetsAreTheInstalledOnes()
{
    if (!Installed()) QSKIP("glabels-data is not installed");
    const TemplateLibrary installed = sheets::ReadTemplates(sheets::DefaultTemplateFolder());
    const TemplateLibrary builtIn = sheets::BuiltInTemplates();
    QCOMPARE(builtIn.templates.size(), 3);
    for (const auto& b : builtIn.templates) {
        const LabelTemplate* i = installed.Find(b.Name());
        QVERIFY2(i, qPrintable(b.Name()));
        QCOMPARE(b.paperId, i->paperId);
        QCOMPARE(b.description, i->description);
        QVERIFY(Near(b.page, i->page));
        QVERIFY(Near(b.label, i->label));
        QVERIFY(Near(b.round, i->round));
        QCOMPARE(QSet<QString>(b.equivalents.begin(), b.equivalents.end()),
                 QSet<QString>(i->equivalents.begin(), i->equivalents.end()));
        const QList<QPointF> bc = sheets::LabelCorners(b), ic = sheets::LabelCorners(*i);
        QCOMPARE(bc.size(), ic.size());
        for (qsizetype n = 0; n < bc.size(); ++n) QVERIFY2(Near(bc[n], ic[n]), qPrintable(b.Name()));
    }
}

void TestLabelTemplates::builtInWhenNoTemplates_data()
{
    QTest::addColumn<QByteArray>("file");  // written into the folder; none when empty
    QTest::addColumn<bool>("folderExists");
    QTest::addColumn<int>("skippedFiles");
    QTest::newRow("no folder") << QByteArray() << false << 0;
    QTest::newRow("empty folder") << QByteArray() << true << 0;
    QTest::newRow("only a broken file") << QByteArray("<Glabels-templates><Template") << true << 1;
}

void TestLabelTemplates::builtInWhenNoTemplates()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, folderExists);
    QFETCH(int, skippedFiles);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = folderExists ? dir.path() : dir.filePath(QStringLiteral("absent"));
    if (!file.isEmpty()) Write(dir.filePath(QStringLiteral("broken.xml")), file);
    const TemplateLibrary library = sheets::LoadTemplates(folder);
    QVERIFY(library.builtIn);
    QCOMPARE(library.templates.size(), 3);
    QCOMPARE(library.skippedFiles, skippedFiles);
}

void TestLabelTemplates::builtInSheets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("labels");
    QTest::newRow("Avery 5160") << QStringLiteral("Avery 5160") << QStringLiteral("US-Letter") << 30;
    QTest::newRow("Avery L7160") << QStringLiteral("Avery L7160") << QStringLiteral("A4") << 21;
    QTest::newRow("Avery L7651") << QStringLiteral("Avery L7651") << QStringLiteral("A4") << 65;
    QTest::newRow("8160 alone") << QStringLiteral("8160") << QStringLiteral("US-Letter") << 30;
}

void TestLabelTemplates::builtInSheets()
{
    QFETCH(QString, name);
    QFETCH(QString, paper);
    QFETCH(int, labels);
    const TemplateLibrary library = sheets::BuiltInTemplates();
    const LabelTemplate* t = library.Find(name);
    QVERIFY(t);
    QCOMPARE(t->paperId, paper);
    QCOMPARE(sheets::LabelCorners(*t).size(), labels);
    QCOMPARE(PrintableFault(*t), QString());
}

void TestLabelTemplates::lengths_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("points");
    QTest::newRow("bare number is points") << QStringLiteral("72") << true << 72.0;
    QTest::newRow("pt") << QStringLiteral("72pt") << true << 72.0;
    QTest::newRow("in") << QStringLiteral("1in") << true << kInch;
    QTest::newRow("mm") << QStringLiteral("25.4mm") << true << kInch;
    QTest::newRow("cm") << QStringLiteral("2.54cm") << true << kInch;
    QTest::newRow("pc") << QStringLiteral("6pc") << true << kInch;
    QTest::newRow("blank before the unit") << QStringLiteral("0 pt") << true << 0.0;
    QTest::newRow("blanks round") << QStringLiteral(" 1.5 in ") << true << 1.5 * kInch;
    QTest::newRow("exponent") << QStringLiteral("1e1mm") << true << 10 * kMm;
    QTest::newRow("fraction without a leading digit") << QStringLiteral(".5in") << true << 36.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("unit alone") << QStringLiteral("in") << false << 0.0;
    QTest::newRow("word") << QStringLiteral("abc") << false << 0.0;
    QTest::newRow("unknown unit") << QStringLiteral("1km") << false << 0.0;
    QTest::newRow("unit spelt out") << QStringLiteral("1 inch") << false << 0.0;
    QTest::newRow("decimal comma") << QStringLiteral("1,5mm") << false << 0.0;
    QTest::newRow("two points") << QStringLiteral("1..2mm") << false << 0.0;
    QTest::newRow("hexadecimal") << QStringLiteral("0x10") << false << 0.0;
    QTest::newRow("not a number") << QStringLiteral("nan") << false << 0.0;
    QTest::newRow("infinite") << QStringLiteral("inf") << false << 0.0;
    QTest::newRow("too large for a double") << QStringLiteral("1e999mm") << false << 0.0;
}

void TestLabelTemplates::lengths()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, points);
    const auto length = sheets::ParseLength(text);
    QCOMPARE(length.has_value(), valid);
    if (valid) QVERIFY2(Near(*length, points), qPrintable(QString::number(*length)));
}

void TestLabelTemplates::oneTemplateBesideAGoodOne_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("loaded");  // the part read, or empty
    QTest::addColumn<int>("skipped");
    QTest::addColumn<int>("notRectangular");
    const auto sheet = [](const QByteArray& template_, const QByteArray& label, const QByteArray& layout) {
        return "<Template brand=\"Row\" part=\"ROW\" " + template_ + ">\n  <Label-rectangle id=\"0\" " + label +
               ">\n    <Layout " + layout + "/>\n  </Label-rectangle>\n</Template>\n";
    };
    const QByteArray a4 = "size=\"A4\"", label = "width=\"50mm\" height=\"20mm\"",
                     layout = "nx=\"2\" ny=\"3\" x0=\"10mm\" y0=\"10mm\" dx=\"60mm\" dy=\"25mm\"";
    QTest::newRow("sound") << sheet(a4, label, layout) << "ROW" << 0 << 0;
    QTest::newRow("other paper with units")
        << sheet("size=\"Other\" width=\"5in\" height=\"4in\"", label, layout) << "ROW" << 0 << 0;
    QTest::newRow("offsets left to their default of 0") << sheet(a4, label, "nx=\"1\" ny=\"1\"") << "ROW" << 0 << 0;
    QTest::newRow("width not a number") << sheet(a4, "width=\"abc\" height=\"20mm\"", layout) << "" << 1 << 0;
    QTest::newRow("height missing") << sheet(a4, "width=\"50mm\"", layout) << "" << 1 << 0;
    QTest::newRow("round without its number") << sheet(a4, label + " round=\"in\"", layout) << "" << 1 << 0;
    QTest::newRow("empty x0")
        << sheet(a4, label, "nx=\"2\" ny=\"3\" x0=\"\" y0=\"10mm\" dx=\"60mm\" dy=\"25mm\"") << "" << 1 << 0;
    QTest::newRow("nx not whole") << sheet(a4, label, "nx=\"2.5\" ny=\"3\"") << "" << 1 << 0;
    QTest::newRow("no rows") << sheet(a4, label, "nx=\"2\" ny=\"0\"") << "" << 1 << 0;
    QTest::newRow("negative width") << sheet(a4, "width=\"-50mm\" height=\"20mm\"", layout) << "" << 1 << 0;
    QTest::newRow("unknown paper") << sheet("size=\"A11\"", label, layout) << "" << 1 << 0;
    QTest::newRow("other paper without height")
        << sheet("size=\"Other\" width=\"5in\"", label, layout) << "" << 1 << 0;
    QTest::newRow("labels off the page")
        << sheet(a4, label, "nx=\"4\" ny=\"3\" x0=\"10mm\" y0=\"10mm\" dx=\"60mm\" dy=\"25mm\"") << "" << 1 << 0;
    QTest::newRow("labels overlapping")
        << sheet(a4, label, "nx=\"2\" ny=\"3\" x0=\"10mm\" y0=\"10mm\" dx=\"40mm\" dy=\"25mm\"") << "" << 1 << 0;
    QTest::newRow("no layout")
        << QByteArray("<Template brand=\"Row\" part=\"ROW\" size=\"A4\"><Label-rectangle id=\"0\" " + label +
                      "/></Template>")
        << "" << 1 << 0;
    QTest::newRow("no label") << QByteArray("<Template brand=\"Row\" part=\"ROW\" size=\"A4\"/>") << "" << 1 << 0;
    QTest::newRow("no brand") << QByteArray(sheet(a4, label, layout)).replace("brand=\"Row\"", "") << "" << 1 << 0;
    QTest::newRow("described twice, the first kept")
        << QByteArray(kGoodSheet).replace("Good", "Second") << "" << 1 << 0;
    for (const char* kind : {"Label-round id=\"0\" radius=\"20mm\"",
                             "Label-ellipse id=\"0\" width=\"50mm\" height=\"20mm\"",
                             "Label-cd id=\"0\" radius=\"58mm\" hole=\"20mm\""}) {
        const QByteArray element = QByteArray(kind).split(' ').first();
        QTest::newRow(element.constData())
            << "<Template brand=\"Row\" part=\"ROW\" size=\"A4\">\n  <" + QByteArray(kind) +
                   ">\n    <Layout nx=\"1\" ny=\"2\" x0=\"10mm\" y0=\"10mm\" dx=\"0\" dy=\"130mm\"/>\n  </" + element +
                   ">\n</Template>\n<Template brand=\"Row\" part=\"ROW-E\" equiv=\"ROW\"/>\n"
            << "" << 0 << 1;
    }
}

void TestLabelTemplates::oneTemplateBesideAGoodOne()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, loaded);
    QFETCH(int, skipped);
    QFETCH(int, notRectangular);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Write(dir.filePath(QStringLiteral("a-good.xml")), TemplatesFile(kGoodSheet));
    Write(dir.filePath(QStringLiteral("b-row.xml")), TemplatesFile(xml));
    const TemplateLibrary library = sheets::LoadTemplates(dir.path());
    QVERIFY(!library.builtIn);
    QCOMPARE(library.skippedFiles, 0);
    QCOMPARE(library.skippedTemplates, skipped);
    QCOMPARE(library.faults.size(), skipped);
    QCOMPARE(library.notRectangular, notRectangular);
    const LabelTemplate* good = library.Find(u"Test GOOD");
    QVERIFY(good);
    QCOMPARE(good->description, QStringLiteral("Good"));
    QCOMPARE(sheets::LabelCorners(*good).size(), 24);
    QCOMPARE(library.templates.size(), loaded.isEmpty() ? 1 : 2);
    if (!loaded.isEmpty()) {
        const LabelTemplate* row = library.Find(QStringLiteral("Row ") + loaded);
        QVERIFY(row);
        QCOMPARE(PrintableFault(*row), QString());
    }
}

void TestLabelTemplates::malformedFileIsSkippedWhole()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Write(dir.filePath(QStringLiteral("good.xml")), TemplatesFile(kGoodSheet));
    // A sound template, then the file breaks off: none of it is read.
    const QByteArray broken = TemplatesFile(QByteArray(kGoodSheet).replace("GOOD", "HALF")).replace(
        "</Glabels-templates>", "<Template brand=\"Test\" part=\"CUT\" size=\"A4\"><Label-rectangle");
    Write(dir.filePath(QStringLiteral("broken.xml")), broken);
    Write(dir.filePath(QStringLiteral("not-xml.xml")), "this is no XML at all");
    Write(dir.filePath(QStringLiteral("not-a-template.txt")),
          TemplatesFile(QByteArray(kGoodSheet).replace("GOOD", "TXT")));
    const TemplateLibrary library = sheets::LoadTemplates(dir.path());
    QCOMPARE(library.skippedFiles, 2);
    QCOMPARE(library.skippedTemplates, 0);
    QCOMPARE(library.faults.size(), 2);
    QVERIFY(library.faults.first().startsWith(QStringLiteral("broken.xml")));
    QCOMPARE(library.templates.size(), 1);
    QVERIFY(library.Find(u"Test GOOD"));
}

void TestLabelTemplates::equivalentsJoinTheirSheet()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // One equivalent comes before its sheet, one in another file, one names no template.
    Write(dir.filePath(QStringLiteral("a.xml")),
          TemplatesFile("<Template brand=\"Test\" part=\"BEFORE\" equiv=\"GOOD\"/>\n" + kGoodSheet +
                        "<Template brand=\"Test\" part=\"LOST\" equiv=\"NOWHERE\"/>\n"));
    Write(dir.filePath(QStringLiteral("b.xml")),
          TemplatesFile("<Template brand=\"Test\" part=\"ELSEWHERE\" equiv=\"GOOD\"/>\n"));
    const TemplateLibrary library = sheets::LoadTemplates(dir.path());
    QCOMPARE(library.templates.size(), 1);
    QCOMPARE(library.templates.first().equivalents, (QStringList{"BEFORE", "ELSEWHERE"}));
    QCOMPARE(library.skippedTemplates, 1);
    QCOMPARE(library.faults.size(), 1);
    QVERIFY(library.faults.first().contains(QStringLiteral("NOWHERE")));
}

void TestLabelTemplates::lookup_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("found");  // the template's name, or empty for none
    QTest::addColumn<int>("matches");
    QTest::newRow("brand and part") << QStringLiteral("Avery 5160") << QStringLiteral("Avery 5160") << 1;
    QTest::newRow("any case, blanks") << QStringLiteral("  aVERY   5160 ") << QStringLiteral("Avery 5160") << 1;
    QTest::newRow("part alone") << QStringLiteral("5160") << QStringLiteral("Avery 5160") << 1;
    QTest::newRow("equivalent with brand") << QStringLiteral("Avery 5260") << QStringLiteral("Avery 5160") << 1;
    QTest::newRow("equivalent alone, lower case") << QStringLiteral("l7651") << QStringLiteral("Avery 8651") << 1;
    QTest::newRow("part of two brands") << QStringLiteral("X1") << QString() << 2;
    QTest::newRow("one of the two by brand") << QStringLiteral("Other x1") << QStringLiteral("Other X1") << 1;
    QTest::newRow("wrong brand") << QStringLiteral("Nobody 5160") << QString() << 0;
    QTest::newRow("unknown part") << QStringLiteral("99999") << QString() << 0;
    QTest::newRow("part of a part") << QStringLiteral("516") << QString() << 0;
    QTest::newRow("empty") << QString() << QString() << 0;
}

void TestLabelTemplates::lookup()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    QFETCH(int, matches);
    // The built-in sheets, and a part number two brands share.
    TemplateLibrary library = sheets::BuiltInTemplates();
    QVERIFY(!library.templates.isEmpty());
    for (const char* brand : {"Some", "Other"}) {
        LabelTemplate t = library.templates.first();
        t.brand = QString::fromLatin1(brand);
        t.part = QStringLiteral("X1");
        t.equivalents.clear();
        library.templates << t;
    }
    QCOMPARE(library.Matches(name).size(), matches);
    const LabelTemplate* t = library.Find(name);
    QCOMPARE(t ? t->Name() : QString(), found);
}

void TestLabelTemplates::paperSizesFileIsRead()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Write(dir.filePath(QStringLiteral("paper-sizes.xml")),
          R"(<Glabels-paper-sizes><Paper-size id="Test-Sheet" width="100mm" height="2in"/></Glabels-paper-sizes>)");
    Write(dir.filePath(QStringLiteral("t.xml")),
          TemplatesFile(R"(<Template brand="Test" part="SMALL" size="Test-Sheet">
                             <Label-rectangle id="0" width="100mm" height="1in">
                               <Layout nx="1" ny="2" dy="1in"/>
                             </Label-rectangle>
                           </Template>)"));
    const TemplateLibrary library = sheets::LoadTemplates(dir.path());
    const LabelTemplate* t = library.Find(u"Test SMALL");
    QVERIFY2(t, qPrintable(library.faults.join(u'\n')));
    QVERIFY(Near(t->page, QSizeF(100 * kMm, 2 * kInch)));
    // The built-in papers stay known beside the file's.
    QVERIFY(library.PaperSize(u"a4"));
    QVERIFY(library.PaperSize(u"Letter"));
}

void TestLabelTemplates::customSheetAccepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSizeF>("page");
    QTest::addColumn<QSizeF>("label");
    QTest::addColumn<int>("labels");
    QTest::addColumn<QPointF>("last");  // the last label's corner
    QTest::newRow("A4, millimetres") << QStringLiteral("custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm")
                                     << QSizeF(210 * kMm, 297 * kMm) << QSizeF(63.5 * kMm, 38.1 * kMm) << 21
                                     << QPointF(139.2 * kMm, (15.15 + 6 * 38.1) * kMm);
    QTest::newRow("Letter by its short name, inches")
        << QStringLiteral("custom:Letter,2.625inx1in,3x10,0.15625in,0.5in,2.78125in,1in")
        << QSizeF(8.5 * kInch, 11 * kInch) << QSizeF(2.625 * kInch, kInch) << 30
        << QPointF(5.71875 * kInch, 9.5 * kInch);
    QTest::newRow("paper by size, blanks, capitals")
        << QStringLiteral(" CUSTOM:100mmX50mm, 4cm x 2cm ,2X2, 0 ,0.5cm,5cm,2.2cm ")
        << QSizeF(100 * kMm, 50 * kMm) << QSizeF(40 * kMm, 20 * kMm) << 4 << QPointF(50 * kMm, 27 * kMm);
    QTest::newRow("points and picas, one label")
        << QStringLiteral("custom:a5,200ptx10pc,1x1,1pc,2pt,0,0") << QSizeF(148 * kMm, 210 * kMm)
        << QSizeF(200, 120) << 1 << QPointF(12, 2);
    QTest::newRow("labels edge to edge") << QStringLiteral("custom:A4,105mmx297mm,2x1,0,0,105mm,0")
                                         << QSizeF(210 * kMm, 297 * kMm) << QSizeF(105 * kMm, 297 * kMm) << 2
                                         << QPointF(105 * kMm, 0);
}

void TestLabelTemplates::customSheetAccepted()
{
    QFETCH(QString, text);
    QFETCH(QSizeF, page);
    QFETCH(QSizeF, label);
    QFETCH(int, labels);
    QFETCH(QPointF, last);
    const sheets::CustomSheet custom = sheets::ParseCustomSheet(text, sheets::BuiltInTemplates());
    QVERIFY2(custom.sheet, qPrintable(custom.refusal));
    QVERIFY(custom.refusal.isEmpty());
    QVERIFY(Near(custom.sheet->page, page));
    QVERIFY(Near(custom.sheet->label, label));
    const QList<QPointF> corners = sheets::LabelCorners(*custom.sheet);
    QCOMPARE(corners.size(), labels);
    QVERIFY2(Near(corners.last(), last),
             qPrintable(QStringLiteral("%1, %2").arg(corners.last().x()).arg(corners.last().y())));
    QCOMPARE(PrintableFault(*custom.sheet), QString());
}

void TestLabelTemplates::customSheetRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("told");  // a part of the refusal
    const auto row = [](const char* name, const char* text, const char* told) {
        QTest::newRow(name) << QString::fromUtf8(text) << QString::fromUtf8(told);
    };
    row("no prefix", "A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "custom:");
    row("a template's name", "Avery 5160", "custom:");
    row("empty", "", "custom:");
    row("six values", "custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm", "not 6");
    row("eight values", "custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm,1mm", "not 8");
    row("nothing after the prefix", "custom:", "not 1");
    row("unknown paper", "custom:A11,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "\"A11\" is not a paper");
    row("paper size without units", "custom:210x297,63.5mmx38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "is not a paper");
    row("label size without x", "custom:A4,63.5mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "\"63.5mm\" is not a label size");
    row("label size without units", "custom:A4,63.5x38.1,3x7,7.2mm,15.15mm,66mm,38.1mm", "is not a label size");
    row("label size with two x", "custom:A4,63.5mmx38.1mmx1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "is not a label size");
    row("no rows", "custom:A4,63.5mmx38.1mm,3x0,7.2mm,15.15mm,66mm,38.1mm", "\"3x0\" is not COLUMNSxROWS");
    row("columns alone", "custom:A4,63.5mmx38.1mm,3,7.2mm,15.15mm,66mm,38.1mm", "is not COLUMNSxROWS");
    row("half a column", "custom:A4,63.5mmx38.1mm,3.5x7,7.2mm,15.15mm,66mm,38.1mm", "is not COLUMNSxROWS");
    row("negative rows", "custom:A4,63.5mmx38.1mm,3x-7,7.2mm,15.15mm,66mm,38.1mm", "is not COLUMNSxROWS");
    row("offset without unit", "custom:A4,63.5mmx38.1mm,3x7,7.2,15.15mm,66mm,38.1mm", "\"7.2\" is not a length");
    row("step in words", "custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,wide,38.1mm", "\"wide\" is not a length");
    row("zero-sized label", "custom:A4,0x38.1mm,3x7,7.2mm,15.15mm,66mm,38.1mm", "no size");
    row("columns overlapping", "custom:A4,63.5mmx38.1mm,3x7,7.2mm,15.15mm,60mm,38.1mm", "overlap");
    row("one row too many", "custom:A4,63.5mmx38.1mm,3x8,7.2mm,15.15mm,66mm,38.1mm", "off the page");
    row("left of the page", "custom:A4,63.5mmx38.1mm,3x7,-5mm,15.15mm,66mm,38.1mm", "off the page");
    // Beyond the largest PDF page, and beyond a printer's dots at any resolution.
    row("a page of 201 inches", "custom:201inx11in,1inx1in,1x1,0,0,0,0", "larger than 200 inches");
    row("stepping left", "custom:A4,63.5mmx38.1mm,3x7,150mm,15.15mm,-66mm,38.1mm", "steps left");
    row("more labels than a sheet takes", "custom:A4,1ptx1pt,100x100,0,0,1pt,1pt", "more than 2000");
    row("columns beyond any int", "custom:A4,1ptx1pt,99999999999x1,0,0,1pt,1pt", "is not COLUMNSxROWS");
}

void TestLabelTemplates::customSheetRefused()
{
    QFETCH(QString, text);
    QFETCH(QString, told);
    const sheets::CustomSheet custom = sheets::ParseCustomSheet(text, sheets::BuiltInTemplates());
    QVERIFY(!custom.sheet);
    QVERIFY2(custom.refusal.contains(told), qPrintable(custom.refusal));
}

void TestLabelTemplates::typedSheetIsItsTemplate()
{
    // A sheet typed with the numbers of a template is that template.
    const TemplateLibrary library = sheets::BuiltInTemplates();
    const sheets::CustomSheet custom =
        sheets::ParseCustomSheet(u"custom:Letter,2.625inx1in,3x10,0.15625in,0.5in,2.78125in,1in", library);
    QVERIFY(custom.sheet);
    const LabelTemplate* avery = library.Find(u"Avery 5160");
    QVERIFY(avery);
    const QList<QPointF> typed = sheets::LabelCorners(*custom.sheet);
    const QList<QPointF> known = sheets::LabelCorners(*avery);
    QCOMPARE(typed.size(), known.size());
    for (qsizetype i = 0; i < typed.size(); ++i) QVERIFY(Near(typed[i], known[i]));
}

QTEST_GUILESS_MAIN(TestLabelTemplates)
#include "tst_labeltemplates.moc"
