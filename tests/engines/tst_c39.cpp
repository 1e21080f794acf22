// Code 39 engine: parameter checks, encoding, measuring and painting to the pixel.
#include <QtTest>

#include "engines/c39unit.h"
#include "engines/environment.h"
#include "support/recordingcanvas.h"

using engines::Tc39;

namespace {

struct Params {
    double interval = 0, height = 1.2, narrow = 0.023, ratio = 2.0, left = 0, right = 0;
    std::string comment, message = "AB";
    double top = 0, down = 0;
    int resolution = 96;
};

int Set(Tc39& engine, const engines::Font& font, const Params& p)
{
    return engine.SetParams(font, p.resolution, p.interval, p.height, p.narrow, p.ratio, p.left, p.right, p.comment,
                            p.message, p.top, p.down);
}

// The widths of the painted elements from left to right, bars and spaces alike.
std::vector<int> PaintedWidths(const RecordingCanvas& canvas)
{
    std::vector<int> widths;
    for (const auto& r : canvas.rects) widths.push_back(r.right - r.left);
    return widths;
}

}  // namespace

class TestC39 : public QObject {
    Q_OBJECT
    engines::Font font;

private slots:
    void init() { engines::SetScreenResolutionSource([] { return 96; }); }

    void patternsAreTwelveModulesWithThreeWideElements()
    {
        const std::string set = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-.$/+%*_";
        for (char c : set) {
            const std::string pattern = Tc39::CharPattern(c);
            QCOMPARE(pattern.size(), 12u);
            QVERIFY(pattern.front() == '1' && pattern.back() == '1');
            const std::string widths = Tc39::EncodeWidths(std::string(1, c));
            // start, character, stop: 9 elements each and two gaps
            QCOMPARE(widths.size(), 29u);
            const std::string own = widths.substr(10, 9);
            QCOMPARE(std::count_if(own.begin(), own.end(), [](char w) { return w == '6' || w == '8'; }), 3);
        }
        for (char c : std::string("ab !#&,:~\t"))
            QCOMPARE(Tc39::CharPattern(c), std::string("nil"));
    }

    void encodesStartDataGapsAndStop()
    {
        // '*' 100101101101 -> 2 6 2 4 8 4 8 4 2; gap 4; 'A' 110101001011 -> 8 4 2 4 2 6 2 4 8
        QCOMPARE(Tc39::EncodeWidths("A"), std::string("262484842") + "4" + "842426248" + "4" + "262484842");
        QCOMPARE(Tc39::EncodeWidths("AB").size(), 39u);
        QCOMPARE(Tc39::EncodeWidths("123456").size(), 79u);  // 10n + 19: no check character
        QCOMPARE(Tc39::EncodeWidths("ab"), Tc39::EncodeWidths("AB"));
        QCOMPARE(Tc39::EncodeWidths("A B"), std::string("nil"));
        QCOMPARE(Tc39::EncodeWidths("A_B").substr(20, 9), Tc39::EncodeWidths("_").substr(10, 9));
        QCOMPARE(Tc39::EncodeWidths("A*B").substr(20, 9), Tc39::EncodeWidths("*").substr(0, 9));
    }

    void unencodableCharactersAreListedOnce()
    {
        QCOMPARE(Tc39::UnencodableChars("ab-._$/+%"), std::string());
        QCOMPARE(Tc39::UnencodableChars("A B, C ,"), std::string(" ,"));
        QCOMPARE(Tc39::UnencodableChars("A\xc3\xa9"), std::string("\xc3\xa9"));
    }

