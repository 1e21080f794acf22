// Hostile text pasted into every box of every editor, then Build/Copy: each row names
// the editor, the box and the text, and what the user must get: a symbol that scans,
// or a message box with its exact sentence and nothing new on the clipboard, no
// half-drawn picture left to turn or print.
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include "editors/bareditor.h"
#include "engines/environment.h"
#include "platform/notices.h"
#include "support/decoder.h"
#include "hostileinputs.h"
#include "support/guitest.h"

namespace {

struct Editor {
    const char* name;
    void (Tmainfm::*pick)();
    QString message;  // a valid message
    QString read;     // what a scanner reads from it
    int length;       // message length; 0 for Code 39
    QString addOnBox;
    QString addOnLabel;
    QString widthBox;
    double left, right;  // quiet zones in mils, so that the built symbol scans
    Symbology family;    // how the decoder reads it
};

const Editor kEditors[] = {
    {"C39", &Tmainfm::C391Click, "AB", "AB", 0, {}, {}, "fnarwidthedt", 250, 250, Symbology::Code39},
    {"EAN-13", &Tmainfm::ENA13Click, "400638133393", "4006381333931", 12, "Edit1", "Ean13", {}, 200, 100,
     Symbology::EanUpc},
    {"UPC-A", &Tmainfm::upca1Click, "03600029145", "036000291452", 11, "Supplementaltxt", "Upc-a", "barwidth", 105,
     105, Symbology::EanUpc},
    {"EAN-8", &Tmainfm::EAN81Click, "9638507", "96385074", 7, "Supplementaltxt", "Ean8", "barwidth", 63, 63,
     Symbology::EanUpc},
    {"UPC-E", &Tmainfm::UPCE1Click, "123456", "01234565", 6, "Supplementaltxt", "Upc-e", "barwidth", 105, 63,
     Symbology::EanUpc},
    // Their quiet zones are part of the symbol.
    {"Code 128", &Tmainfm::Code1281Click, "Ruvola", "]C0Ruvola", 0, {}, {}, "barwidth", 0, 0, Symbology::Code128},
    {"GS1-128", &Tmainfm::GS11281Click, "(01)09501101530003", "]C10109501101530003", 0, {}, {}, "barwidth", 0, 0,
     Symbology::Code128},
    {"ITF-14", &Tmainfm::ITF141Click, "0001234567890", "00012345678905", 0, {}, {}, "barwidth", 0, 0, Symbology::Itf},
};
enum { C39, EAN13, UPCA, EAN8, UPCE, CODE128, GS1_128, ITF14 };

enum class Outcome {
    Built,             // no message; the picture on the clipboard scans as `text`
    Notice,            // a "Notice" box with `text`; nothing new anywhere
    Error,             // the general error box with `text`; nothing new anywhere
    Silent,            // no message and nothing new: the EAN-13 empty height
    NoticeThenBuilt,   // EAN-13 add-on of a wrong length: the notice, then the symbol without it
};

QString NotFloat(const QString& text) { return QStringLiteral("'%1' is not a valid floating point value").arg(text); }
QString NotInteger(const QString& text) { return QStringLiteral("'%1' is not a valid integer value").arg(text); }
const QString kTooShort = QStringLiteral("The 'Bar code message' must have two or above two characters.");
const QString kLowBars = QStringLiteral("The bars would be less than one pixel high: make the 'Bar code Height' larger.");
const QString kNarrowUpc =
    QStringLiteral("The bars would be less than one pixel wide at 96 dots per inch: make the 'Single Bar Width' larger.");
// Text the number boxes refuse whatever the editor.
bool NotANumber(const QString& input) { return input != "1e300" && input != "-5" && input != "0"; }

struct Expectation {
    Outcome outcome;
    QString text;
};

// The first character that is not 0 to 9, whole even where it takes two UTF-16 units.
QString NonDigitIn(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') continue;
        return text.mid(i, text[i].isHighSurrogate() ? 2 : 1);
    }
    return {};
}

