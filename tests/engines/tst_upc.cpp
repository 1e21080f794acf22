// UPC-A, EAN-8 and UPC-E engines and their bar symbol base: check digits and module
// strings, the layout the setters keep up to date, the pictures to the pixel and in
// painting order, refusal of what cannot be laid out, and symbols that an independent
// decoder reads back.
#include <QtTest>

#include <climits>
#include <cmath>
#include <limits>
#include <unordered_set>

#include "engines/Tean8unit.h"
#include "engines/Tupc_a_barunit.h"
#include "engines/Tupce_unit.h"
#include "engines/environment.h"
#include "engines/numbersets.h"
#include "engines/rounding.h"
#include "platform/qtcanvas.h"
#include "support/decoder.h"
#include "support/recordingcanvas.h"
#include "symbols/symbolbuild.h"

namespace {

enum Sym { UpcA, Ean8, UpcE };

constexpr engines::Rgb kBarColor{20, 40, 200};

// What the tests expect of each symbology, written out rather than taken from the engines.
struct Expected {
    int modules;
    std::vector<std::pair<int, int>> fullRuns;  // module ranges drawn as full-length bars
    std::vector<int> digitGroups;               // first modules of the groups with a digit under them
};

const Expected& Of(Sym s)
{
    static const Expected upcA{95, {{1, 10}, {46, 50}, {86, 95}}, {11, 18, 25, 32, 39, 51, 58, 65, 72, 79}};
    static const Expected ean8{67, {{1, 3}, {32, 36}, {64, 67}}, {4, 11, 18, 25, 37, 44, 51, 58}};
    static const Expected upcE{51, {{1, 3}, {46, 51}}, {4, 11, 18, 25, 32, 39}};
    return s == UpcA ? upcA : s == Ean8 ? ean8 : upcE;
}

bool IsFull(Sym s, int module)
{
    for (auto [first, last] : Of(s).fullRuns)
        if (module >= first && module <= last) return true;
    return false;
}

// The inputs of one build: pixels for module width and bar height, mils for the page.
struct Build {
    int dpi = 96, fontSize = 8, moduleWidth = 2, barHeight = 125;
    double fleft = 0, ftop = 0, fright = 0, fdown = 0, fiwidth = 0;
    std::string message, comment, addOn;
};

template <class F>
auto WithEngine(Sym s, F&& use)
{
    if (s == UpcA) {
        engines::Tupc_a engine;
        return use(engine);
    }
    if (s == Ean8) {
        engines::Tean8 engine;
        return use(engine);
    }
    engines::Tupce engine;
    return use(engine);
}

// The editors' configuration, up to the point where the picture is sized. The build
// gives the module and the bar height in pixels; the inputs carry them as mils and
// inches that round back to those pixels.
template <class Engine>
void Configure(Engine& engine, Sym s, const Build& b, const engines::Font& font, engines::Canvas* canvas)
{
    symbols::Inputs inputs;
    inputs.resolution = b.dpi;
    inputs.barColor = kBarColor;
    inputs.width = b.moduleWidth * 1000.0 / b.dpi;
    inputs.height = double(b.barHeight) / b.dpi;
    inputs.message = b.message;
    inputs.addOn = b.addOn;
    inputs.page = {b.ftop, b.fdown, b.fleft, b.fright, b.fiwidth};
    symbols::ConfigureUpc(engine, inputs, Of(s).modules, &font);
    engine.SetCanvas(canvas);
}

template <class Engine>
void DrawAll(Engine& engine, const Build& b)
{
    engine.SetComment(b.comment);
    engine.Draw();
    if (!b.addOn.empty()) engine.DrawSupplemental();
}

struct Drawn {
    int width, height, originX, barTop;
    std::string message;
};

Drawn DrawSymbol(Sym s, const Build& b, engines::Canvas& canvas)
{
    engines::Font font;
    font.size = b.fontSize;
    return WithEngine(s, [&](auto& engine) {
        Configure(engine, s, b, font, &canvas);
        const int width = engine.SymbolWidth(), height = engine.SymbolHeight();
        DrawAll(engine, b);
        return Drawn{width, height, engine.OriginX(), engine.BarTop(), engine.Message()};
    });
}

QImage Render(Sym s, const Build& b)
{
    engines::Font font;
    font.size = b.fontSize;
    return WithEngine(s, [&](auto& engine) {
        Configure(engine, s, b, font, nullptr);
        QImage image = platform::WhiteImage(engine.SymbolWidth(), engine.SymbolHeight());
        {
            platform::ImageCanvas canvas(image);
            engine.SetCanvas(&canvas);
            DrawAll(engine, b);
        }
        return image;
    });
}

std::string EncodeMessage(Sym s, const std::string& message)
{
    return WithEngine(s, [&](auto& engine) {
        engine.SetMessage(message);
        return engine.Encode(message);
    });
}


// The number set of the digit whose 7 modules start at firstModule: set A patterns
// hold an odd number of dark modules, set B an even one.
char SetOf(const std::string& modules, int firstModule)
{
    const std::string group = modules.substr(static_cast<std::size_t>(firstModule - 1), 7);
    return std::count(group.begin(), group.end(), '1') % 2 ? 'A' : 'B';
}

// Records rectangles and texts in one sequence as well, for the painting order.
class OrderedCanvas : public RecordingCanvas {
public:
    struct Event {
        bool text;
        int x;
    };
    std::vector<Event> events;
    void FillRect(int left, int top, int right, int bottom) override
    {
        events.push_back({false, left});
        RecordingCanvas::FillRect(left, top, right, bottom);
    }
    bool TextOut(int x, int y, const std::string& text) override
    {
        events.push_back({true, x});
        return RecordingCanvas::TextOut(x, y, text);
    }
};

template <class F>
QString ErrorOf(F&& call)
{
    try {
        call();
    } catch (const engines::ConvertError& e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

}  // namespace

class TestUpc : public QObject {
    Q_OBJECT

private slots:
    void init() { engines::SetScreenResolutionSource([] { return 96; }); }

    // Of the six-digit messages that expand to one number, exactly one is its standard
    // form: every message's form expands to the same number and is its own form.
    void upceStandardFormOfEveryMessage()
    {
        using engines::Tupce;
        std::unordered_set<std::string> numbers;
        int forms = 0;
        char six[8];
        for (int n = 0; n < 1000000; ++n) {
            std::snprintf(six, sizeof six, "%06d", n);
            const std::string number = Tupce::Expand(six);
            const std::string form = Tupce::StandardForm(number);
            if (form.size() != 6 || Tupce::Expand(form) != number || Tupce::StandardForm(Tupce::Expand(form)) != form)
                QFAIL(qPrintable(QStringLiteral("%1 expands to %2, standard form '%3'")
                                     .arg(six, QString::fromStdString(number), QString::fromStdString(form))));
            forms += form == six;
            numbers.insert(number);
        }
        QCOMPARE(forms, int(numbers.size()));
        QCOMPARE(Tupce::StandardForm("01230000000"), std::string("123003"));
        QCOMPARE(Tupce::StandardForm("01200000045"), std::string("120450"));
        QCOMPARE(Tupce::StandardForm("01234500006"), std::string("123456"));
        QCOMPARE(Tupce::StandardForm("03600029145"), std::string());  // no zeros to suppress
        QCOMPARE(Tupce::StandardForm("11230000000"), std::string());  // number system 1
    }

    // Each engine's number sets are the standard's, and give nothing for what is not
    // one digit, so a caller's pattern stays as it was.
    void numberSetsOfEachEngine()
    {
        using engines::Tean8, engines::Tupc_a, engines::Tupce;
        for (const auto& set : {Tupc_a::NumberSetA, Tean8::NumberSetA, Tupce::NumberSetA})
            QCOMPARE(std::string(set("0")) + std::string(set("9")), std::string("00011010001011"));
        for (const auto& set : {Tupc_a::NumberSetB, Tean8::NumberSetB, Tupce::NumberSetB})
            QCOMPARE(std::string(set("0")) + std::string(set("9")), std::string("01001110010111"));
        for (const auto& set : {Tupc_a::NumberSetC, Tean8::NumberSetC})
            QCOMPARE(std::string(set("0")) + std::string(set("9")), std::string("11100101110100"));
        for (const char* bad : {"", "x", "12", "\xd9\xa3"}) {
            QVERIFY(Tupc_a::NumberSetA(bad).empty() && Tean8::NumberSetC(bad).empty());
            QVERIFY(Tupce::NumberSetB(bad).empty());
        }
    }

    void encodesWithCheckDigit_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("modules");
        QTest::addColumn<QString>("after");
        QTest::newRow("UPC-A 03600029145: check 2")
            << int(UpcA) << "03600029145"
            << "101" "0001101" "0111101" "0101111" "0001101" "0001101" "0001101" "01010"
               "1101100" "1110100" "1100110" "1011100" "1001110" "1101100" "101"
            << "036000291452";
        QTest::newRow("UPC-A zeros: check 0")
            << int(UpcA) << "00000000000"
            << "101" "0001101" "0001101" "0001101" "0001101" "0001101" "0001101" "01010"
               "1110010" "1110010" "1110010" "1110010" "1110010" "1110010" "101"
            << "000000000000";
        QTest::newRow("UPC-A 72527273070: check 6")
            << int(UpcA) << "72527273070"
            << "101" "0111011" "0010011" "0110001" "0010011" "0111011" "0010011" "01010"
               "1000100" "1000010" "1110010" "1000100" "1110010" "1010000" "101"
            << "725272730706";
        QTest::newRow("EAN-8 9638507: check 4")
            << int(Ean8) << "9638507"
            << "101" "0001011" "0101111" "0111101" "0110111" "01010" "1001110" "1110010" "1000100" "1011100" "101"
            << "96385074";
        QTest::newRow("EAN-8 zeros: check 0")
            << int(Ean8) << "0000000"
            << "101" "0001101" "0001101" "0001101" "0001101" "01010" "1110010" "1110010" "1110010" "1110010" "101"
            << "00000000";
        QTest::newRow("EAN-8 5512345: check 7")
            << int(Ean8) << "5512345"
            << "101" "0110001" "0110001" "0011001" "0010011" "01010" "1000010" "1011100" "1001110" "1000100" "101"
            << "55123457";
    }
    void encodesWithCheckDigit()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        WithEngine(Sym(sym), [&](auto& engine) {
            engine.SetMessage(message.toStdString());
            QTEST(QString::fromStdString(engine.Encode(engine.Message())), "modules");
            QTEST(QString::fromStdString(engine.Message()), "after");
        });
    }

