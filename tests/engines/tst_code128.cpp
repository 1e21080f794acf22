// Code 128 encoder: the symbol character table's shape, symbols that ZXing-cpp reads
// back, the fewest symbol characters against an exhaustive search of every encoding,
// and refusal of what is not ASCII.
#include <QtTest>

#include <climits>
#include <set>

#include "barsread.h"
#include "engines/code128.h"

using engines::kFnc1;

namespace {

bool InA(int c) { return c == kFnc1 || (c >= 0 && c < 96); }
bool InB(int c) { return c == kFnc1 || (c >= 32 && c < 128); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// The fewest symbol characters that encode m[pos..] from code set `set` on, found by
// trying every choice a valid symbol could make at each step: a character in the set,
// Shift and a character of the other of A and B, a digit pair or FNC1 in set C, or a
// switch to another set (two switches in a row only waste a character).
int Exhaustive(const std::vector<int>& m, std::size_t pos, char set, bool switched)
{
    if (pos == m.size()) return 0;
    int best = INT_MAX / 2;
    const int c = m[pos];
    if (set == 'C') {
        if (c == kFnc1) best = std::min(best, 1 + Exhaustive(m, pos + 1, set, false));
        if (pos + 1 < m.size() && IsDigit(c) && IsDigit(m[pos + 1]))
            best = std::min(best, 1 + Exhaustive(m, pos + 2, set, false));
    } else if (set == 'A' ? InA(c) : InB(c)) {
        best = std::min(best, 1 + Exhaustive(m, pos + 1, set, false));
    } else {
        best = std::min(best, 2 + Exhaustive(m, pos + 1, set, false));
    }
    if (!switched)
        for (char other : {'A', 'B', 'C'})
            if (other != set) best = std::min(best, 1 + Exhaustive(m, pos, other, true));
    return best;
}

// Reads symbol character values back into data characters as a scanner does, checking
// the start, the modulo-103 check character and the stop; nullopt for anything a scanner
// would reject.
std::optional<std::vector<int>> DecodeValues(const std::vector<int>& v)
{
    if (v.size() < 3 || v.front() < 103 || v.front() > 105 || v.back() != 106) return std::nullopt;
    long sum = v.front();
    for (std::size_t i = 1; i + 2 < v.size(); ++i) sum += static_cast<long>(i) * v[i];
    if (sum % 103 != v[v.size() - 2]) return std::nullopt;
    const auto inSet = [](char set, int value) { return set == 'A' ? (value < 64 ? value + 32 : value - 64) : value + 32; };
    std::vector<int> out;
    char set = static_cast<char>('A' + v.front() - 103);
    for (std::size_t i = 1; i + 2 < v.size(); ++i) {
        const int value = v[i];
        if (value == 102) {
            out.push_back(kFnc1);
        } else if (set == 'C') {
            if (value < 100) {
                out.push_back('0' + value / 10);
                out.push_back('0' + value % 10);
            } else {
                set = value == 100 ? 'B' : 'A';
            }
        } else if (value == 98) {
            if (i + 3 >= v.size() || v[i + 1] > 95) return std::nullopt;
            out.push_back(inSet(set == 'A' ? 'B' : 'A', v[++i]));
        } else if (value == 99) {
            set = 'C';
        } else if (value == 100 || value == 101) {
            const char to = value == 100 ? 'B' : 'A';
            if (to == set) return std::nullopt;  // FNC4: never written by this encoder
            set = to;
        } else if (value < 96) {
            out.push_back(inSet(set, value));
        } else {
            return std::nullopt;  // FNC2, FNC3
        }
    }
    return out;
}

std::vector<int> Ascii(std::string_view text) { return std::vector<int>(text.begin(), text.end()); }

}  // namespace

class TestCode128 : public QObject {
    Q_OBJECT

private slots:
    // Every symbol character is 11 modules in three bars and three spaces of 1 to 4
    // modules, its bars an even count of modules; the stop adds a 2-module bar. No two
    // characters share a pattern.
    void symbolCharactersHaveTheStandardShape()
    {
        std::set<std::string_view> seen;
        for (int value = 0; value <= 106; ++value) {
            const std::string_view p = engines::Code128Pattern(value);
            QCOMPARE(p.size(), value == 106 ? 7u : 6u);
            int modules = 0, bars = 0;
            for (std::size_t i = 0; i < p.size(); ++i) {
                QVERIFY(p[i] >= '1' && p[i] <= '4');
                modules += p[i] - '0';
                if (i % 2 == 0) bars += p[i] - '0';
            }
            QCOMPARE(modules, value == 106 ? 13 : 11);
            QVERIFY2(bars % 2 == 0, qPrintable(QString::number(value)));
            QVERIFY(seen.insert(p.substr(0, 6)).second);
        }
        QVERIFY(engines::Code128Pattern(107).empty());
        QVERIFY(engines::Code128Pattern(-1).empty());
    }