// An add-on of a length the editors accept, as the encoders convert it: two digits as
// one number, five each on its own.
QString AddOnConversionError(const QString& addOn)
{
    return NotInteger(addOn.size() == 2 ? addOn : NonDigitIn(addOn));
}

Expectation Code39(const QString& box, const QString& input)
{
    if (box == "fheightedt" || box == "fnarwidthedt") {
        if (NotANumber(input)) return {Outcome::Error, NotFloat(input)};
        return {Outcome::Notice, box == "fheightedt" ? "Height Error" : "Narwidth param Error"};
    }
    if (box == "heardtextedt") return {Outcome::Built, "AB"};
    // the message
    if (input.isEmpty()) return {Outcome::Notice, "Barcode Message Error"};
    if (input == "." || input == "0") return {Outcome::Notice, kTooShort};
    if (input == kLongDigits)
        // 24-pixel start and stop characters, 26 pixels for each character and its gap,
        // 24 pixels of margins; 115 pixels of bars, four 5-pixel intervals, top and down
        return {Outcome::Notice, "The symbol would be 260098 x 145 pixels, too large to draw: make it smaller."};
    const QString cannot = QStringLiteral("The 'Bar code message' holds characters that Code 39 cannot encode: %1.");
    if (input == kCjk) return {Outcome::Notice, cannot.arg("'条', '码'")};
    if (input == kGreek) return {Outcome::Notice, cannot.arg("'Ω', 'μ', 'έ', 'γ', 'α'")};
    if (input == kEmoji) return {Outcome::Notice, cannot.arg("'" + kEmoji + "'")};
    return {Outcome::Built, input.toUpper()};
}

Expectation Ean13(const QString& box, const QString& input)
{
    const Editor& e = kEditors[EAN13];
    if (box == "fheightedt") {
        if (input.isEmpty()) return {Outcome::Silent, {}};
        if (NotANumber(input)) return {Outcome::Error, NotFloat(input)};
        if (input == "1e300")
            return {Outcome::Notice, "The symbol would be more than 32767 pixels on a side, too large to draw: make it smaller."};
        // -5 and 0: the bars under the digits have no height
        return {Outcome::Notice, "The bars would be less than one pixel high: make the 'Bar code Height' larger, "
                                 "or the Interval Space or the font smaller."};
    }
    if (box == "heardtextedt") return {Outcome::Built, e.read};
    const QString pasted = input.left(box == "barcodeedt" ? 12 : 5);  // what the box keeps of a paste
    if (box == "barcodeedt") {
        if (pasted.size() != 12) return {Outcome::Notice, "The 'Bar code message' must contain 12 numbers."};
        return {Outcome::Built, "1111111111116"};
    }
    // the add-on
    if (pasted.isEmpty()) return {Outcome::Built, e.read};
    if (pasted.size() != 2 && pasted.size() != 5)
        return {Outcome::NoticeThenBuilt, "The 'Ean13 Supplemental' must contain 2 or 5 numbers."};
    if (NonDigitIn(pasted).isEmpty()) return {Outcome::Built, e.read + " " + pasted};
    return {Outcome::Error, AddOnConversionError(pasted)};
}

// A box of inches or mils read as a floating point number: a size of a pixel or less
// is told with `small`.
Expectation SizeBox(const QString& input, const QString& small)
{
    if (NotANumber(input)) return {Outcome::Error, NotFloat(input)};
    if (input == "1e300")
        return {Outcome::Notice, "The symbol would be more than 32767 pixels on a side, too large to draw: make it smaller."};
    return {Outcome::Notice, small};
}

