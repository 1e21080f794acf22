// EAN-13 engine and the shared add-on encoding: check digits, module strings, the
// number-set tables, geometry to the pixel, refusal of lengths too large to lay out,
// and symbols that an independent decoder reads back.
#include <QtTest>

#include <cmath>
#include <limits>

#include "engines/ena13unit.h"
#include "engines/numbersets.h"
#include "engines/rounding.h"
#include "platform/qtcanvas.h"
#include "support/decoder.h"
#include "support/recordingcanvas.h"

using engines::TENA13;

namespace {

constexpr engines::Rgb kBarColor{20, 40, 200};

// Page values in mils and the inputs of one build, laid out as the EAN-13 editor
// lays them out.
struct Build {
    double fleft = 0, fright = 0, ftop = 0, fdown = 0, fiwidth = 50;
    double height = 1.3, width = 2;
    int dpi = 96;
    std::string comment, message = "123456789012", addOn;
};

struct Origins {
    double x, y;
    int addOnX, addOnY;
};

Origins Configure(TENA13& engine, const Build& b, const engines::Font& font, engines::Canvas& canvas)
{
    engine.SetComment(b.comment);
    engine.SetCodeHeight(b.height);
    engine.SetCodeWidth(b.width);
    engine.SetFont(&font);
    engine.SetCanvas(&canvas);
    engine.SetLeftMargin((b.fleft + 25) / 1000);
    engine.SetRightMargin((b.fright + 100) / 1000);
    engine.SetTopMargin(b.ftop / 1000);
    engine.SetBottomMargin((b.fdown + 25) / 1000);
    engine.SetBarColor(kBarColor);
    engine.SetResolution(b.dpi);
    engine.SetIntervalSpace(b.fiwidth / 1000);
    engine.SetSupplemental(b.addOn);
    engine.SetMessage(b.message);
    const double text = static_cast<double>(font.size) / b.dpi;
    engine.SetCommentX(text + engine.LeftMargin());
    engine.SetCommentY(engine.TopMargin() + engine.IntervalSpace());
    const double y = b.comment.empty() ? engine.TopMargin() + engine.IntervalSpace()
                                       : engine.TopMargin() + 2 * engine.IntervalSpace() + text + 0.03;
    return {text + engine.LeftMargin(), y,
            engines::RoundToInt((b.width + engine.LeftMargin() + b.width / 95 * 12) * b.dpi),
            engines::RoundToInt((engine.TopMargin() + engine.IntervalSpace()) * b.dpi)};
}

void DrawAll(const TENA13& engine, const Origins& at)
{
    engine.DrawComment();
    engine.Draw(at.x, at.y);
    if (engine.SupplementalWidth() > 0) engine.DrawSupplemental(at.addOnX, at.addOnY);
}

int Ones(std::string_view s) { return static_cast<int>(std::count(s.begin(), s.end(), '1')); }

std::string Group(const std::string& modules, int firstModule) { return modules.substr(firstModule - 1, 7); }

}  // namespace

class TestEna13 : public QObject {
    Q_OBJECT
    engines::Font font;

private slots:
    void numberSetsAreMirrorsOfSetA()
    {
        // Set C is set A inverted, set B is set C read backwards; A has odd parity, B even.
        for (char d = '0'; d <= '9'; ++d) {
            std::string a(engines::DigitPattern('A', d)), c(engines::DigitPattern('C', d));
            std::string inverted = a;
            for (char& m : inverted) m = m == '1' ? '0' : '1';
            QCOMPARE(c, inverted);
            QCOMPARE(std::string(engines::DigitPattern('B', d)), std::string(c.rbegin(), c.rend()));
            QCOMPARE(Ones(a) % 2, 1);
            QVERIFY(a.front() == '0' && a.back() == '1');
        }
        QCOMPARE(std::string(engines::DigitPattern('A', '6')), std::string("0101111"));
        QVERIFY(engines::DigitPattern('A', 'x').empty());
        QVERIFY(engines::DigitPattern('D', '1').empty());
        QVERIFY(engines::LeadingDigitSets(' ').empty());
    }

