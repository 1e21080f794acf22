// The UPC-A, EAN-8 and UPC-E editors driven through their controls and handlers
// inside a real main window, one table row per editor: the checks in their order with
// their texts and focus, module counts, conversion errors, comment, colour, clipboard,
// turns, print hand-off, and symbols that a decoder reads back.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QtTest>

#include "editors/ean8Unit.h"
#include "editors/upc_aunit.h"
#include "editors/upce_unit.h"
#include "platform/notices.h"
#include "support/decoder.h"
#include "support/guitest.h"

namespace {

struct Editor {
    const char* name;
    void (Tmainfm::*pick)();
    QString message;   // a valid message
    QString full;      // as a decoder reads it, with the check digit
    int length;
    QString addOnLabel;
    QSize client;
};

const Editor kEditors[] = {
    {"UPC-A", &Tmainfm::upca1Click, "03600029145", "036000291452", 11, "Upc-a", {688, 445}},
    {"EAN-8", &Tmainfm::EAN81Click, "9638507", "96385074", 7, "Ean8", {687, 452}},
    {"UPC-E", &Tmainfm::UPCE1Click, "123456", "01234565", 6, "Upc-e", {690, 446}},
};

void EditorColumn()
{
    QTest::addColumn<int>("editor");
}

}  // namespace

class TestUpcForms : public QObject, public EditorBench<TUpcEditor> {
    Q_OBJECT
    const Editor* e = nullptr;

    QList<ModalSeen> Build(const QString& message, const QString& addOn = {})
    {
        form->barcodeedt->setText(message);
        form->Supplementaltxt->setText(addOn);
        return RunClosingModals([this] { form->Button1Click(); });
    }

    // Every test runs once per editor: the row picks it.
    bool OpenRow()
    {
        QFETCH(int, editor);
        e = &kEditors[editor];
        return Open(e->pick);
    }

private slots:
    void cleanup() { Close(); }

#define PER_EDITOR(test)                                                                        \
    void test##_data()                                                                          \
    {                                                                                           \
        EditorColumn();                                                                         \
        for (int i = 0; i < 3; ++i) QTest::newRow(kEditors[i].name) << i;                       \
    }

    PER_EDITOR(freshEditor)
    void freshEditor()
    {
        QVERIFY(OpenRow());
        QCOMPARE(form->size(), e->client);
        QCOMPARE(form->fheightedt->text(), QString("1.3"));
        QCOMPARE(form->barwidth->text(), QString("21"));
        QCOMPARE(form->Label2->text(), QString("Single Bar Width (mils)"));
        QCOMPARE(form->Label3->text(), e->addOnLabel + " Supplemental: ");
        QCOMPARE(form->barcodeedt->maxLength(), e->length);
        QCOMPARE(form->Image1->geometry(), QRect(8, 8, 656, 147));
        QVERIFY(form->ToolButton6);
        QCOMPARE(form->ToolButton6->toolTip(), QString("ToolButton6"));
        QVERIFY(!form->ToolButton3->isEnabled() && !form->ToolButton5->isEnabled() && !form->Button4->isEnabled());
        QVERIFY(form->Button3 && !form->Button3->isVisibleTo(form));
        QCOMPARE(form->Button3->text(), QString("close"));
    }