Expectation Upc(const Editor& e, const QString& box, const QString& input)
{
    if (box == "fheightedt") return SizeBox(input, kLowBars);
    if (box == "barwidth") {
        if (input == "-5" || input == "0") return {Outcome::Notice, kNarrowUpc};
        return {Outcome::Error, NotInteger(input)};
    }
    if (box == "heardtextedt") return {Outcome::Built, e.read};
    const QString pasted = input.left(box == "barcodeedt" ? e.length : 5);
    if (box == "barcodeedt") {
        if (pasted.size() != e.length)
            return {Outcome::Notice, QStringLiteral("The 'Bar code message' must contain %1 numbers.").arg(e.length)};
        const QString read[] = {"111111111117", "11111115", "01111118"};
        return {Outcome::Built, read[&e - &kEditors[UPCA]]};
    }
    if (pasted.isEmpty()) return {Outcome::Built, e.read};
    if (pasted.size() != 2 && pasted.size() != 5)
        return {Outcome::Notice, QStringLiteral("The '%1 Supplemental' must contain 2 or 5 numbers.").arg(e.addOnLabel)};
    if (NonDigitIn(pasted).isEmpty()) return {Outcome::Built, e.read + " " + pasted};
    return {Outcome::Error, AddOnConversionError(pasted)};
}

// How the Code 128 family names the first character it refuses: printable ASCII in
// quotes, anything beyond with its code point.
QString Named(const QString& character)
{
    const char32_t c = character.toUcs4().value(0);
    const QString quoted = "'" + QString::fromUcs4(&c, 1) + "'";
    if (c < 0x80) return quoted;
    return quoted + QStringLiteral(" (U+%1)").arg(QString::number(uint(c), 16).toUpper().rightJustified(4, '0'));
}

// The Code 128 family: its sizes read as floating point numbers, its message told by the
// encoder, a pasted message whole (no box cuts it to a length).
Expectation Linear(int editor, const QString& box, const QString& input)
{
    const Editor& e = kEditors[editor];
    if (box == "fheightedt") return SizeBox(input, kLowBars);
    if (box == "barwidth")
        return SizeBox(input, QStringLiteral("The bars would be less than one pixel wide at 96 dots per inch: make "
                                             "the '%1' larger.")
                                  .arg(editor == ITF14 ? "Narrow Bar Width" : "Module Width"));
    if (box == "heardtextedt") return {Outcome::Built, e.read};
    // the message, pasted whole
    const QString itfRule = "ITF-14 takes 13 digits, or 14 with the check digit";
    if (editor == ITF14) {
        if (!NonDigitIn(input).isEmpty()) return {Outcome::Notice, Named(NonDigitIn(input)) + " is not a digit: " + itfRule + "."};
        return {Outcome::Notice, QStringLiteral("%1; this has %2.").arg(itfRule).arg(input.size())};
    }
    if (editor == GS1_128) {
        if (input.isEmpty())
            return {Outcome::Notice, "Type at least one Application Identifier in brackets and its data, as (01)09501101530003."};
        return {Outcome::Notice, "A GS1 element string starts with an Application Identifier in brackets, as (01); this "
                                 "one starts with " + Named(input) + "."};
    }
    if (input.isEmpty()) return {Outcome::Notice, "Code 128 needs at least one character to encode."};
    for (const char32_t c : input.toUcs4())
        if (c >= 0x80)
            return {Outcome::Notice, Named(QString::fromUcs4(&c, 1)) + " is not an ASCII character: Code 128 takes ASCII 0 to 127."};
    if (input == kLongDigits)
        // In code set C the bars take 55055 pixels (start, 5000 characters and the check
        // character of 11 modules, the stop of 13, two quiet zones of 10, a 13-mil module
        // of 1 pixel); the line of 10000 digits below them is wider still and sets the
        // width. Down: 5 pixels of top space, 96 of bars, 5 of interval, the 12-pixel
        // line, 5 of down space.
        return {Outcome::Notice, "The symbol would be 61094 x 123 pixels, too large to draw: make it smaller."};
    return {Outcome::Built, "]C0" + input};
}

Expectation Expect(int editor, const QString& box, const QString& input)
{
    if (editor == C39) return Code39(box, input);
    if (editor == EAN13) return Ean13(box, input);
    if (editor >= CODE128) return Linear(editor, box, input);
    return Upc(kEditors[editor], box, input);
}

