// A batch line's fields and the file names made from them, without running the program.
#include <QtTest>

#include "cli/csv.h"
#include "cli/filenames.h"

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void fields_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("plain") << "ean13,590123412345" << true << QStringList{"ean13", "590123412345"};
        QTest::newRow("empty fields kept") << "upca,03600029145,,," << true << QStringList{"upca", "03600029145", "", "", ""};
        QTest::newRow("blanks kept") << " code39 , A B " << true << QStringList{" code39 ", " A B "};
        QTest::newRow("comma in quotes") << "ean8,9638507,,\"Lot 7, 2027\"" << true
                                         << QStringList{"ean8", "9638507", "", "Lot 7, 2027"};
        QTest::newRow("doubled quote") << "code39,\"A\"\"B\"" << true << QStringList{"code39", "A\"B"};
        QTest::newRow("quotes mid-field") << "code39,A\"B,C\"D" << true << QStringList{"code39", "AB,CD"};
        QTest::newRow("empty quoted") << "\"\",x" << true << QStringList{"", "x"};
        QTest::newRow("unclosed") << "code39,\"open" << false << QStringList{};
        QTest::newRow("doubled quote at the end is not a close") << "code39,\"a\"\"" << false << QStringList{};
        QTest::newRow("non-ASCII whole") << "code39,\xc3\xa9\xf0\x9f\x98\x80" << true
                                          << QStringList{"code39", QString::fromUtf8("\xc3\xa9\xf0\x9f\x98\x80")};
    }
    void fields()
    {
        QFETCH(QString, line);
        QFETCH(bool, closed);
        const std::optional<QStringList> read = CsvFields(line);
        QCOMPARE(read.has_value(), closed);
        if (closed) QTEST(*read, "fields");
    }

    void fileNames_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("name");
        QTest::newRow("every field") << "{line}-{symbology}-{message}-{addon}.png" << "590123412345"
                                     << "7-ean13-590123412345-12.png";
        QTest::newRow("folders of the pattern stay") << "out/{message}.svg" << "A" << "out/A.svg";
        QTest::newRow("a message cannot make a path") << "{message}.png" << "../etc/x" << ".._etc_x.png";
        QTest::newRow("backslash, colon, control") << "{message}.png" << "a\\b:c\td" << "a_b_c_d.png";
        QTest::newRow("field named twice") << "{message}/{message}.pdf" << "A/B" << "A_B/A_B.pdf";
    }
    void fileNames()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, message);
        QTEST(FileName(pattern, 7, "ean13", message, "12"), "name");
    }

    // A pattern taken as naming every line apart must do so whatever the messages: the
    // batch then keeps no names to find a second line writing over a first.
    void namesApartByLineAreApart()
    {
        QVERIFY(NamesDifferByLine("{line}-{symbology}-{message}.png"));  // the batch's default
        const QStringList messages = {"", "1", "23", "123", "A", "-", "1-"};
        for (const QString pattern : {"{line}-{symbology}-{message}.png", "{line}.png", "out/{line}_{message}.svg",
                                      "{line}{message}.png", "{line}1.png", "{line}{line}.png", "{message}/{line}-.png",
                                      "{line}", "a{line}.png"}) {
            if (!NamesDifferByLine(pattern)) continue;
            // Each line's names may repeat among its own messages, never another line's.
            QSet<QString> perLine;
            for (int line = 1; line <= 130; ++line) {
                QSet<QString> own;
                for (const QString& message : messages) own.insert(FileName(pattern, line, "code39", message, ""));
                for (const QString& name : own) QVERIFY2(!perLine.contains(name), qPrintable(pattern + ": " + name));
                perLine.unite(own);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