    void statusCodes_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("code");
        // field: 0 interval, 1 height, 2 narrow, 3 ratio, 4 left, 5 right, 6 top, 7 down
        QTest::newRow("all accepted") << -1 << 0.0 << 0;
        QTest::newRow("height rounds to 0") << 1 << 0.004 << 2;
        QTest::newRow("height 0") << 1 << 0.0 << 2;
        QTest::newRow("narrow 5 mils") << 2 << 0.005 << 4;
        QTest::newRow("narrow 6 mils") << 2 << 0.006 << 0;
        QTest::newRow("ratio 1.9") << 3 << 1.9 << 5;
        QTest::newRow("ratio 3.1") << 3 << 3.1 << 5;
        QTest::newRow("ratio 2.0") << 3 << 2.0 << 0;
        QTest::newRow("ratio 3.0") << 3 << 3.0 << 0;
        QTest::newRow("negative lengths are ignored") << 4 << -1.0 << 0;
        QTest::newRow("negative interval ignored") << 0 << -0.5 << 0;
        QTest::newRow("negative down ignored") << 7 << -0.5 << 0;
        // lengths too long to lay out are refused with their own code, not wrapped round
        QTest::newRow("interval too long") << 0 << 1000.0 << 1;
        QTest::newRow("height too long") << 1 << 1e11 << 2;
        QTest::newRow("height infinite") << 1 << qInf() << 2;
        QTest::newRow("narrow too long") << 2 << 400.0 << 4;
        QTest::newRow("left too long") << 4 << 1000.0 << 6;
        QTest::newRow("right too long") << 5 << 1000.0 << 7;
        QTest::newRow("top too long") << 6 << 1000.0 << 11;
        QTest::newRow("down too long") << 7 << 1000.0 << 12;
        QTest::newRow("longest height accepted") << 1 << 341.0 << 0;
    }
    void statusCodes()
    {
        QFETCH(int, field);
        QFETCH(double, value);
        Params p;
        double* fields[] = {&p.interval, &p.height, &p.narrow, &p.ratio, &p.left, &p.right, &p.top, &p.down};
        if (field >= 0) *fields[field] = value;
        Tc39 engine;
        QTEST(Set(engine, font, p), "code");
    }

    void emptyMessageAndScreenResolution()
    {
        Tc39 engine;
        Params p;
        p.message.clear();
        QCOMPARE(Set(engine, font, p), 10);
        engines::SetScreenResolutionSource([] { return 0; });
        p.resolution = 0;
        Tc39 other;
        QCOMPARE(Set(other, font, p), 8);
        engines::SetScreenResolutionSource([] { return 96; });
        Tc39 screen;
        p.message = "AB";
        QCOMPARE(Set(screen, font, p), 0);
        QCOMPARE(screen.Dpi(), 96);
    }

    void checksStopAtFirstFailureInOrder()
    {
        // Bad height, narrow and ratio together: height is checked first.
        Tc39 engine;
        Params p;
        p.height = 0;
        p.narrow = 0;
        p.ratio = 9;
        p.message.clear();
        QCOMPARE(Set(engine, font, p), 2);
        p.height = 1;
        QCOMPARE(Set(engine, font, p), 4);
        p.narrow = 0.02;
        QCOMPARE(Set(engine, font, p), 5);
        p.ratio = 2.5;
        QCOMPARE(Set(engine, font, p), 10);
        // A refused ratio keeps the one stored before.
        p.message = "AB";
        p.ratio = 7;
        QCOMPARE(Set(engine, font, p), 0);
        QCOMPARE(engine.Wide(), 5);  // 2 x 2.5 -> 5
    }

    void wideElementsRoundHalfToEven_data()
    {
        QTest::addColumn<double>("narrowMils");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("narrow");
        QTest::addColumn<int>("wide");
        // narrow pixels at 96 dpi: 10.4 mils -> 0.9984 -> 1; 31.25 mils -> 3.0
        QTest::newRow("1 x 2.5 = 2.5 -> 2") << 10.4 << 2.5 << 1 << 2;
        QTest::newRow("3 x 2.5 = 7.5 -> 8") << 31.25 << 2.5 << 3 << 8;
        QTest::newRow("23 mils -> 2.208 -> 2") << 23.0 << 2.0 << 2 << 4;
        QTest::newRow("5 x 2.5 = 12.5 -> 12") << 52.083 << 2.5 << 5 << 12;
        QTest::newRow("1 x 3.0") << 10.4 << 3.0 << 1 << 3;
    }
    void wideElementsRoundHalfToEven()
    {
        QFETCH(double, narrowMils);
        QFETCH(double, ratio);
        Tc39 engine;
        Params p;
        p.narrow = narrowMils / 1000;
        p.ratio = ratio;
        QCOMPARE(Set(engine, font, p), 0);
        QTEST(engine.Narrow(), "narrow");
        QTEST(engine.Wide(), "wide");
        // every painted element has one of the two widths, in code order
        RecordingCanvas canvas;
        engine.Draw(canvas);
        const std::string codes = Tc39::EncodeWidths("AB");
        const auto widths = PaintedWidths(canvas);
        QCOMPARE(widths.size(), codes.size());
        for (std::size_t i = 0; i < codes.size(); ++i)
            QCOMPARE(widths[i], (codes[i] == '2' || codes[i] == '4') ? engine.Narrow() : engine.Wide());
    }

    void abAt96DpiToThePixel()
    {
        Tc39 engine;
        QCOMPARE(Set(engine, font, Params{}), 0);
        QCOMPARE(engine.SymbolWidth(), 102);
        QCOMPARE(engine.SymbolHeight(), 115);
        QCOMPARE(engine.ElementsWidth(Tc39::EncodeWidths("AB")), 102);
        QCOMPARE(engine.ElementsWidth("nil"), -1);
        RecordingCanvas canvas;
        engine.Draw(canvas);
        QCOMPARE(canvas.rects.front().left, 0);
        QCOMPARE(canvas.rects.back().right, 102);
        for (std::size_t i = 1; i < canvas.rects.size(); ++i) QCOMPARE(canvas.rects[i].left, canvas.rects[i - 1].right);
        for (const auto& r : canvas.rects) {
            QCOMPARE(r.top, 0);
            QCOMPARE(r.bottom, 115);
        }
        QCOMPARE(canvas.texts.size(), 2u);
        QCOMPARE(canvas.texts[0].x, 24);
        QCOMPARE(canvas.texts[1].x, 78);
        QCOMPARE(canvas.texts[0].y, 115);
        QCOMPARE(canvas.texts[0].text, std::string("A"));
        QVERIFY(canvas.texts[0].brush == engines::kWhite);
        QVERIFY(canvas.fontSet && canvas.font == font);
    }

    void messageShownAsTyped()
    {
        Tc39 engine;
        Params p;
        p.message = "ab_";
        QCOMPARE(Set(engine, font, p), 0);
        RecordingCanvas canvas;
        engine.Draw(canvas);
        QCOMPARE(canvas.texts.size(), 3u);
        QCOMPARE(canvas.texts[0].text + canvas.texts[1].text + canvas.texts[2].text, std::string("ab_"));
        // 5 characters' width: (3 + 2) * (6*2 + 3*4) + 4 * 2 = 128; step (128 - 24 - 24) / 2 = 40
        QCOMPARE(canvas.texts[1].x - canvas.texts[0].x, 40);
    }

    void pageSpacesAndCommentBands()
    {
        // interval 10 px, top 5, down 7, left 3, right 4; font 8 -> S = 8
        Tc39 engine;
        Params p;
        p.interval = 10.0 / 96;
        p.top = 5.0 / 96;
        p.down = 7.0 / 96;
        p.left = 3.0 / 96;
        p.right = 4.0 / 96;
        p.comment = "a comment much wider than the symbol itself";
        QCOMPARE(Set(engine, font, p), 0);
        QCOMPARE(engine.SymbolWidth(), 3 + 102 + 4);
        QCOMPARE(engine.SymbolHeight(), 2 * 8 + 4 * 10 + 115 + 5 + 7);
        RecordingCanvas canvas;
        engine.Draw(canvas);
        QCOMPARE(canvas.texts.front().text, p.comment);
        QCOMPARE(canvas.texts.front().x, 3);
        QCOMPARE(canvas.texts.front().y, 5 + 10);
        QCOMPARE(canvas.rects.front().left, 3);
        QCOMPARE(canvas.rects.front().top, 5 + 2 * 10 + 8);
        QCOMPARE(canvas.rects.front().bottom, 5 + 2 * 10 + 8 + 115);
        QCOMPARE(canvas.texts[1].y, 8 + 5 + 115 + 3 * 10);
        QCOMPARE(canvas.texts[1].x, 3 + 24);

        Tc39 plain;
        p.comment.clear();
        QCOMPARE(Set(plain, font, p), 0);
        QCOMPARE(plain.SymbolHeight(), 4 * 10 + 115 + 5 + 7);
        RecordingCanvas bare;
        plain.Draw(bare);
        QCOMPARE(bare.rects.front().top, 5 + 10);
        QCOMPARE(bare.texts.front().y, 5 + 115 + 10);
    }

    void commentFailureIsReportedAndDrawingGoesOn()
    {
        std::vector<std::string> notices;
        engines::SetNoticeSink([&](const std::string& text) { notices.push_back(text); });
        Tc39 engine;
        Params p;
        p.comment = "note";
        QCOMPARE(Set(engine, font, p), 0);
        RecordingCanvas canvas;
        canvas.failText = true;
        engine.Draw(canvas);
        engines::SetNoticeSink({});
        QCOMPARE(notices.size(), 1u);
        QVERIFY(notices[0].rfind("Error Code is ", 0) == 0);
        QCOMPARE(canvas.rects.size(), 39u);
    }

    void oneCharacterFailsAfterTheBars()
    {
        Tc39 engine;
        Params p;
        p.message = "A";
        QCOMPARE(Set(engine, font, p), 0);
        RecordingCanvas canvas;
        QVERIFY_THROWS_EXCEPTION(engines::LayoutError, engine.Draw(canvas));
        QCOMPARE(canvas.rects.size(), 29u);
        QVERIFY(canvas.texts.empty());
    }

    void hugeSymbolsMeasureAsTooLarge()
    {
        Tc39 engine;
        Params p;
        p.narrow = 341.0;  // 32736 pixels
        p.ratio = 3.0;
        p.message = std::string(20000, 'W');
        QCOMPARE(Set(engine, font, p), 0);
        QCOMPARE(engine.SymbolWidth(), INT32_MAX);
    }

    void zeroSizeFontKeepsThePreviousOne()
    {
        engines::Font big;
        big.size = 20;
        engines::Font none;
        none.size = 0;
        Tc39 engine;
        Params p;
        p.comment = "x";
        QCOMPARE(Set(engine, big, p), 0);
        QCOMPARE(Set(engine, none, p), 0);
        QCOMPARE(engine.SymbolHeight(), 2 * 20 + 115);
    }
};

QTEST_APPLESS_MAIN(TestC39)
#include "tst_c39.moc"