QStringList Boxes(const Editor& e)
{
    QStringList boxes{"fheightedt"};
    if (!e.widthBox.isEmpty()) boxes << e.widthBox;
    boxes << "heardtextedt" << "barcodeedt";
    if (!e.addOnBox.isEmpty()) boxes << e.addOnBox;
    return boxes;
}

}  // namespace

Q_DECLARE_METATYPE(Outcome)

class TestHostileEditors : public QObject, public EditorBench<TBarEditor> {
    Q_OBJECT

    void AddRow(int editor, const QString& box, const char* inputName, const QString& input)
    {
        const Expectation x = Expect(editor, box, input);
        QTest::addRow("%s %s %s", kEditors[editor].name, qPrintable(box), inputName)
            << editor << box << input << x.outcome << x.text;
    }

    QList<ModalSeen> Build()
    {
        return RunClosingModals([this] { QMetaObject::invokeMethod(form, "Button1Click"); });
    }

    // After a refused build: nothing new on the clipboard, and the preview and work
    // bitmap hold the last good symbol or nothing, never a part of a symbol.
    void VerifyRefused(const QImage& previewBefore, const QImage& workBefore)
    {
        QCOMPARE(ClipboardImage(), Marker());
        const QImage preview = Rgb32(form->Image1->picture);
        QVERIFY2(preview == previewBefore || AllWhite(preview), "the preview holds a part of a symbol");
        QVERIFY2(Rgb32(form->work) == workBefore || AllWhite(form->work), "the work bitmap holds a part of a symbol");
        // what Print and the turns would present
        form->ToolButton5Click();
        form->ToolButton3Click();
        const QImage restored = Rgb32(form->Image1->picture);
        QVERIFY(restored == previewBefore || AllWhite(restored));
    }

    void VerifyBuilt(const QString& read)
    {
        const QImage picture = Rgb32(form->Image1->picture);
        QCOMPARE(ClipboardImage(), picture);
        QVERIFY(form->Button4->isEnabled());
        const Symbology family = kEditors[editor_].family;
        const Symbology symbology = family == Symbology::EanUpc && read.contains(' ') ? Symbology::EanUpcWithAddOn : family;
        const QStringList decoded = DecodeSymbols(picture, symbology);
        QVERIFY2(decoded == QStringList{read}, qPrintable(decoded.join(", ")));
    }

    int editor_ = 0;

private slots:
    void cleanup() { Close(); }