    void checkDigit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("check");
        QTest::newRow("123456789012") << "123456789012" << 8;
        QTest::newRow("400638133393") << "400638133393" << 1;
        QTest::newRow("sum a multiple of ten") << "000000000000" << 0;
        QTest::newRow("11 characters") << "12345678901" << -1;
        QTest::newRow("13 characters") << "1234567890128" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("letter") << "12345678901a" << -2;
        QTest::newRow("point") << "1234.6789012" << -2;
        QTest::newRow("blank first") << " 23456789012" << -2;
    }
    void checkDigit()
    {
        QFETCH(QString, text);
        QTEST(TENA13::CheckDigit(text.toStdString()), "check");
    }

    void encodes123456789012GroupByGroup()
    {
        const std::string groups[] = {"bab",     "0010011", "0111101", "0011101", "0110001", "0000101", "0010001",
                                      "ababa",   "1001000", "1110100", "1110010", "1100110", "1101100", "1001000",
                                      "bab"};
        std::string expected;
        for (const auto& g : groups) expected += g;
        const std::string modules = TENA13().Encode("123456789012");
        QCOMPARE(modules.size(), 95u);
        QCOMPARE(modules, expected);
    }

    void leadingDigitSelectsLeftNumberSets_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("sets");
        const char* rows[] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                              "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
        for (int d = 0; d <= 9; ++d)
            QTest::addRow("leading %d", d) << QString::number(d) + "98765432109" << QString(rows[d]);
    }
    void leadingDigitSelectsLeftNumberSets()
    {
        QFETCH(QString, message);
        QFETCH(QString, sets);
        const std::string modules = TENA13().Encode(message.toStdString());
        QCOMPARE(modules.size(), 95u);
        // Set A patterns have an odd number of dark modules, set B an even one.
        QString found;
        for (int i = 0; i < 6; ++i) found += Ones(Group(modules, 4 + 7 * i)) % 2 ? 'A' : 'B';
        QCOMPARE(found, sets);
        const std::string digits = message.toStdString().substr(1) + char('0' + TENA13::CheckDigit(message.toStdString()));
        for (int i = 6; i < 12; ++i)
            QCOMPARE(Group(modules, 51 + 7 * (i - 6)), std::string(engines::DigitPattern('C', digits[i])));
    }

    void guardsStandWhereTheyBelong()
    {
        for (const char* message : {"123456789012", "000000000000", "999999999999", "590123412345"}) {
            const std::string modules = TENA13().Encode(message);
            QCOMPARE(modules.size(), 95u);
            for (std::size_t i = 0; i < modules.size(); ++i) {
                const bool bar = i == 0 || i == 2 || i == 46 || i == 48 || i == 92 || i == 94;
                const bool space = i == 1 || i == 45 || i == 47 || i == 49 || i == 93;
                QCOMPARE(modules[i] == 'b', bar);
                QCOMPARE(modules[i] == 'a', space);
            }
        }
    }

    void rejectedMessagesPaintNothing_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("modules");
        QTest::newRow("empty") << "" << "bab";
        QTest::newRow("letter first") << "x23456789012" << "bab";
        QTest::newRow("11 digits") << "12345678901" << "";
        QTest::newRow("13 digits") << "1234567890128" << "";
        QTest::newRow("one digit") << "1" << "";
        QTest::newRow("letter last") << "12345678901a" << "";
    }
    void rejectedMessagesPaintNothing()
    {
        QFETCH(QString, message);
        TENA13 engine;
        QTEST(QString::fromStdString(engine.Encode(message.toStdString())), "modules");
        RecordingCanvas canvas;
        Build b;
        b.message = message.toStdString();
        const Origins at = Configure(engine, b, font, canvas);
        engine.Draw(at.x, at.y);
        QVERIFY(canvas.rects.empty());
        QVERIFY(canvas.texts.empty());
    }

    void barsAndDigitsToThePixel_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<int>("h");
        QTest::addColumn<int>("g");
        QTest::newRow("no comment") << "" << 105 << 111;
        QTest::newRow("comment") << "Comment" << 92 << 98;
    }
    void barsAndDigitsToThePixel()
    {
        QFETCH(QString, comment);
        QFETCH(int, h);
        QFETCH(int, g);
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.comment = comment.toStdString();
        const Origins at = Configure(engine, b, font, canvas);
        engine.Draw(at.x, at.y);
        const int xp = engines::RoundToInt(at.x * 96), yp = engines::RoundToInt(at.y * 96);
        QCOMPARE(xp, 10);
        QCOMPARE(yp, comment.isEmpty() ? 5 : 20);

        const auto bars = canvas.OfColor(kBarColor);
        const std::string modules = engine.Encode(b.message);
        std::string drawn = ModulesOf(bars, xp, 2, 95);
        std::string expected = modules;
        for (char& m : expected) m = m == 'b' ? '1' : m == 'a' ? '0' : m;
        QCOMPARE(drawn, expected);
        for (const auto& r : bars) {
            QCOMPARE(r.top, yp);
            const char m = modules[static_cast<std::size_t>((r.left - xp) / 2)];
            QCOMPARE(r.bottom, yp + (m == 'b' ? g : h));
        }
        QCOMPARE(bars.back().right, 200);

        QCOMPARE(canvas.texts.size(), 13u);
        std::string text;
        for (const auto& t : canvas.texts) {
            text += t.text;
            QCOMPARE(t.y, yp + h + 2);  // half an interval below the data bars
            QVERIFY(t.brush == engines::kWhite);
        }
        QCOMPARE(text, std::string("1234567890128"));
        QCOMPARE(canvas.texts[0].x, xp - 8 - 2);
        const int modulesAt[] = {3, 10, 17, 24, 31, 38, 50, 57, 64, 71, 78, 85};
        for (int i = 0; i < 12; ++i) QCOMPARE(canvas.texts[static_cast<std::size_t>(i + 1)].x, xp + modulesAt[i] * 2);
        // digits are painted after every bar
        QCOMPARE(canvas.rects.size(), bars.size());
    }

    void moduleWidthDropsTheRemainder_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("module");
        QTest::newRow("1 inch") << 1.0 << 96 << 1;
        QTest::newRow("2 inches, 190 of 192 pixels") << 2.0 << 96 << 2;
        QTest::newRow("9 inches") << 9.0 << 96 << 9;
        QTest::newRow("2 inches at 120 dpi") << 2.0 << 120 << 2;
        QTest::newRow("half an inch: no bars") << 0.5 << 96 << 0;
    }
    void moduleWidthDropsTheRemainder()
    {
        QFETCH(double, width);
        QFETCH(int, module);
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.width = width;
        QFETCH(int, dpi);
        b.dpi = dpi;
        const Origins at = Configure(engine, b, font, canvas);
        engine.Draw(at.x, at.y);
        const int xp = engines::RoundToInt(at.x * b.dpi);
        for (const auto& r : canvas.OfColor(kBarColor)) QCOMPARE(r.right - r.left, module);
        QCOMPARE(canvas.OfColor(kBarColor).back().right, xp + 95 * module);
        QCOMPARE(canvas.texts.front().x, xp - font.size - module);
    }

    void commentLine()
    {
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.fleft = 75;
        b.ftop = 30;
        b.comment = "Batch 7";
        Configure(engine, b, font, canvas);
        engine.DrawComment();
        QVERIFY(canvas.fontSet && canvas.font == font);
        QCOMPARE(canvas.texts.size(), 1u);
        // CommentX 8/96 + 0.1 inch -> 18 pixels, written 10 further left; CommentY 0.08 -> 8
        QCOMPARE(canvas.texts[0].x, 8);
        QCOMPARE(canvas.texts[0].y, 8);
        QCOMPARE(canvas.texts[0].text, b.comment);

        TENA13 bare;
        RecordingCanvas blank;
        b.comment.clear();
        Configure(bare, b, font, blank);
        bare.DrawComment();
        QVERIFY(blank.fontSet);
        QVERIFY(blank.texts.empty());
    }

    void supplementalEncoding_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("modules");
        QTest::newRow("12: A A") << "12" << "1011" "0011001" "01" "0010011";
        QTest::newRow("53: A B") << "53" << "1011" "0110001" "01" "0100001";
        QTest::newRow("00: A A") << "00" << "1011" "0001101" "01" "0001101";
        QTest::newRow("03: B B") << "03" << "1011" "0100111" "01" "0100001";
        QTest::newRow("86: B A") << "86" << "1011" "0001001" "01" "0101111";
        QTest::newRow("12345: B A B A A")
            << "12345" << "1011" "0110011" "01" "0010011" "01" "0100001" "01" "0100011" "01" "0110001";
        QTest::newRow("00000: B B A A A")
            << "00000" << "1011" "0100111" "01" "0100111" "01" "0001101" "01" "0001101" "01" "0001101";
        QTest::newRow("52495: check 1, B A B A A")
            << "52495" << "1011" "0111001" "01" "0010011" "01" "0011101" "01" "0001011" "01" "0110001";
        QTest::newRow("00002: check 6, A A A B B")
            << "00002" << "1011" "0001101" "01" "0001101" "01" "0001101" "01" "0100111" "01" "0011011";
        QTest::newRow("3 digits") << "123" << "1011";
        QTest::newRow("empty") << "" << "1011";
    }
    void supplementalEncoding()
    {
        QFETCH(QString, digits);
        const std::string modules = TENA13::EncodeSupplemental(digits.toStdString());
        QTEST(QString::fromStdString(modules), "modules");
        QCOMPARE(engines::EncodeSupplemental(digits.toStdString()), modules);
    }

    void supplementalNonDigitIsAConversionError_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<QString>("error");
        QTest::newRow("2: letter") << "1x" << "'1x' is not a valid integer value";
        QTest::newRow("2: signed") << "-1" << "'-1' is not a valid integer value";
        QTest::newRow("2: blank") << " 1" << "' 1' is not a valid integer value";
        QTest::newRow("5: letter") << "12a45" << "'a' is not a valid integer value";
        QTest::newRow("5: point last") << "1234." << "'.' is not a valid integer value";
    }
    void supplementalNonDigitIsAConversionError()
    {
        QFETCH(QString, digits);
        QFETCH(QString, error);
        try {
            engines::EncodeSupplemental(digits.toStdString());
            QFAIL("no error raised");
        } catch (const engines::ConvertError& e) {
            QCOMPARE(QString::fromStdString(e.what()), error);
        }
        // Drawn after the main symbol, the add-on fails before painting any of its bars.
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.addOn = digits.toStdString();
        const Origins at = Configure(engine, b, font, canvas);
        engine.Draw(at.x, at.y);
        const auto painted = canvas.rects.size();
        QVERIFY_THROWS_EXCEPTION(engines::ConvertError, engine.DrawSupplemental(at.addOnX, at.addOnY));
        QCOMPARE(canvas.rects.size(), painted);
    }

    void supplementalToThePixel_data()
    {
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("mw");
        QTest::newRow("2 digits") << "" << "12" << 96 << 219 << 5 << 18 << 102 << 2;
        QTest::newRow("5 digits") << "" << "12345" << 96 << 219 << 5 << 18 << 102 << 2;
        QTest::newRow("comment: two rows lower") << "note" << "12" << 96 << 219 << 5 << 34 << 118 << 2;
        // 240 / 95 rounds to 3 while the main symbol keeps 2
        QTest::newRow("120 dpi") << "" << "12" << 120 << 273 << 6 << 20 << 131 << 3;
    }
    void supplementalToThePixel()
    {
        QFETCH(QString, comment);
        QFETCH(QString, digits);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, mw);
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.comment = comment.toStdString();
        b.addOn = digits.toStdString();
        QFETCH(int, dpi);
        b.dpi = dpi;
        const Origins at = Configure(engine, b, font, canvas);
        QCOMPARE(at.addOnX, x);
        QCOMPARE(at.addOnY, y);
        engine.Draw(at.x, at.y);
        const auto mainBars = canvas.OfColor(kBarColor);
        canvas.rects.clear();
        canvas.texts.clear();
        engine.DrawSupplemental(x, y);

        if (b.dpi == 96 && comment.isEmpty()) QCOMPARE(x - mainBars.back().right, 19);
        const auto bars = canvas.OfColor(kBarColor);
        QCOMPARE(bars.size(), canvas.rects.size());
        const std::string modules = engines::EncodeSupplemental(b.addOn);
        QCOMPARE(ModulesOf(bars, x, mw, static_cast<int>(modules.size())), modules);
        for (const auto& r : bars) {
            QTEST(r.top, "top");
            QTEST(r.bottom, "bottom");
        }
        QCOMPARE(canvas.texts.size(), static_cast<std::size_t>(digits.size()));
        for (int j = 0; j < digits.size(); ++j) {
            const auto& t = canvas.texts[static_cast<std::size_t>(j)];
            QCOMPARE(t.text, std::string(1, b.addOn[static_cast<std::size_t>(j)]));
            QCOMPARE(t.x, x + (5 + 9 * j) * mw);
            QCOMPARE(t.y, comment.isEmpty() ? y : y + 16);
            QVERIFY(t.brush == engines::kWhite);
        }
    }

    void pictureSize_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("strip");
        QTest::newRow("no add-on") << "" << 0;
        QTest::newRow("2 digits") << "12" << 65;
        QTest::newRow("5 digits") << "12345" << 119;
        QTest::newRow("1 digit: built without") << "1" << 0;
        QTest::newRow("3 digits: built without") << "123" << 0;
        QTest::newRow("4 digits: built without") << "1234" << 0;
    }
    void pictureSize()
    {
        QFETCH(QString, digits);
        QFETCH(int, strip);
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.addOn = digits.toStdString();
        const Origins at = Configure(engine, b, font, canvas);
        QCOMPARE(engine.SupplementalWidth(), strip);
        QCOMPARE(engine.SymbolWidth(), 204 + strip);
        QCOMPARE(engine.SymbolHeight(), 127);
        // an add-on of another length is no add-on: nothing of it is painted
        engine.DrawSupplemental(at.addOnX, at.addOnY);
        QCOMPARE(canvas.rects.empty(), strip == 0);
    }

    void lengthsTooLargeAreRefused_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<bool>("high");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        // field: 0 height, 1 width, 2 interval, 3 comment x, 4 font size, 5 resolution,
        // 6 right margin, 7 bottom margin
        QTest::newRow("height NaN") << 0 << nan << true << true;
        QTest::newRow("height infinite") << 0 << qInf() << true << true;
        QTest::newRow("height 1e300") << 0 << 1e300 << true << true;
        QTest::newRow("width -infinite") << 1 << -qInf() << true << true;
        QTest::newRow("interval 1e12") << 2 << 1e12 << true << true;
        QTest::newRow("comment x NaN") << 3 << nan << true << true;
        QTest::newRow("font size") << 4 << 2e9 << true << true;
        QTest::newRow("resolution") << 5 << 2e9 << true << true;
        // each length fits, the picture does not
        QTest::newRow("wide picture") << 6 << 341.0 << true << false;
        QTest::newRow("high picture") << 7 << 341.0 << false << true;
    }
    void lengthsTooLargeAreRefused()
    {
        QFETCH(int, field);
        QFETCH(double, value);
        QFETCH(bool, wide);
        TENA13 engine;
        RecordingCanvas canvas;
        engines::Font big = font;
        Build b;
        b.comment = "note";
        b.addOn = "12345";
        const Origins at = Configure(engine, b, big, canvas);
        switch (field) {
        case 0: engine.SetCodeHeight(value); break;
        case 1: engine.SetCodeWidth(value); break;
        case 2: engine.SetIntervalSpace(value); break;
        case 3: engine.SetCommentX(value); break;
        case 4: big.size = static_cast<int>(value); break;
        case 5: engine.SetResolution(static_cast<int>(value)); break;
        case 6: engine.SetRightMargin(value); break;
        case 7: engine.SetBottomMargin(value); break;
        }
        QCOMPARE(engine.SymbolWidth() == INT32_MAX, wide);
        QTEST(engine.SymbolHeight() == INT32_MAX, "high");
        DrawAll(engine, at);
        const bool refused = field < 6;
        QCOMPARE(canvas.rects.empty(), refused);
        QCOMPARE(canvas.texts.empty(), refused);
    }

    void originsOutOfRangeAndThePixelLimit()
    {
        TENA13 engine;
        RecordingCanvas canvas;
        Build b;
        b.addOn = "12";
        Configure(engine, b, font, canvas);
        engine.Draw(std::nan(""), 0);
        engine.Draw(0, 1e10);
        engine.DrawSupplemental(INT32_MAX, 0);
        engine.DrawSupplemental(0, INT32_MIN);
        QVERIFY(canvas.rects.empty() && canvas.texts.empty());
        // with the 25 mils below, the picture is exactly as high as may be laid out
        engine.SetCodeHeight(engines::kMaxPixels / 96.0 - 0.025);
        QCOMPARE(engine.SymbolHeight(), engines::kMaxPixels);
        engine.SetCodeHeight(engines::kMaxPixels / 96.0 - 0.025 + 1.0 / 96);
        QCOMPARE(engine.SymbolHeight(), INT32_MAX);
    }

    void symbolsDecode_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("comment");
        const char* addOns[] = {"", "12", "90125"};
        for (int d = 0; d <= 9; ++d) {
            const QString message = QString::number(d) + "47112345678";
            QTest::addRow("leading %d, add-on '%s'", d, addOns[d % 3]) << message << addOns[d % 3] << "";
        }
        QTest::newRow("comment and 5-digit add-on") << "590123412345" << "00000" << "Lot 42";
        QTest::newRow("comment and 2-digit add-on") << "400638133393" << "03" << "Lot 43";
    }
    void symbolsDecode()
    {
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        // quiet zones of 11 modules left and 7 right at 2 pixels a module
        Build b;
        b.fleft = 125;
        b.fright = 100;
        b.ftop = 50;
        b.fdown = 50;
        b.message = message.toStdString();
        b.addOn = addOn.toStdString();
        QFETCH(QString, comment);
        b.comment = comment.toStdString();
        TENA13 engine;
        RecordingCanvas unused;
        const Origins at = Configure(engine, b, font, unused);
        QImage image = platform::WhiteImage(engine.SymbolWidth(), engine.SymbolHeight());
        {
            platform::ImageCanvas canvas(image);
            engine.SetCanvas(&canvas);
            DrawAll(engine, at);
        }
        QCOMPARE(engines::RoundToInt(at.x * 96), 22);
        const QString full = message + QString::number(TENA13::CheckDigit(b.message));
        // A leading 0 may be read as the UPC-A symbol it also is. The rows above the
        // add-on's bars cross the main symbol alone, which may be read once more
        // without the add-on.
        QStringList read;
        for (QString text : DecodeSymbols(image, Symbology::EanUpc))
            read << (message.startsWith('0') && !text.startsWith('0') ? '0' + text : text);
        const QString expected = addOn.isEmpty() ? full : full + ' ' + addOn;
        QVERIFY2(read.contains(expected), qPrintable(read.join(", ")));
        for (const QString& text : read) QVERIFY2(text == expected || text == full, qPrintable(text));
    }
};

QTEST_MAIN(TestEna13)
#include "tst_ena13.moc"