    void checks_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<int>("messageCut");  // characters taken off the valid message
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<bool>("addOnNotice");
        for (int i = 0; i < 3; ++i) {
            QTest::addRow("%s short message", kEditors[i].name) << i << 1 << "" << false;
            QTest::addRow("%s short message, 3-digit add-on", kEditors[i].name) << i << 1 << "123" << false;
            QTest::addRow("%s 3-digit add-on", kEditors[i].name) << i << 0 << "123" << true;
            QTest::addRow("%s 1-digit add-on", kEditors[i].name) << i << 0 << "1" << true;
        }
    }
    void checks()
    {
        QVERIFY(OpenRow());
        QFETCH(int, messageCut);
        QFETCH(QString, addOn);
        QFETCH(bool, addOnNotice);
        QVERIFY(Build(e->message).isEmpty());
        const QImage before = Rgb32(form->Image1->picture);
        QGuiApplication::clipboard()->setImage(Marker());
        const auto seen = Build(e->message.chopped(messageCut), addOn);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        const QString expected = addOnNotice
                                     ? QString("The '%1 Supplemental' must contain 2 or 5 numbers.").arg(e->addOnLabel)
                                     : QString("The 'Bar code message' must contain %1 numbers.").arg(e->length);
        QCOMPARE(seen[0].text, expected);
        QVERIFY(main->focusWidget());
        QCOMPARE(main->focusWidget()->objectName(), QString(addOnNotice ? "Supplementaltxt" : "barcodeedt"));
        // nothing is drawn
        QCOMPARE(Rgb32(form->Image1->picture), before);
        QCOMPARE(ClipboardImage(), Marker());
    }

    PER_EDITOR(addOnsWidenByTheirModules)
    void addOnsWidenByTheirModules()
    {
        QVERIFY(OpenRow());
        QVERIFY(Build(e->message).isEmpty());
        const QSize plain = form->Image1->size();
        if (e->length == 11) QCOMPARE(plain, QSize(206, 141));
        // 2-pixel modules at 21 mils: 32 more modules for two digits, 59 for five
        QVERIFY(Build(e->message, "12").isEmpty());
        QCOMPARE(form->Image1->size(), QSize(plain.width() + 2 * 32, plain.height()));
        QVERIFY(Build(e->message, "12345").isEmpty());
        QCOMPARE(form->Image1->size(), QSize(plain.width() + 2 * 59, plain.height()));
        QCOMPARE(ClipboardImage(), Rgb32(form->Image1->picture));
        QCOMPARE(Rgb32(form->work), Rgb32(form->Image1->picture));
        QVERIFY(form->ToolButton3->isEnabled() && form->ToolButton5->isEnabled() && form->Button4->isEnabled());
    }

    void conversionErrors_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<int>("pastedAt");  // where a letter replaces a message digit; -1 none
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("report");
        for (int i = 0; i < 3; ++i) {
            QTest::addRow("%s width 21.5", kEditors[i].name)
                << i << "21.5" << "1.3" << -1 << "" << "'21.5' is not a valid integer value";
            QTest::addRow("%s empty width", kEditors[i].name) << i << "" << "1.3" << -1 << "" << "'' is not a valid integer value";
            QTest::addRow("%s height 1.2.3", kEditors[i].name)
                << i << "21" << "1.2.3" << -1 << "" << "'1.2.3' is not a valid floating point value";
            QTest::addRow("%s pasted letter, first", kEditors[i].name) << i << "21" << "1.3" << 0 << "" << "'x' is not a valid integer value";
            QTest::addRow("%s pasted letter, last", kEditors[i].name)
                << i << "21" << "1.3" << kEditors[i].length - 1 << "" << "'x' is not a valid integer value";
            QTest::addRow("%s pasted add-on letter", kEditors[i].name) << i << "21" << "1.3" << -1 << "1x" << "'1x' is not a valid integer value";
        }
    }
    void conversionErrors()
    {
        QVERIFY(OpenRow());
        QFETCH(QString, width);
        QFETCH(QString, height);
        QFETCH(int, pastedAt);
        QFETCH(QString, addOn);
        QFETCH(QString, report);
        QVERIFY(Build(e->message).isEmpty());
        const QImage picture = Rgb32(form->Image1->picture);
        const QImage work = Rgb32(form->work);
        QGuiApplication::clipboard()->setImage(Marker());
        form->barwidth->setText(width);
        form->fheightedt->setText(height);
        QString message = e->message;
        if (pastedAt >= 0) message[pastedAt] = 'x';
        const auto seen = Build(message, addOn);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, platform::kApplicationTitle);
        QCOMPARE(seen[0].text, report);
        // nothing half-built anywhere
        QCOMPARE(Rgb32(form->Image1->picture), picture);
        QCOMPARE(Rgb32(form->work), work);
        QCOMPARE(ClipboardImage(), Marker());
    }

    PER_EDITOR(tooLargeIsRefused)
    void tooLargeIsRefused()
    {
        QVERIFY(OpenRow());
        QGuiApplication::clipboard()->setImage(Marker());
        form->barwidth->setText("999999");
        const auto seen = Build(e->message);
        QCOMPARE(seen.size(), 1);
        QVERIFY(seen[0].text.contains("too large to draw"));
        main->fleft = 1e300;
        form->barwidth->setText("21");
        QVERIFY(Build(e->message).value(0).text.contains("too large to draw"));
        QVERIFY(!form->Button4->isEnabled());
        QCOMPARE(ClipboardImage(), Marker());
    }

    PER_EDITOR(commentMovesTheSymbolDownAndColourReachesEveryBar)
    void commentMovesTheSymbolDownAndColourReachesEveryBar()
    {
        QVERIFY(OpenRow());
        main->color = {0, 0, 200};
        main->font.color = {200, 0, 0};  // digits in red, so any black left is a bar missed
        QVERIFY(Build(e->message, "12").isEmpty());
        const QImage plain = Rgb32(form->Image1->picture);
        form->heardtextedt->setText("Lot 7");
        QVERIFY(Build(e->message, "12").isEmpty());
        const QImage commented = Rgb32(form->Image1->picture);
        QCOMPARE(commented.size(), plain.size());
        // every bar, the add-on's too, is in the chosen colour: nothing is black
        int bars = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                QVERIFY(plain.pixel(x, y) != qRgb(0, 0, 0));
                bars += plain.pixel(x, y) == qRgb(0, 0, 200);
            }
        QVERIFY(bars > 1000);
        // the comment moves the first bar's top down by a text row
        const auto firstBarTop = [](const QImage& image) {
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) == qRgb(0, 0, 200)) return y;
            return -1;
        };
        QCOMPARE(firstBarTop(commented), firstBarTop(plain) + main->font.size);
    }

    PER_EDITOR(refusedCopyKeepsTheWorkBitmapAndATurnStaysHarmless)
    void refusedCopyKeepsTheWorkBitmapAndATurnStaysHarmless()
    {
        QVERIFY(OpenRow());
        platform::SetClipboardWriter([](const QImage&) { return false; });
        // the very first build cannot copy: the buttons are on, there is no work bitmap
        QCOMPARE(Build(e->message).value(0).text, QString("Fail to copy"));
        QVERIFY(form->ToolButton5->isEnabled());
        const QImage shown = Rgb32(form->Image1->picture);
        form->ToolButton5Click();
        form->ToolButton3Click();
        QCOMPARE(Rgb32(form->Image1->picture), shown);
        platform::SetClipboardWriter({});
        QVERIFY(Build(e->message).isEmpty());
        const QImage work = Rgb32(form->work);
        platform::SetClipboardWriter([](const QImage&) { return false; });
        QCOMPARE(Build(e->message, "12").value(0).text, QString("Fail to copy"));
        platform::SetClipboardWriter({});
        QCOMPARE(Rgb32(form->work), work);
    }

    PER_EDITOR(turnsAndPrint)
    void turnsAndPrint()
    {
        QVERIFY(OpenRow());
        form->heardtextedt->setText("Lot 7");
        QVERIFY(Build(e->message, "12").isEmpty());
        const QImage work = Rgb32(form->work);
        form->ToolButton5Click();
        const QImage turned = Rgb32(form->Image1->picture);
        QCOMPARE(turned.size(), work.size().transposed());
        QVERIFY(IsQuarterTurnOf(turned, work));
        const auto seen = RunClosingModals([this] { form->Button4Click(); });
        QCOMPARE(seen.value(0).className, QString("Tpringfm"));
        QCOMPARE(Rgb32(PrintBitmap), turned);
        QCOMPARE(ClipboardImage(), work);
        form->ToolButton3Click();
        QCOMPARE(Rgb32(form->Image1->picture), work);
    }

    PER_EDITOR(keyFilters)
    void keyFilters()
    {
        QVERIFY(OpenRow());
        form->barcodeedt->setFocus();
        QTest::keyClicks(form->barcodeedt, "1.a2");
        QCOMPARE(form->barcodeedt->text(), QString("12"));
        QTest::keyClick(form->barcodeedt, Qt::Key_Return);  // no key moves the focus here
        QCOMPARE(main->focusWidget(), form->barcodeedt);
        QTest::keyClicks(form->Supplementaltxt, "3.b4");
        QCOMPARE(form->Supplementaltxt->text(), QString("34"));
        form->barwidth->clear();
        QTest::keyClicks(form->barwidth, "2a1.5");
        QCOMPARE(form->barwidth->text(), QString("21.5"));
    }

    void symbolsDecode_data()
    {
        QTest::addColumn<int>("editor");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("addOn");
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QString>("expected");
        const auto row = [](int editor, const char* message, const char* addOn, const char* comment, const char* expected) {
            QTest::addRow("%s %s+%s%s", kEditors[editor].name, message, addOn, *comment ? " comment" : "")
                << editor << message << addOn << comment << expected;
        };
        row(0, "03600029145", "", "", "036000291452");
        row(0, "72527273070", "12", "Lot 7", "725272730706 12");
        row(0, "00000000000", "90125", "", "000000000000 90125");
        row(1, "9638507", "", "Lot 7", "96385074");
        row(1, "5512345", "12", "", "55123457 12");
        row(1, "0000000", "12345", "Lot 8", "00000000 12345");
        row(2, "123456", "", "", "01234565");
        row(2, "654321", "12", "Lot 7", "06543217 12");
        row(2, "100003", "86", "", "01000039 86");
        row(2, "123404", "00002", "Lot 8", "01234048 00002");
    }
    void symbolsDecode()
    {
        QVERIFY(OpenRow());
        QFETCH(QString, message);
        QFETCH(QString, addOn);
        QFETCH(QString, comment);
        QFETCH(QString, expected);
        // quiet zones at 2 pixels a module: 9 modules for UPC-A both sides, 7 for EAN-8,
        // 9 and 7 for UPC-E, the text column of 8 pixels included
        main->fleft = e->length == 7 ? 63 : 105;
        main->fright = e->length == 11 ? 105 : 63;
        main->ftop = main->fdown = main->fiwidth = 50;
        form->heardtextedt->setText(comment);
        QVERIFY(Build(message, addOn).isEmpty());
        const QStringList read =
            DecodeSymbols(ClipboardImage(), addOn.isEmpty() ? Symbology::EanUpc : Symbology::EanUpcWithAddOn);
        QVERIFY2(read == QStringList{expected}, qPrintable(read.join(", ")));
    }
};

QTEST_MAIN(TestUpcForms)
#include "tst_upcforms.moc"