    void pastedText_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("input");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("text");
        for (int editor = 0; editor < int(std::size(kEditors)); ++editor)
            for (const QString& box : Boxes(kEditors[editor]))
                for (const HostileInput& input : kHostileInputs) AddRow(editor, box, input.name, input.text);
        // Digits of another script, as many as the box takes: letters to the encoders.
        const QString arabicIndic = QStringLiteral("١٢٣٤٥٦٧٨٩٠١٢");
        for (int editor = EAN13; editor <= UPCE; ++editor) {
            const Editor& e = kEditors[editor];
            const QString message = arabicIndic.left(e.length);
            QTest::addRow("%s barcodeedt Arabic-Indic digits", e.name)
                << editor << QString("barcodeedt") << message
                << (editor == EAN13 ? Outcome::Notice : Outcome::Error)
                << (editor == EAN13 ? QString("The 'Bar code message' holds '١', which is not a digit.")
                                    : NotInteger("١"));
            QTest::addRow("%s %s Arabic-Indic digits", e.name, qPrintable(e.addOnBox))
                << editor << e.addOnBox << arabicIndic.left(2) << Outcome::Error << NotInteger(arabicIndic.left(2));
        }
        // Code 39: many characters without a pattern are named a few at a time.
        QString manyCjk;
        for (char16_t c = 0x4E00; c < 0x4E00 + 10000; ++c) manyCjk += QChar(c);
        QTest::addRow("C39 barcodeedt 10000 different CJK")
            << int(C39) << QString("barcodeedt") << manyCjk << Outcome::Notice
            << QString("The 'Bar code message' holds characters that Code 39 cannot encode: "
                       "'一', '丁', '丂', '七', '丄', '丅', '丆', '万', '丈', '三' and 9990 more.");
    }
    void pastedText()
    {
        QFETCH(int, editor);
        QFETCH(QString, box);
        QFETCH(QString, input);
        QFETCH(Outcome, outcome);
        QFETCH(QString, text);
        editor_ = editor;
        const Editor& e = kEditors[editor];
        QVERIFY(Open(e.pick));
        main->ftop = main->fdown = main->fiwidth = 50;
        main->fleft = e.left;
        main->fright = e.right;
        form->barcodeedt->setText(e.message);
        QVERIFY(Build().isEmpty());
        const QImage previewBefore = Rgb32(form->Image1->picture);
        const QImage workBefore = Rgb32(form->work);

        auto* edit = form->findChild<QLineEdit*>(box);
        QVERIFY(edit);
        Paste(edit, input);
        QGuiApplication::clipboard()->setImage(Marker());
        const QList<ModalSeen> seen = Build();

        switch (outcome) {
        case Outcome::Built:
            QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
            VerifyBuilt(text);
            break;
        case Outcome::NoticeThenBuilt:
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].title, QString("Notice"));
            QCOMPARE(seen[0].text, text);
            VerifyBuilt(e.read);
            break;
        case Outcome::Notice:
        case Outcome::Error:
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].title, outcome == Outcome::Notice ? QString("Notice") : platform::kApplicationTitle);
            QCOMPARE(seen[0].text, text);
            VerifyRefused(previewBefore, workBefore);
            break;
        case Outcome::Silent:
            QVERIFY(seen.isEmpty());
            VerifyRefused(previewBefore, workBefore);
            break;
        }
    }

    // Sizes and page values that would cut bars off, make them thinner or lower than a
    // pixel, or make the picture too large: refused with what to change; the largest
    // pictures accepted are drawn whole.
    void geometry_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("page");    // ftop, fdown, fleft, fright, fiwidth in mils
        QTest::addColumn<QString>("height");  // inches
        QTest::addColumn<QString>("width");   // UPC: module mils; EAN-13: symbol inches
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QString>("notice");  // empty: the symbol is built
        const QString cut = "The bars would reach beyond the picture's %1 edge and be cut off: "
                            "check the page setting for negative values.";
        const QString tooLarge = "The symbol would be %1, too large to draw: make it smaller.";
        QTest::newRow("UPC-A left -80: the digit column takes it") << int(UPCA) << "0,0,-80,0,0" << "1.3" << "21" << 96 << "";
        QTest::newRow("UPC-A left -200") << int(UPCA) << "0,0,-200,0,0" << "1.3" << "21" << 96 << cut.arg("left");
        QTest::newRow("UPC-A right -200") << int(UPCA) << "0,0,0,-200,0" << "1.3" << "21" << 96 << cut.arg("right");
        QTest::newRow("UPC-A top -100") << int(UPCA) << "-100,0,0,0,0" << "1.3" << "21" << 96 << cut.arg("top");
        QTest::newRow("UPC-A down -500") << int(UPCA) << "0,-500,0,0,0" << "1.3" << "21" << 96 << cut.arg("bottom");
        QTest::newRow("UPC-A interval -100") << int(UPCA) << "0,0,0,0,-100" << "1.3" << "21" << 96 << cut.arg("top");
        QTest::newRow("EAN-8 module 5 mils: 0.48 pixels")
            << int(EAN8) << "0,0,0,0,0" << "1.3" << "5" << 96
            << "The bars would be less than one pixel wide at 96 dots per inch: make the 'Single Bar Width' larger.";
        QTest::newRow("EAN-8 module 6 mils: 1 pixel") << int(EAN8) << "0,0,0,0,0" << "1.3" << "6" << 96 << "";
        QTest::newRow("UPC-E height 0.004: no pixel")
            << int(UPCE) << "0,0,0,0,0" << "0.004" << "21" << 96 << kLowBars;
        QTest::newRow("EAN-13 left -300") << int(EAN13) << "0,0,-300,0,0" << "1.3" << "2" << 96 << cut.arg("left");
        QTest::newRow("EAN-13 right -300") << int(EAN13) << "0,0,0,-300,0" << "1.3" << "2" << 96 << cut.arg("right");
        QTest::newRow("EAN-13 top -100") << int(EAN13) << "-100,0,0,0,0" << "1.3" << "2" << 96 << cut.arg("top");
        QTest::newRow("EAN-13 down -500") << int(EAN13) << "0,-500,0,0,0" << "1.3" << "2" << 96 << cut.arg("bottom");
        QTest::newRow("EAN-13 interval 600: bars under the digits gone")
            << int(EAN13) << "0,0,0,0,600" << "1.3" << "2" << 96
            << "The bars would be less than one pixel high: make the 'Bar code Height' larger, "
               "or the Interval Space or the font smaller.";
        QTest::newRow("EAN-13 one inch at 72 dpi")
            << int(EAN13) << "0,0,0,0,0" << "1.3" << "1" << 72
            << "The bars would be less than one pixel wide at 72 dots per inch: make the 'Bar code Width' larger.";
        // Guard bars 6 % longer than a tall symbol's picture lose their extension only.
        QTest::newRow("EAN-13 five inches high") << int(EAN13) << "0,0,0,0,0" << "5" << "2" << 96 << "";
        QTest::newRow("UPC-A 32696 x 482, the widest") << int(UPCA) << "0,0,0,0,0" << "4.85" << "3583" << 96 << "";
        QTest::newRow("UPC-A 32696 x 1509, over the area")
            << int(UPCA) << "0,0,0,0,0" << "15.55" << "3583" << 96 << tooLarge.arg("32696 x 1509 pixels");
        QTest::newRow("UPC-A bars 32870 wide") << int(UPCA) << "0,0,0,0,0" << "1.3" << "3600" << 96
                                               << tooLarge.arg("more than 32767 pixels on a side");
    }
    void geometry()
    {
        QFETCH(int, editor);
        QFETCH(QString, page);
        QFETCH(QString, height);
        QFETCH(QString, width);
        QFETCH(int, dpi);
        QFETCH(QString, notice);
        editor_ = editor;
        QVERIFY(Open(kEditors[editor].pick));
        engines::SetScreenResolutionSource([dpi] { return dpi; });
        const QStringList values = page.split(',');
        main->ftop = values[0].toDouble();
        main->fdown = values[1].toDouble();
        main->fleft = values[2].toDouble();
        main->fright = values[3].toDouble();
        main->fiwidth = values[4].toDouble();
        form->fheightedt->setText(height);
        if (editor == EAN13)
            form->findChild<QComboBox*>("ComboBox1")->setCurrentText(width);
        else
            form->findChild<QLineEdit*>("barwidth")->setText(width);
        form->barcodeedt->setText(kEditors[editor].message);
        QGuiApplication::clipboard()->setImage(Marker());
        const QList<ModalSeen> seen = Build();
        engines::SetScreenResolutionSource([] { return 96; });
        if (notice.isEmpty()) {
            QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
            const QImage picture = Rgb32(form->Image1->picture);
            QCOMPARE(ClipboardImage(), picture);
            // the end guard's last bar is there: the whole symbol was drawn
            int lastDark = -1;
            const int row = picture.height() / 3;
            for (int x = 0; x < picture.width(); ++x)
                if (qGray(picture.pixel(x, row)) < 128) lastDark = x;
            QVERIFY2(lastDark > picture.width() * 4 / 5, qPrintable(QString::number(lastDark)));
        } else {
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].title, QString("Notice"));
            QCOMPARE(seen[0].text, notice);
            QCOMPARE(ClipboardImage(), Marker());
            QVERIFY(!form->Button4->isEnabled());
        }
    }
};

QTEST_MAIN(TestHostileEditors)
#include "tst_hostile_editors.moc"