    void readsBack_data()
    {
        QTest::addColumn<QByteArray>("message");
        QByteArray everyAscii, everyPair;
        for (int c = 0; c < 128; ++c) everyAscii += static_cast<char>(c);
        for (int n = 0; n < 100; ++n) everyPair += QByteArray::number(n).rightJustified(2, '0');
        QTest::newRow("digits, even run") << QByteArray("12345678901234567890");
        QTest::newRow("digits, odd run") << QByteArray("123456789");
        QTest::newRow("one digit") << QByteArray("7");
        QTest::newRow("lower case") << QByteArray("code set b");
        QTest::newRow("control characters") << QByteArray("AB\x01\x02\tCD\r\n", 9);
        QTest::newRow("NUL inside") << QByteArray("A\0B", 3);
        QTest::newRow("control among lower case") << QByteArray("ab\x1b" "cd\x7f");
        QTest::newRow("mixed runs") << QByteArray("RUV-0123456789-abc-98765x");
        QTest::newRow("odd digits between letters") << QByteArray("a12345b6789012c");
        QTest::newRow("every ASCII character") << everyAscii;
        QTest::newRow("every digit pair") << everyPair;
    }

    void readsBack()
    {
        QFETCH(QByteArray, message);
        const std::string text(message.constData(), static_cast<std::size_t>(message.size()));
        const auto symbol = engines::EncodeCode128(text);
        int sum = 0;
        for (int w : symbol.widths) sum += w;
        QCOMPARE(sum, symbol.modules);
        QCOMPARE(symbol.modules, 11 * static_cast<int>(symbol.values.size() - 1) + 13);
        const ReadBack read = ReadSymbol(DrawModules(symbol.widths), ZXing::BarcodeFormat::Code128);
        QCOMPARE(read.count, 1);
        QCOMPARE(read.identifier, std::string("]C0"));
        QCOMPARE(QByteArray::fromStdString(read.text), message);
    }

    // Start C, ten digit pairs, check and stop.
    void twentyDigitsAreOneHundredFortyFiveModules()
    {
        QCOMPARE(engines::EncodeCode128("12345678901234567890").modules, 145);
    }

    // Every message up to 6 characters over digits, a letter of both sets, a lower-case
    // letter of B alone, a control character of A alone and FNC1: the encoder's symbol is
    // as short as the shortest of all encodings and reads back to the message.
    void fewestSymbolCharactersOfAnyEncoding()
    {
        const std::vector<int> alphabet{'0', '1', 'A', 'a', '\x01', kFnc1};
        std::vector<int> message;
        int checked = 0;
        std::function<void()> each = [&] {
            if (!message.empty()) {
                const auto symbol = engines::EncodeCode128(message);
                int best = INT_MAX;
                for (char start : {'A', 'B', 'C'}) best = std::min(best, 1 + Exhaustive(message, 0, start, false) + 2);
                const auto decoded = DecodeValues(symbol.values);
                if (static_cast<int>(symbol.values.size()) != best || !decoded || *decoded != message) {
                    QString shown;
                    for (int c : message) shown += c == kFnc1 ? QString("<FNC1>") : QString("<%1>").arg(c);
                    QFAIL(qPrintable(QString("%1: %2 symbol characters, shortest %3%4")
                                         .arg(shown)
                                         .arg(symbol.values.size())
                                         .arg(best)
                                         .arg(decoded && *decoded == message ? "" : ", reads back wrong")));
                }
                ++checked;
            }
            if (message.size() == 6) return;
            for (int c : alphabet) {
                message.push_back(c);
                each();
                message.pop_back();
                if (QTest::currentTestFailed()) return;
            }
        };
        each();
        QCOMPARE(checked, 6 + 36 + 216 + 1296 + 7776 + 46656);
    }

    void refusesWhatIsNotAscii_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("named");
        QTest::newRow("e acute") << QByteArray("caf\xc3\xa9") << "'\u00e9' (U+00E9)";
        QTest::newRow("euro sign") << QByteArray("\xe2\x82\xac" "5") << "'\u20ac' (U+20AC)";
        QTest::newRow("outside the BMP") << QByteArray("x\xf0\x9f\x98\x80") << QString::fromUtf8("'\xf0\x9f\x98\x80' (U+1F600)");
        QTest::newRow("C1 control") << QByteArray("\xc2\x85") << "U+0085";
        QTest::newRow("cut-off sequence") << QByteArray("ab\xc3") << "Byte 0xC3";
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << "Byte 0xC0";
        QTest::newRow("lone continuation") << QByteArray("\x80") << "Byte 0x80";
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << "Byte 0xED";
    }

    void refusesWhatIsNotAscii()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, named);
        try {
            engines::EncodeCode128(text.toStdString());
            QFAIL("encoded");
        } catch (const engines::EncodeError& e) {
            const QString message = QString::fromUtf8(e.what());
            QVERIFY2(message.startsWith(named + " is not an ASCII character: Code 128 takes ASCII 0 to 127."),
                     qPrintable(message));
        }
    }

    void refusesValuesOutsideTheDataCharacters()
    {
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::EncodeCode128(std::vector<int>{}));
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::EncodeCode128(std::vector<int>{'A', 128}));
        QVERIFY_THROWS_EXCEPTION(engines::EncodeError, engines::EncodeCode128(std::vector<int>{-2}));
    }

    // Control characters as their Unicode control pictures, FNC1 not shown.
    void humanReadableLine()
    {
        QCOMPARE(QString::fromStdString(engines::Code128Text({kFnc1, 'a', 0, 0x1f, '1', kFnc1, 0x7f, ' '})),
                 QString("a\u2400\u241f1\u2421 "));
        QCOMPARE(engines::Code128Text(Ascii("Plain text 123")), std::string("Plain text 123"));
    }
};

QTEST_APPLESS_MAIN(TestCode128)
#include "tst_code128.moc"
