// GS1 element strings: check digits of published GS1 numbers, what the parser accepts
// and refuses with which reason, where FNC1 separators stand, and GS1-128 symbols that
// ZXing-cpp reads back with their symbology identifier and GS separators.
#include <QtTest>

#include "barsread.h"
#include "engines/code128.h"
#include "engines/gs1.h"

namespace {

// Data characters with FNC1 shown as '|', which no element string holds.
QString Shown(const std::vector<int>& data)
{
    QString out;
    for (int c : data) out += c == engines::kFnc1 ? QChar('|') : QChar(c);
    return out;
}

QString Refusal(const std::string& typed)
{
    try {
        engines::ParseGs1(typed);
    } catch (const engines::EncodeError& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

}  // namespace

class TestGs1 : public QObject {
    Q_OBJECT

private slots:
    // Numbers from GS1's own examples and products in trade.
    void checkDigitsOfPublishedNumbers_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("check");
        QTest::newRow("GTIN 09501101530003") << "0950110153000" << 3;
        QTest::newRow("GTIN 95012345678903") << "9501234567890" << 3;
        QTest::newRow("SSCC 106141411234567897") << "10614141123456789" << 7;
        QTest::newRow("ITF-14 15400141288763") << "1540014128876" << 3;
        QTest::newRow("EAN-13 4006381333931") << "400638133393" << 1;
    }

    void checkDigitsOfPublishedNumbers()
    {
        QFETCH(QString, digits);
        QFETCH(int, check);
        QCOMPARE(engines::Gs1CheckDigit(digits.toStdString()), check);
    }

    void accepts_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("text");
        // Fixed-length fields need no separator; the last field never has one.
        QTest::newRow("GTIN, expiry, lot") << "(01)09501101530003(17)250101(10)AB-123"
                                           << "|010950110153000317250101" "10AB-123"
                                           << "(01)09501101530003(17)250101(10)AB-123";
        QTest::newRow("lot not last") << "(10)AB-123(17)250101" << "|10AB-123|17250101" << "(10)AB-123(17)250101";
        QTest::newRow("square brackets") << "[00]106141411234567897[21]S/N-1" << "|00106141411234567897" "21S/N-1"
                                         << "(00)106141411234567897(21)S/N-1";
        QTest::newRow("square brackets, parentheses in a field") << "[10]A(B)C[21]X1" << "|10A(B)C|21X1"
                                                                 << "(10)A(B)C(21)X1";
        QTest::newRow("surrounding blanks") << "  (01)09501101530003\n" << "|0109501101530003" << "(01)09501101530003";
        QTest::newRow("weight, count, order") << "(3103)001250(37)12(400)PO-7" << "|3103001250" "3712|400PO-7"
                                              << "(3103)001250(37)12(400)PO-7";
        QTest::newRow("day 00: end of month") << "(15)250200" << "|15250200" << "(15)250200";
        QTest::newRow("29 February in a leap year") << "(11)240229" << "|11240229" << "(11)240229";
        QTest::newRow("amount with currency") << "(3912)97812345" << "|391297812345" << "(3912)97812345";
        QTest::newRow("postal code with country") << "(421)528AB-12" << "|421528AB-12" << "(421)528AB-12";
        QTest::newRow("country of origin: fixed but separated") << "(422)528(10)X" << "|422528|10X" << "(422)528(10)X";
        QTest::newRow("production hour") << "(8008)2501311459" << "|80082501311459" << "(8008)2501311459";
        QTest::newRow("location numbers") << "(410)9501101530003(8020)REF-1" << "|4109501101530003" "8020REF-1"
                                          << "(410)9501101530003(8020)REF-1";
        // 20 + 22 + separator + 5: exactly the most a symbol holds.
        QTest::newRow("48 characters") << "(00)106141411234567897(10)ABCDEFGHIJKLMNOPQRST(21)123"
                                       << "|00106141411234567897" "10ABCDEFGHIJKLMNOPQRST|21123"
                                       << "(00)106141411234567897(10)ABCDEFGHIJKLMNOPQRST(21)123";
    }

    void accepts()
    {
        QFETCH(QString, typed);
        QFETCH(QString, data);
        QFETCH(QString, text);
        const engines::Gs1Message message = engines::ParseGs1(typed.toStdString());
        QCOMPARE(Shown(message.data), data);
        QCOMPARE(QString::fromStdString(message.text), text);
        QVERIFY(message.data.size() - 1 <= static_cast<std::size_t>(engines::kGs1MaxCharacters));
    }