    void upceExpansionAndParity_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("upcA");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("sets");
        QTest::newRow("123456") << "123456" << "01234500006" << "5" << "BAABBA";
        QTest::newRow("654321") << "654321" << "06510000432" << "7" << "BABABA";
        QTest::newRow("000000") << "000000" << "00000000000" << "0" << "BBBAAA";
        QTest::newRow("100003") << "100003" << "01000000000" << "9" << "BAABAB";
        QTest::newRow("123404") << "123404" << "01234000000" << "8" << "BABAAB";
        QTest::newRow("d6 2") << "123452" << "01220000345" << "3" << "BBAAAB";
        QTest::newRow("d6 5") << "987655" << "09876500005" << "2" << "BBAABA";
        QTest::newRow("d6 7") << "024617" << "00246100007" << "0" << "BBBAAA";
        QTest::newRow("d6 8") << "555558" << "05555500008" << "1" << "BBABAA";
        QTest::newRow("d6 1") << "123451" << "01210000345" << "4" << "BABBAA";
    }
    void upceExpansionAndParity()
    {
        QFETCH(QString, message);
        QFETCH(QString, upcA);
        QFETCH(QString, check);
        engines::Tupce engine;
        engine.SetMessage(message.toStdString());
        QCOMPARE(QString::fromStdString(engine.ExpandToUpcA()), check);
        // The UPC-A engine finds the same check digit for the expanded message.
        engines::Tupc_a upc;
        upc.SetMessage(upcA.toStdString());
        upc.Encode(upcA.toStdString());
        QCOMPARE(QString::fromStdString(upc.Message()), upcA + check);

        const std::string modules = engine.Encode(message.toStdString());
        QCOMPARE(modules.size(), 51u);
        QCOMPARE(modules.substr(0, 3), std::string("101"));
        QCOMPARE(modules.substr(45), std::string("010101"));
        const std::string digits = message.toStdString();
        QString sets;
        for (int i = 0; i < 6; ++i) {
            const char set = SetOf(modules, 4 + 7 * i);
            sets += set;
            QCOMPARE(modules.substr(static_cast<std::size_t>(3 + 7 * i), 7),
                     std::string(engines::DigitPattern(set, digits[static_cast<std::size_t>(i)])));
        }
        QTEST(sets, "sets");
        QCOMPARE(engine.Message(), message.toStdString());
    }

    // A message the editor would refuse never reaches the canvas, and never makes the
    // engine read past the end of a text.
    void wrongLengthsPaintNothing_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::newRow("UPC-A empty") << int(UpcA) << "";
        QTest::newRow("UPC-A 10") << int(UpcA) << "0360002914";
        QTest::newRow("UPC-A 12") << int(UpcA) << "036000291452";
        QTest::newRow("UPC-A 10 with a letter") << int(UpcA) << "036000291x";
        QTest::newRow("EAN-8 1") << int(Ean8) << "9";
        QTest::newRow("EAN-8 6") << int(Ean8) << "963850";
        QTest::newRow("EAN-8 8") << int(Ean8) << "96385074";
        QTest::newRow("UPC-E empty") << int(UpcE) << "";
        QTest::newRow("UPC-E 5") << int(UpcE) << "12345";
        QTest::newRow("UPC-E 7") << int(UpcE) << "1234565";
    }
    void wrongLengthsPaintNothing()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        Build b;
        b.message = message.toStdString();
        b.comment = "note";
        RecordingCanvas canvas;
        const Drawn drawn = DrawSymbol(Sym(sym), b, canvas);
        QVERIFY(canvas.rects.empty());
        QVERIFY(canvas.texts.empty());
        QCOMPARE(drawn.message, b.message);
        QVERIFY(EncodeMessage(Sym(sym), b.message).empty());
    }

    void secondDrawOnOneEngine_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("repeats");
        // The check digit appended by the first Draw leaves a message of the wrong length.
        QTest::newRow("UPC-A") << int(UpcA) << "03600029145" << false;
        QTest::newRow("EAN-8") << int(Ean8) << "9638507" << false;
        // UPC-E keeps its message, so it paints the same symbol again.
        QTest::newRow("UPC-E") << int(UpcE) << "123456" << true;
    }
    void secondDrawOnOneEngine()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        QFETCH(bool, repeats);
        engines::Font font;
        Build b;
        b.message = message.toStdString();
        RecordingCanvas canvas;
        WithEngine(Sym(sym), [&](auto& engine) {
            Configure(engine, Sym(sym), b, font, &canvas);
            engine.Draw();
            const auto rects = canvas.rects.size(), texts = canvas.texts.size();
            QVERIFY(rects > 0 && texts > 0);
            engine.Draw();
            QCOMPARE(canvas.rects.size(), repeats ? 2 * rects : rects);
            QCOMPARE(canvas.texts.size(), repeats ? 2 * texts : texts);
        });
    }

    void upceExpansionOfShortOrOddMessages_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << "" << "" << "";
        QTest::newRow("five digits") << "12345" << "" << "";
        QTest::newRow("seven: the first six count") << "1234567" << "5" << "";
        QTest::newRow("letter sixth") << "12345x" << "" << "'x' is not a valid integer value";
        QTest::newRow("point sixth") << "12345." << "" << "'.' is not a valid integer value";
        QTest::newRow("blank third") << "12 456" << "" << "' ' is not a valid integer value";
        QTest::newRow("first named first") << "a2345b" << "" << "'a' is not a valid integer value";
    }
    void upceExpansionOfShortOrOddMessages()
    {
        QFETCH(QString, message);
        QFETCH(QString, error);
        engines::Tupce engine;
        engine.SetMessage(message.toStdString());
        QString check;
        QCOMPARE(ErrorOf([&] { check = QString::fromStdString(engine.ExpandToUpcA()); }), error);
        QTEST(check, "check");
    }

    // Pasted text can carry any character to the encoder: the build fails with the
    // conversion error before anything of the symbol is painted.
    void nonDigitsRaiseBeforePainting_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("error");
        QTest::newRow("UPC-A letter last") << int(UpcA) << "0360002914x" << "'x' is not a valid integer value";
        QTest::newRow("UPC-A blank") << int(UpcA) << "03600 29145" << "' ' is not a valid integer value";
        QTest::newRow("UPC-A sign first") << int(UpcA) << "-3600029145" << "'-' is not a valid integer value";
        QTest::newRow("EAN-8 point") << int(Ean8) << "963850." << "'.' is not a valid integer value";
        QTest::newRow("EAN-8 letter first") << int(Ean8) << "A638507" << "'A' is not a valid integer value";
        QTest::newRow("UPC-E letter") << int(UpcE) << "12a456" << "'a' is not a valid integer value";
        QTest::newRow("UPC-E letter sixth") << int(UpcE) << "12345x" << "'x' is not a valid integer value";
    }
    void nonDigitsRaiseBeforePainting()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        engines::Font font;
        Build b;
        b.message = message.toStdString();
        b.comment = "note";
        RecordingCanvas canvas;
        WithEngine(Sym(sym), [&](auto& engine) {
            Configure(engine, Sym(sym), b, font, &canvas);
            engine.SetComment(b.comment);
            QTEST(ErrorOf([&] { engine.Draw(); }), "error");
            QCOMPARE(engine.Message(), b.message);
        });
        QVERIFY(canvas.rects.empty());
        QVERIFY(canvas.texts.empty());
    }

    // The add-on is painted after the main symbol, so its error comes after that.
    void addOnNonDigitRaisesBeforeTheAddOn_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("error");
        QTest::newRow("UPC-A 2") << int(UpcA) << "1x" << "'1x' is not a valid integer value";
        QTest::newRow("EAN-8 5") << int(Ean8) << "12a45" << "'a' is not a valid integer value";
        QTest::newRow("UPC-E 2") << int(UpcE) << "-1" << "'-1' is not a valid integer value";
    }
    void addOnNonDigitRaisesBeforeTheAddOn()
    {
        QFETCH(int, sym);
        QFETCH(QString, addOn);
        engines::Font font;
        Build b;
        b.message = sym == UpcA ? "03600029145" : sym == Ean8 ? "9638507" : "123456";
        b.addOn = addOn.toStdString();
        RecordingCanvas canvas;
        WithEngine(Sym(sym), [&](auto& engine) {
            Configure(engine, Sym(sym), b, font, &canvas);
            engine.Draw();
            const auto rects = canvas.rects.size(), texts = canvas.texts.size();
            QVERIFY(rects > 0);
            QTEST(ErrorOf([&] { engine.DrawSupplemental(); }), "error");
            QCOMPARE(canvas.rects.size(), rects);
            QCOMPARE(canvas.texts.size(), texts);
        });
    }

    void symbolToThePixel_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("m");
        QTest::addColumn<double>("fleft");
        QTest::addColumn<double>("ftop");
        QTest::addColumn<double>("fiwidth");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("originX");
        QTest::addColumn<int>("barTop");
        QTest::addColumn<int>("shortBottom");
        QTest::addColumn<int>("textY");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<int>>("textX");
        // 96 dots per inch, 8-point font, bar height 125 pixels throughout.
        QTest::newRow("UPC-A, no distances")
            << int(UpcA) << "03600029145" << 2 << 0.0 << 0.0 << 0.0 << "" << 0 << 0 << 117 << 117 << "036000291452"
            << QList<int>{0, 28, 42, 56, 70, 84, 108, 122, 136, 150, 164, 198};
        // origin px(105) = 10; bar top px(50 + 50) = 10, plus a text row for the comment;
        // digits at round(4.8 + 116.67 + 18) = 139
        QTest::newRow("UPC-A, distances and comment")
            << int(UpcA) << "03600029145" << 2 << 105.0 << 50.0 << 50.0 << "Lot 7" << 10 << 18 << 135 << 139
            << "036000291452" << QList<int>{10, 38, 52, 66, 80, 94, 118, 132, 146, 160, 174, 208};
        // the first digit and the check digit stand twice, outside the bars and under them
        QTest::newRow("EAN-8") << int(Ean8) << "9638507" << 2 << 0.0 << 0.0 << 0.0 << "" << 0 << 0 << 117 << 117
                               << "9963850744" << QList<int>{0, 14, 28, 42, 56, 80, 94, 108, 122, 142};
        // digits 7M - F = 6 pixels right of their groups' first modules (14, 28, ...)
        QTest::newRow("UPC-E, M 2") << int(UpcE) << "123456" << 2 << 0.0 << 0.0 << 0.0 << "" << 0 << 0 << 117 << 117
                                    << "01234565" << QList<int>{0, 20, 34, 48, 62, 76, 90, 110};
        // with M 1, one pixel left of them (11, 18, ...)
        QTest::newRow("UPC-E, M 1") << int(UpcE) << "123456" << 1 << 0.0 << 0.0 << 0.0 << "" << 0 << 0 << 117 << 117
                                    << "01234565" << QList<int>{0, 10, 17, 24, 31, 38, 45, 59};
        QTest::newRow("UPC-E, comment") << int(UpcE) << "654321" << 2 << 0.0 << 0.0 << 0.0 << "c" << 0 << 8 << 125
                                        << 125 << "06543217" << QList<int>{0, 20, 34, 48, 62, 76, 90, 110};
    }
    void symbolToThePixel()
    {
        QFETCH(int, sym);
        QFETCH(int, m);
        QFETCH(int, originX);
        QFETCH(int, barTop);
        QFETCH(int, shortBottom);
        QFETCH(int, textY);
        QFETCH(QString, comment);
        QFETCH(QList<int>, textX);
        QFETCH(QString, message);
        QFETCH(double, fleft);
        QFETCH(double, ftop);
        QFETCH(double, fiwidth);
        Build b;
        b.message = message.toStdString();
        b.moduleWidth = m;
        b.fleft = fleft;
        b.ftop = ftop;
        b.fiwidth = fiwidth;
        b.comment = comment.toStdString();
        RecordingCanvas canvas;
        const Drawn drawn = DrawSymbol(Sym(sym), b, canvas);
        QCOMPARE(drawn.originX, originX);
        QCOMPARE(drawn.barTop, barTop);
        QVERIFY(canvas.fontSet && canvas.font.size == 8);

        const int f = 8, first = f + originX;
        const auto bars = canvas.OfColor(kBarColor);
        QCOMPARE(bars.size(), canvas.rects.size());
        QCOMPARE(QString::fromStdString(ModulesOf(bars, first, m, Of(Sym(sym)).modules)),
                 QString::fromStdString(EncodeMessage(Sym(sym), b.message)));
        for (const auto& r : bars) {
            QCOMPARE(r.top, barTop);
            QCOMPARE(r.bottom, IsFull(Sym(sym), (r.left - first) / m + 1) ? barTop + 125 : shortBottom);
        }

        const auto& texts = canvas.texts;
        QCOMPARE(texts.size(), static_cast<std::size_t>(textX.size() + (comment.isEmpty() ? 0 : 1)));
        QString line;
        for (int i = 0; i < textX.size(); ++i) {
            const auto& t = texts[static_cast<std::size_t>(i)];
            line += QString::fromStdString(t.text);
            QCOMPARE(t.x, textX[i]);
            QCOMPARE(t.y, textY);
            QVERIFY(t.brush == engines::kWhite);
        }
        QTEST(line, "line");
        if (!comment.isEmpty()) {
            // a text row and an interval above the bars
            const auto& c = texts.back();
            QCOMPARE(c.text, b.comment);
            QCOMPARE(c.x, originX);
            QCOMPARE(c.y, barTop - f - engines::RoundToInt(fiwidth / 1000 * 96));
            QVERIFY(c.brush == engines::kWhite);
        }
    }

    // Each digit's white box goes down before the bars to its right, which cover it
    // again; the digit right of the bars and the comment come last.
    void paintingOrder_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::newRow("UPC-A") << int(UpcA) << "03600029145";
        QTest::newRow("EAN-8") << int(Ean8) << "9638507";
        QTest::newRow("UPC-E") << int(UpcE) << "123456";
    }
    void paintingOrder()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        Build b;
        b.message = message.toStdString();
        b.comment = "note";
        OrderedCanvas canvas;
        DrawSymbol(Sym(sym), b, canvas);
        const auto& groups = Of(Sym(sym)).digitGroups;
        const auto& events = canvas.events;
        QVERIFY(events.front().text);
        QVERIFY(events.back().text && canvas.texts.back().text == "note");
        QVERIFY(events[events.size() - 2].text);
        // Between the first and the last two texts: bars from left to right, and each
        // digit after the bars up to its group's first module and before those beyond.
        std::size_t digit = 0;
        int lastBar = 0, lastGroup = 0;
        for (std::size_t e = 1; e + 2 < events.size(); ++e) {
            if (events[e].text) {
                QVERIFY(digit < groups.size());
                lastGroup = groups[digit++];
                continue;
            }
            const int module = (events[e].x - 8) / 2 + 1;
            QVERIFY(module > lastBar && module > lastGroup);
            if (digit < groups.size()) QVERIFY(module <= groups[digit]);
            lastBar = module;
        }
        QCOMPARE(digit, groups.size());
        QCOMPARE(lastBar, Of(Sym(sym)).modules);
    }

    void canvasSize_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<double>("page");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        // 2F + modules x 2 by F + F + 125 at the editors' defaults
        QTest::newRow("UPC-A") << int(UpcA) << "" << 0.0 << 206 << 141;
        QTest::newRow("UPC-A, 2-digit add-on") << int(UpcA) << "12" << 0.0 << 270 << 141;
        QTest::newRow("UPC-A, 5-digit add-on") << int(UpcA) << "12345" << 0.0 << 324 << 141;
        QTest::newRow("EAN-8") << int(Ean8) << "" << 0.0 << 150 << 141;
        QTest::newRow("EAN-8, 2-digit add-on") << int(Ean8) << "12" << 0.0 << 214 << 141;
        QTest::newRow("EAN-8, 5-digit add-on") << int(Ean8) << "12345" << 0.0 << 268 << 141;
        QTest::newRow("UPC-E") << int(UpcE) << "" << 0.0 << 118 << 141;
        QTest::newRow("UPC-E, 2-digit add-on") << int(UpcE) << "12" << 0.0 << 182 << 141;
        QTest::newRow("UPC-E, 5-digit add-on") << int(UpcE) << "12345" << 0.0 << 236 << 141;
        // every page value 100 mils: px(200) = 19 across and down, px(100) = 10 of interval
        QTest::newRow("UPC-A, page values") << int(UpcA) << "" << 100.0 << 225 << 170;
    }
    void canvasSize()
    {
        QFETCH(int, sym);
        QFETCH(QString, addOn);
        QFETCH(double, page);
        Build b;
        b.message = sym == UpcA ? "03600029145" : sym == Ean8 ? "9638507" : "123456";
        b.addOn = addOn.toStdString();
        b.fleft = b.fright = b.ftop = b.fdown = b.fiwidth = page;
        b.comment = "a comment moves the symbol, not the edges";
        RecordingCanvas canvas;
        const Drawn drawn = DrawSymbol(Sym(sym), b, canvas);
        QTEST(drawn.width, "width");
        QTEST(drawn.height, "height");
    }

    void addOnPlacement_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("f");
        QTest::addColumn<double>("fiwidth");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("mainEnd");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("digitY");
        // the gap after the end guard is 12 x M - F: 16 pixels at M 2, 4 at M 1
        QTest::newRow("UPC-A M 2") << int(UpcA) << "12" << 2 << 8 << 0.0 << "" << 214 << 198 << 8 << 125 << 0;
        QTest::newRow("UPC-A M 1") << int(UpcA) << "12" << 1 << 8 << 0.0 << "" << 107 << 103 << 8 << 125 << 0;
        QTest::newRow("EAN-8 M 2") << int(Ean8) << "12" << 2 << 8 << 0.0 << "" << 158 << 142 << 8 << 125 << 0;
        QTest::newRow("EAN-8 M 1") << int(Ean8) << "12345" << 1 << 8 << 0.0 << "" << 79 << 75 << 8 << 125 << 0;
        QTest::newRow("UPC-E M 2") << int(UpcE) << "12345" << 2 << 8 << 0.0 << "" << 126 << 110 << 8 << 125 << 0;
        QTest::newRow("UPC-E M 1") << int(UpcE) << "12" << 1 << 8 << 0.0 << "" << 63 << 59 << 8 << 125 << 0;
        // F beyond 12 x M: the add-on starts inside the main symbol
        QTest::newRow("UPC-A F 14 over M 1") << int(UpcA) << "12" << 1 << 14 << 0.0 << "" << 107 << 109 << 14 << 125 << 0;
        // bar top px(50) + F = 13; the add-on's bars from round(8 + 13 + 4.8) = 26
        QTest::newRow("UPC-A comment") << int(UpcA) << "12" << 2 << 8 << 50.0 << "c" << 214 << 198 << 26 << 138 << 13;
    }
    void addOnPlacement()
    {
        QFETCH(int, sym);
        QFETCH(QString, addOn);
        QFETCH(int, m);
        QFETCH(int, f);
        QFETCH(double, fiwidth);
        QFETCH(QString, comment);
        QFETCH(int, start);
        Build b;
        b.message = sym == UpcA ? "03600029145" : sym == Ean8 ? "9638507" : "123456";
        b.addOn = addOn.toStdString();
        b.moduleWidth = m;
        b.fontSize = f;
        b.fiwidth = fiwidth;
        b.comment = comment.toStdString();
        RecordingCanvas canvas;
        DrawSymbol(Sym(sym), b, canvas);

        const int mainTexts = static_cast<int>(Of(Sym(sym)).digitGroups.size()) + 2 + (comment.isEmpty() ? 0 : 1);
        const auto bars = canvas.OfColor(kBarColor);
        std::vector<RecordedRect> mainBars, addOnBars;
        for (const auto& r : bars) (r.top == bars.front().top ? mainBars : addOnBars).push_back(r);
        QVERIFY(!mainBars.empty() && !addOnBars.empty());
        QTEST(mainBars.back().right, "mainEnd");
        QCOMPARE(addOnBars.front().left, start);
        const std::string modules = engines::EncodeSupplemental(b.addOn);
        QCOMPARE(ModulesOf(addOnBars, start, m, static_cast<int>(modules.size())), modules);
        for (const auto& r : addOnBars) {
            QTEST(r.top, "top");
            QTEST(r.bottom, "bottom");
        }
        QCOMPARE(static_cast<int>(canvas.texts.size()), mainTexts + static_cast<int>(addOn.size()));
        for (int j = 0; j < addOn.size(); ++j) {
            // each digit at the left edge of its 9-module group, above the bars
            const auto& t = canvas.texts[static_cast<std::size_t>(mainTexts + j)];
            QCOMPARE(t.text, b.addOn.substr(static_cast<std::size_t>(j), 1));
            QCOMPARE(t.x, start + (4 + 9 * j) * m);
            QTEST(t.y, "digitY");
            QVERIFY(t.brush == engines::kWhite);
        }
    }

    void addOnOfOtherLengthsPaintsNothing()
    {
        for (const char* addOn : {"1", "123", "1234", "123456"}) {
            engines::Font font;
            Build b;
            b.message = "03600029145";
            b.addOn = addOn;
            RecordingCanvas canvas;
            engines::Tupc_a engine;
            Configure(engine, UpcA, b, font, &canvas);
            engine.DrawSupplemental();
            QVERIFY2(canvas.rects.empty() && canvas.texts.empty(), addOn);
        }
    }

    // Distances in mils are summed before they are rounded, and halves go to even.
    void pageValuesToPixels_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("right");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("interval");
        QTest::addColumn<int>("originX");
        QTest::addColumn<int>("spaces");
        QTest::addColumn<int>("barTop");
        QTest::newRow("5 + 5 mils: 1 pixel, origin 0") << 96 << 5.0 << 5.0 << 0.0 << 0.0 << 0 << 1 << 0;
        QTest::newRow("2.5 pixels give 2") << 1000 << 2.5 << 0.0 << 2.5 << 0.0 << 2 << 2 << 2;
        QTest::newRow("3.5 pixels give 4") << 1000 << 3.5 << 0.0 << 3.5 << 0.0 << 4 << 4 << 4;
        QTest::newRow("0.5 pixels give 0") << 1000 << 0.5 << 0.0 << 0.25 << 0.25 << 0 << 0 << 0;
        QTest::newRow("top and interval summed: 2.5") << 1000 << 0.0 << 0.0 << 1.5 << 1.0 << 0 << 0 << 2;
        QTest::newRow("top and interval summed: 0.96") << 96 << 0.0 << 0.0 << 5.0 << 5.0 << 0 << 0 << 1;
    }
    void pageValuesToPixels()
    {
        QFETCH(int, dpi);
        QFETCH(double, left);
        QFETCH(double, right);
        QFETCH(double, top);
        QFETCH(double, interval);
        QFETCH(int, spaces);
        engines::SetScreenResolutionSource([dpi] { return dpi; });
        engines::Font font;
        engines::Tbar bar;
        bar.ReadResolution();
        bar.SetFont(&font);
        bar.SetModuleCount(95);
        bar.SetModuleWidth(2);
        bar.SetBarHeight(125);
        bar.SetLeftSpace(left);
        bar.SetTopSpace(top);
        bar.SetRightSpace(right);
        bar.SetDownSpace(0);
        bar.SetInterval(interval);
        QTEST(bar.OriginX(), "originX");
        QCOMPARE(bar.SymbolWidth(), 16 + spaces + 190);
        QTEST(bar.BarTop(), "barTop");
    }

    // Every setter recomputes only what it names; the editors' order relies on that.
    void recomputationChain()
    {
        engines::Font font, larger;
        larger.size = 12;
        engines::Tbar bar;
        bar.ReadResolution();
        QCOMPARE(bar.Resolution(), 96);
        bar.SetFont(&font);
        bar.SetModuleCount(95);
        bar.SetModuleWidth(2);
        bar.SetBarHeight(125);
        QCOMPARE(bar.BarsWidth(), 190);
        QCOMPARE(bar.BodyHeight(), 133);
        QCOMPARE(bar.SymbolWidth(), 206);
        QCOMPARE(bar.SymbolHeight(), 141);

        // A comment moves the bars a text row down and leaves the picture as it was.
        bar.SetComment("note");
        QCOMPARE(bar.BarTop(), 8);
        QCOMPARE(bar.BodyHeight(), 133);
        QCOMPARE(bar.SymbolHeight(), 141);
        // Set before the height, it takes a row in the body and once more below it.
        bar.SetBarHeight(125);
        QCOMPARE(bar.BodyHeight(), 141);
        QCOMPARE(bar.SymbolHeight(), 157);
        bar.SetComment("");

        // A new font recomputes the heights and the bar top, not the width.
        bar.SetFont(&larger);
        QCOMPARE(bar.SymbolWidth(), 206);
        QCOMPARE(bar.BodyHeight(), 12 + 125);
        QCOMPARE(bar.SymbolHeight(), 12 + 12 + 125);
        bar.SetRightSpace(0);
        QCOMPARE(bar.SymbolWidth(), 24 + 190);

        // Each step reads the screen resolution anew.
        engines::SetScreenResolutionSource([] { return 192; });
        bar.SetDownSpace(100);
        QCOMPARE(bar.Resolution(), 192);
        QCOMPARE(bar.SymbolHeight(), 12 + 12 + 19 + 125);
        QCOMPARE(bar.OriginX(), 0);
        bar.SetLeftSpace(100);
        QCOMPARE(bar.OriginX(), 19);
        QCOMPARE(bar.SymbolWidth(), 24 + 19 + 190);
    }

    void zeroModuleWidth_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("underBars");
        QTest::newRow("UPC-A") << int(UpcA) << "03600029145" << 8;
        QTest::newRow("EAN-8") << int(Ean8) << "9638507" << 8;
        // UPC-E places its digits without the text column: at OriginX
        QTest::newRow("UPC-E") << int(UpcE) << "123456" << 0;
    }
    void zeroModuleWidth()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        QFETCH(int, underBars);
        Build b;
        b.message = message.toStdString();
        b.addOn = "12";
        b.moduleWidth = engines::RoundToInt(5 / 1000.0 * 96);
        QCOMPARE(b.moduleWidth, 0);
        RecordingCanvas canvas;
        const Drawn drawn = DrawSymbol(Sym(sym), b, canvas);
        QCOMPARE(drawn.width, 16);
        QVERIFY(!canvas.rects.empty());
        for (const auto& r : canvas.rects) QCOMPARE(r.right, r.left);
        const auto& texts = canvas.texts;
        const std::size_t under = Of(Sym(sym)).digitGroups.size();
        QCOMPARE(texts.size(), under + 2 + 2);
        QCOMPARE(texts[0].x, 0);
        for (std::size_t i = 1; i <= under; ++i) QCOMPARE(texts[i].x, underBars);
        QCOMPARE(texts[under + 1].x, 8);
    }

    // Nothing that cannot be laid out is painted, and no pixel sum overflows: the
    // picture reads too large instead.
    void tooLargeToLayOut_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<bool>("high");
        QTest::addColumn<bool>("paints");
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        // field: 0 left, 1 top, 2 right, 3 down, 4 interval (mils); 5 module width,
        // 6 bar height, 7 font size, 8 module count; 9 resolution, with 1 mil left
        QTest::newRow("left NaN") << 0 << nan << true << true << false;
        QTest::newRow("top infinite") << 1 << inf << true << true << false;
        QTest::newRow("right 1e300") << 2 << 1e300 << true << true << false;
        QTest::newRow("down -infinite") << 3 << -inf << true << true << false;
        QTest::newRow("interval -1e300") << 4 << -1e300 << true << true << false;
        QTest::newRow("interval NaN") << 4 << nan << true << true << false;
        QTest::newRow("module width INT_MAX") << 5 << double(INT_MAX) << true << true << false;
        QTest::newRow("module width INT_MIN") << 5 << double(INT_MIN) << true << true << false;
        QTest::newRow("bar height INT_MAX") << 6 << double(INT_MAX) << true << true << false;
        QTest::newRow("bar height INT_MIN") << 6 << double(INT_MIN) << true << true << false;
        QTest::newRow("font size INT_MAX") << 7 << double(INT_MAX) << true << true << false;
        QTest::newRow("resolution INT_MAX") << 9 << double(INT_MAX) << true << true << false;
        QTest::newRow("resolution INT_MIN") << 9 << double(INT_MIN) << true << true << false;
        // each length fits, the picture does not; at 400 pixels a module the symbol
        // itself does not either
        QTest::newRow("module width 400") << 5 << 400.0 << true << false << false;
        QTest::newRow("module count INT_MAX") << 8 << double(INT_MAX) << true << false << true;
        QTest::newRow("left and right 300000 each") << 2 << 300000.0 << true << false << true;
        QTest::newRow("top and down 300000 each") << 3 << 300000.0 << false << true << true;
    }
    void tooLargeToLayOut()
    {
        QFETCH(int, field);
        QFETCH(double, value);
        engines::Font font;
        Build b;
        b.message = "03600029145";
        b.addOn = "12345";
        b.comment = "note";
        if (field == 2) b.fleft = 300000;
        if (field == 3) b.ftop = 300000;
        RecordingCanvas canvas;
        engines::Tupc_a engine;
        Configure(engine, UpcA, b, font, &canvas);
        switch (field) {
        case 0: engine.SetLeftSpace(value); break;
        case 1: engine.SetTopSpace(value); break;
        case 2: engine.SetRightSpace(value); break;
        case 3: engine.SetDownSpace(value); break;
        case 4: engine.SetInterval(value); break;
        case 5: engine.SetModuleWidth(static_cast<int>(value)); break;
        case 6: engine.SetBarHeight(static_cast<int>(value)); break;
        case 7:
            font.size = static_cast<int>(value);
            engine.SetFont(&font);
            break;
        case 8: engine.SetModuleCount(static_cast<int>(value)); break;
        case 9:
            // Following the screen again, which answers with an extreme resolution.
            engines::SetScreenResolutionSource([r = static_cast<int>(value)] { return r; });
            engine.SetResolution(0);
            engine.SetLeftSpace(1);
            break;
        }
        QTEST(engine.SymbolWidth() == engines::Tbar::kTooLarge, "wide");
        QTEST(engine.SymbolHeight() == engines::Tbar::kTooLarge, "high");
        DrawAll(engine, b);
        QTEST(!canvas.rects.empty(), "paints");
        QTEST(!canvas.texts.empty(), "paints");
    }

    void pixelLimitExactly()
    {
        engines::Font font;
        engines::Tbar bar;
        bar.SetFont(&font);
        bar.SetModuleCount(1);
        bar.SetModuleWidth(engines::kMaxPixels - 16);
        bar.SetBarHeight(engines::kMaxPixels - 16);
        QCOMPARE(bar.SymbolWidth(), engines::kMaxPixels);
        QCOMPARE(bar.SymbolHeight(), engines::kMaxPixels);
        bar.SetModuleWidth(engines::kMaxPixels - 15);
        bar.SetBarHeight(engines::kMaxPixels - 15);
        QCOMPARE(bar.SymbolWidth(), engines::Tbar::kTooLarge);
        QCOMPARE(bar.SymbolHeight(), engines::Tbar::kTooLarge);
    }

    void symbolsDecode_data()
    {
        QTest::addColumn<int>("sym");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("expected");
        const auto row = [](Sym s, const char* message, const char* addOn, const char* comment, const char* expected) {
            QTest::addRow("%s %s+%s%s", s == UpcA ? "UPC-A" : s == Ean8 ? "EAN-8" : "UPC-E", message, addOn,
                          *comment ? " comment" : "")
                << int(s) << message << addOn << comment << expected;
        };
        row(UpcA, "03600029145", "", "", "036000291452");
        row(UpcA, "72527273070", "12", "", "725272730706 12");
        row(UpcA, "00000000000", "90125", "", "000000000000 90125");
        row(UpcA, "99999999999", "53", "Lot 7", "999999999993 53");
        row(UpcA, "04210000526", "00000", "Lot 8", "042100005264 00000");
        row(UpcA, "01234567890", "", "Lot 9", "012345678905");
        row(Ean8, "9638507", "", "", "96385074");
        row(Ean8, "5512345", "12", "", "55123457 12");
        row(Ean8, "0000000", "12345", "", "00000000 12345");
        row(Ean8, "9999999", "03", "Lot 7", "99999995 03");
        row(Ean8, "4006381", "", "Lot 8", "40063812");
        row(UpcE, "123456", "", "", "01234565");
        row(UpcE, "654321", "12", "", "06543217 12");
        row(UpcE, "000000", "12345", "", "00000000 12345");
        row(UpcE, "100003", "86", "Lot 7", "01000039 86");
        row(UpcE, "123404", "00002", "", "01234048 00002");
        row(UpcE, "987655", "", "Lot 8", "09876552");
        row(UpcE, "555558", "", "", "05555581");
    }
    void symbolsDecode()
    {
        QFETCH(int, sym);
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        QFETCH(QString, comment);
        QFETCH(QString, expected);
        // Quiet zones of 9 modules both sides for UPC-A, 7 for EAN-8, 9 and 7 for UPC-E,
        // at 2 pixels a module: the text column F plus the left page value, and right of
        // the main symbol F + px(left + right) - px(left).
        Build b;
        b.fleft = sym == Ean8 ? 63 : 105;
        b.fright = sym == UpcA ? 105 : 63;
        b.ftop = 50;
        b.fdown = 50;
        b.fiwidth = 50;
        b.message = message.toStdString();
        b.addOn = addOn.toStdString();
        b.comment = comment.toStdString();
        const QImage image = Render(Sym(sym), b);
        QVERIFY(!image.isNull());
        const QStringList read =
            DecodeSymbols(image, addOn.isEmpty() ? Symbology::EanUpc : Symbology::EanUpcWithAddOn);
        QVERIFY2(read == QStringList{expected}, qPrintable(read.join(", ")));
    }
};

QTEST_MAIN(TestUpc)
#include "tst_upc.moc"