    void refuses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("unknown AI") << "(99)1234" << "AI (99) is not a GS1 Application Identifier";
        QTest::newRow("measure with n = 6") << "(3106)123456" << "AI (3106) is not a GS1 Application Identifier";
        QTest::newRow("unassigned measure") << "(3170)123456" << "AI (3170) is not a GS1 Application Identifier";
        QTest::newRow("wrong GTIN check digit") << "(01)09501101530004" << "AI (01): check digit 4 should be 3.";
        QTest::newRow("wrong SSCC check digit") << "(00)106141411234567890" << "AI (00): check digit 0 should be 7.";
        QTest::newRow("30 February") << "(17)250230" << "AI (17): 250230 is not a date YYMMDD: month 02 of 2025 has 28 days.";
        QTest::newRow("31 April") << "(11)250431" << "month 04 of 2025 has 30 days";
        QTest::newRow("month 13") << "(17)251301" << "AI (17): 251301 is not a date YYMMDD: there is no month 13.";
        QTest::newRow("lot of 21") << "(10)ABCDEFGHIJKLMNOPQRSTU" << "AI (10) takes at most 20 characters";
        QTest::newRow("short GTIN") << "(01)0950110153000" << "AI (01) takes exactly 14 digits";
        QTest::newRow("letter in GTIN") << "(01)0950110153000A" << "AI (01): 'A' is not a digit";
        QTest::newRow("blank in lot") << "(10)AB 12" << "AI (10): ' ' is not in the GS1 character set";
        QTest::newRow("blank in serial") << "[00]106141411234567897[21]S/N 1" << "AI (21): ' ' is not in the GS1";
        QTest::newRow("non-ASCII in lot") << "(10)CAF\xc3\x89" << "AI (10): '\u00c9' (U+00C9) is not in the GS1";
        QTest::newRow("no closing bracket") << "(01 09501101530003" << "has no closing bracket ')'";
        QTest::newRow("second AI not closed") << "(10)AB(17250101" << "'(17250101' has no closing bracket ')'";
        QTest::newRow("no data") << "(10)" << "AI (10) has no data after it.";
        QTest::newRow("nothing typed") << "   " << "Type at least one Application Identifier";
        QTest::newRow("no bracket first") << "0109501101530003" << "starts with an Application Identifier in brackets";
        QTest::newRow("letters as AI") << "(AB)12" << "'(AB)' is not an Application Identifier";
        QTest::newRow("brackets mixed") << "(01)09501101530003[17]250101" << "write every AI in the same brackets";
        QTest::newRow("AI twice") << "(10)A(21)1(10)B" << "AI (10) is given twice";
        QTest::newRow("49 characters") << "(00)106141411234567897(10)ABCDEFGHIJKLMNOPQRST(21)1234"
                                       << "needs 49 characters in the symbol";
        QTest::newRow("currency without amount") << "(3912)978" << "AI (3912) takes a 3-digit ISO currency code";
        QTest::newRow("country code with letter") << "(421)5A8ABC" << "AI (421): 'A' is not a digit";
        QTest::newRow("production hour 24") << "(8008)25013124" << "AI (8008): hour 24 is past 23.";
        QTest::newRow("production time of 9 digits") << "(8008)250131121" << "AI (8008) takes YYMMDDHH";
        QTest::newRow("production day 00") << "(8008)25010012" << "there is no day 00";
    }

    void refuses()
    {
        QFETCH(QString, typed);
        QFETCH(QString, reason);
        const QString refusal = Refusal(typed.toStdString());
        QVERIFY2(refusal.contains(reason), qPrintable("refused with: \"" + refusal + "\""));
    }

    // A scanner gets "]C1" and the fields with GS (ASCII 29) after each variable-length
    // field that is not last.
    void readsBackAsGs1_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("read");
        QTest::newRow("variable field last") << "(01)09501101530003(17)250101(10)AB-123"
                                             << QByteArray("010950110153000317250101" "10AB-123");
        QTest::newRow("variable fields first") << "(10)AB-123(21)xy7(17)250101"
                                               << QByteArray("10AB-123\x1d" "21xy7\x1d" "17250101");
        QTest::newRow("SSCC and count") << "[00]106141411234567897[37]24[02]09501101530003"
                                        << QByteArray("00106141411234567897" "3724\x1d" "0209501101530003");
    }

    void readsBackAsGs1()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, read);
        const auto symbol = engines::EncodeCode128(engines::ParseGs1(typed.toStdString()).data);
        const ReadBack back = ReadSymbol(DrawModules(symbol.widths), ZXing::BarcodeFormat::Code128);
        QCOMPARE(back.count, 1);
        QCOMPARE(back.identifier, std::string("]C1"));
        QCOMPARE(QByteArray::fromStdString(back.text), read);
    }
};

QTEST_APPLESS_MAIN(TestGs1)
#include "tst_gs1.moc"
