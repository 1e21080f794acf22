// The Code 39 editor driven through its public controls and handlers, inside a real
// main window: build, labels, clipboard, turns, print hand-off, every error path,
// and symbols that a decoder reads back.
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QtTest>

#include "editors/C39form.h"
#include "engines/environment.h"
#include "platform/clipboard.h"
#include "platform/fontdialog.h"
#include "platform/notices.h"
#include "platform/qtcanvas.h"
#include "shell/mainform.h"
#include "shell/pagesetting.h"
#include "symbols/notices.h"
#include "support/decoder.h"
#include "support/guitest.h"

class TestC39Form : public QObject, public EditorBench<Tc39fm> {
    Q_OBJECT

    QList<ModalSeen> Build(const QString& message)
    {
        form->barcodeedt->setText(message);
        return RunClosingModals([this] { form->Button1Click(); });
    }

private slots:
    void init() { QVERIFY(Open(&Tmainfm::C391Click)); }
    void cleanup() { Close(); }

    void freshEditorDefaults()
    {
        QCOMPARE(form->fheightedt->text(), QString("1.2"));
        QCOMPARE(form->fnarwidthedt->text(), QString("23"));
        QCOMPARE(form->natiocbox->count(), 11);
        QCOMPARE(form->natiocbox->itemText(0), QString("2.0"));
        QCOMPARE(form->natiocbox->itemText(10), QString("3.0"));
        QCOMPARE(form->natiocbox->currentText(), QString("2.0"));
        QCOMPARE(form->Label1->text(), QString("Bar  code  Height  (inches) "));
        QCOMPARE(form->Label2->text(), QString("Narrow  Bar   Width  (mils)"));
        QCOMPARE(form->Label3->text(), QString("Narrow  To   Width Ratio "));
        QCOMPARE(form->Label6->text(), QString("Bar Code  Message :"));
        QCOMPARE(form->Label7->text(), QString("Comment  Line:"));
        QVERIFY(!form->ToolButton3->isEnabled() && !form->ToolButton5->isEnabled() && !form->Button4->isEnabled());
        QVERIFY(!form->Button3->isVisibleTo(form));
        QCOMPARE(form->Image1->size(), QSize(665, 169));
        QCOMPARE(form->ToolButton5->text(), QString("turn 1"));
        QCOMPARE(form->ToolButton3->text(), QString("turn3"));
        // The hints stay the captions; only what a screen reader speaks tells the turn.
        QCOMPARE(form->ToolButton5->toolTip(), QString("turn 1"));
        QCOMPARE(form->ToolButton3->toolTip(), QString("turn3"));
        QCOMPARE(form->ToolButton5->accessibleName(), QString("Turn a quarter turn clockwise"));
        QCOMPARE(form->ToolButton3->accessibleName(), QString("Turn back to horizontal"));
    }

    void defaultBuildOfAB()
    {
        QVERIFY(Build("AB").isEmpty());
        QCOMPARE(form->Image1->size(), QSize(102, 115));
        QCOMPARE(form->Image1->picture.size(), QSize(102, 115));
        QCOMPARE(form->work.size(), QSize(102, 115));
        QCOMPARE(ClipboardImage(), Rgb32(form->Image1->picture));
        QCOMPARE(Rgb32(form->work), Rgb32(form->Image1->picture));
        QCOMPARE(form->Label4->text(), QString("Bar Code Height:        1.20    inches"));
        QCOMPARE(form->Label5->text(), QString("Bar Code Width:       1.06    inches"));
        QCOMPARE(form->Label4->width(), 255);
        QVERIFY(form->ToolButton3->isEnabled() && form->ToolButton5->isEnabled() && form->Button4->isEnabled());
        // the first element is the start character's narrow bar, 2 pixels wide
        const QImage picture = Rgb32(form->Image1->picture);
        QCOMPARE(picture.pixel(0, 50), qRgb(0, 0, 0));
        QCOMPARE(picture.pixel(1, 50), qRgb(0, 0, 0));
        QCOMPARE(picture.pixel(2, 50), qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(101, 0), qRgb(0, 0, 0));
        // a narrower preview is centred in the scroll box, by its outer size
        QCOMPARE(form->Image1->pos(), QPoint((form->ScrollBox1->width() - 102) / 2, (form->ScrollBox1->height() - 115) / 2));
    }

    void widePreviewSitsAtLeftZero()
    {
        form->fnarwidthedt->setText("40");
        QVERIFY(Build("ABCDEFGHIJKL").isEmpty());
        QVERIFY(form->Image1->width() > form->ScrollBox1->width());
        QCOMPARE(form->Image1->x(), 0);
        QVERIFY(form->ScrollBox1->widget()->width() >= form->Image1->width());
    }

    void turnAndRestore()
    {
        // a comment and an interval make the picture differ from top to bottom, so
        // a mirror cannot pass for a turn
        main->fiwidth = 1000.0 * 10 / 96;
        form->heardtextedt->setText("note");
        QVERIFY(Build("AB").isEmpty());
        const QImage work = Rgb32(form->work);
        const int w = work.width(), h = work.height();
        QVERIFY(work != work.mirrored(false, true));
        const QPoint placed = form->Image1->pos();
        form->ToolButton5Click();
        QCOMPARE(form->Image1->size(), QSize(h, w));
        QCOMPARE(form->Image1->pos(), placed);
        const QImage turned = Rgb32(form->Image1->picture);
        QCOMPARE(turned.size(), QSize(h, w));
        QVERIFY(IsQuarterTurnOf(turned, work));
        form->ToolButton5Click();  // twice gives the same as once
        QCOMPARE(Rgb32(form->Image1->picture), turned);
        QCOMPARE(ClipboardImage(), work);
        form->ToolButton3Click();
        QCOMPARE(Rgb32(form->Image1->picture), work);
        QCOMPARE(form->Image1->pos(), placed);
        QCOMPARE(Rgb32(form->work), work);
    }

    void printTakesTheViewAsShown()
    {
        QVERIFY(Build("AB").isEmpty());
        form->ToolButton5Click();
        const auto seen = RunClosingModals([this] { form->Button4Click(); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].className, QString("Tpringfm"));
        QCOMPARE(Rgb32(PrintBitmap), Rgb32(form->Image1->picture));
        QCOMPARE(PrintBitmap.size(), QSize(115, 102));
        QCOMPARE(ClipboardImage().size(), QSize(102, 115));
    }

    void statusMessages_data()
    {
        QTest::addColumn<QString>("height");
        QTest::addColumn<QString>("narrow");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("pageValue");  // index into ftop, fdown, fleft, fright, fiwidth; -1 none
        QTest::addColumn<QString>("notice");
        QTest::addColumn<int>("screenDpi");
        QTest::newRow("screen without resolution") << "1.2" << "23" << "AB" << -1 << "DPI Error" << 0;
        QTest::newRow("screen with a negative resolution") << "1.2" << "23" << "AB" << -1 << "DPI Error" << -1;
        QTest::newRow("empty message") << "1.2" << "23" << "" << -1 << "Barcode Message Error" << 96;
        QTest::newRow("narrow 5 mils") << "1.2" << "5" << "AB" << -1 << "Narwidth param Error" << 96;
        QTest::newRow("height rounds to 0") << "0.004" << "23" << "AB" << -1 << "Height Error" << 96;
        QTest::newRow("height 0") << "0" << "23" << "AB" << -1 << "Height Error" << 96;
        QTest::newRow("height of eleven digits") << "99999999999" << "23" << "AB" << -1 << "Height Error" << 96;
        QTest::newRow("narrow of ten digits") << "1.2" << "9999999999" << "AB" << -1 << "Narwidth param Error" << 96;
        // page values too large to lay out, as a pasted row of digits saved in the page setting gives
        QTest::newRow("top") << "1.2" << "23" << "AB" << 0 << "Top blank space Error" << 96;
        QTest::newRow("down") << "1.2" << "23" << "AB" << 1 << "Down blank space  Error" << 96;
        QTest::newRow("left") << "1.2" << "23" << "AB" << 2 << "Left blank space Error" << 96;
        QTest::newRow("right") << "1.2" << "23" << "AB" << 3 << "Right blank space Error" << 96;
        QTest::newRow("interval") << "1.2" << "23" << "AB" << 4 << "Width Error" << 96;
    }
    void statusMessages()
    {
        QFETCH(QString, height);
        QFETCH(QString, narrow);
        QFETCH(QString, message);
        QFETCH(int, pageValue);
        QFETCH(QString, notice);
        QFETCH(int, screenDpi);
        QVERIFY(Build("OLD").isEmpty());
        const QSize before = form->Image1->size();
        QGuiApplication::clipboard()->setImage(Marker());
        form->fheightedt->setText(height);
        form->fnarwidthedt->setText(narrow);
        double* pages[] = {&main->ftop, &main->fdown, &main->fleft, &main->fright, &main->fiwidth};
        if (pageValue >= 0) *pages[pageValue] = 99999999999.0;
        engines::SetScreenResolutionSource([screenDpi] { return screenDpi; });
        const auto seen = Build(message);
        engines::SetScreenResolutionSource([] { return 96; });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, notice);
        // the preview was painted white at its old size; the clipboard is untouched
        QCOMPARE(form->Image1->size(), before);
        QVERIFY(AllWhite(form->Image1->picture));
        QCOMPARE(ClipboardImage(), Marker());
        QVERIFY(symbols::Code39StatusNotice(0).isEmpty());
    }

    void oneCharacterMessage()
    {
        QGuiApplication::clipboard()->setImage(Marker());
        const auto seen = Build("A");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QString("The 'Bar code message' must have two or above two characters."));
        // labels show the new size, the preview is white at it, nothing else moves
        QCOMPARE(form->Image1->size(), QSize(76, 115));
        QVERIFY(form->Label4->text().contains("1.20"));
        QVERIFY(AllWhite(form->Image1->picture));
        QVERIFY(!form->ToolButton5->isEnabled() && !form->Button4->isEnabled());
        QCOMPARE(ClipboardImage(), Marker());
        // nor does the work bitmap keep the bars without their characters for a turn
        QVERIFY(AllWhite(form->work));
    }

    void numberTextThatDoesNotConvert()
    {
        form->fheightedt->setText("1.2.3");
        const auto seen = Build("AB");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, platform::kApplicationTitle);
        QCOMPARE(seen[0].text, QString("'1.2.3' is not a valid floating point value"));
        form->fheightedt->setText("1.2");
        form->fnarwidthedt->clear();
        QCOMPARE(Build("AB").value(0).text, QString("'' is not a valid floating point value"));
    }

    void unencodableCharactersAreRefusedAndNothingChanges()
    {
        QVERIFY(Build("AB").isEmpty());
        const QImage picture = Rgb32(form->Image1->picture);
        const QImage work = Rgb32(form->work);
        const QImage clip = ClipboardImage();
        const auto seen = Build("A B,C");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QCOMPARE(seen[0].text, QString("The 'Bar code message' holds characters that Code 39 cannot encode: space, ','."));
        QCOMPARE(Rgb32(form->Image1->picture), picture);
        QCOMPARE(Rgb32(form->work), work);
        QCOMPARE(ClipboardImage(), clip);
    }

    void symbolTooLargeToDraw()
    {
        QGuiApplication::clipboard()->setImage(Marker());
        form->fnarwidthedt->setText("300000");  // 28800 pixels a narrow element
        const auto seen = Build("ABCDEFGHIJ");
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QVERIFY(seen[0].text.contains("too large to draw"));
        QVERIFY(!form->ToolButton5->isEnabled() && !form->Button4->isEnabled());
        QCOMPARE(form->Image1->size(), QSize(665, 169));
        QCOMPARE(ClipboardImage(), Marker());
    }

    void failedBuildAfterTurnLeavesAWhiteWorkBitmap()
    {
        QVERIFY(Build("AB").isEmpty());
        form->ToolButton5Click();
        QCOMPARE(Build("").value(0).text, QString("Barcode Message Error"));
        form->ToolButton3Click();
        QCOMPARE(form->Image1->size(), QSize(102, 115));
        QVERIFY(AllWhite(form->Image1->picture));
    }

    void pictureThatCannotBeAllocated()
    {
        QGuiApplication::clipboard()->setImage(Marker());
        platform::SetImageAllocator([](int, int) { return QImage(); });
        const auto seen = Build("AB");
        platform::SetImageAllocator({});
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].title, QString("Notice"));
        QVERIFY(seen[0].text.contains("too large to draw"));
        QVERIFY(!form->ToolButton3->isEnabled() && !form->ToolButton5->isEnabled() && !form->Button4->isEnabled());
        QCOMPARE(ClipboardImage(), Marker());
    }

    void pageSettingButtonThenBuildUsesTheSavedValues()
    {
        const auto seen = RunClosingModals([this] { form->ToolButton1Click(); },
                                           [](QWidget* modal) {
                                               auto* dialog = qobject_cast<Tpagesettingfm*>(modal);
                                               QVERIFY(dialog);
                                               dialog->topedt->setText("125");
                                               dialog->leftedt->setText("62.5");
                                               dialog->BitBtn1Click();
                                           });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(main->ftop, 125.0);
        QVERIFY(dir->Read("BCodeSetting.ini").contains("fleft=62.5"));
        QVERIFY(Build("AB").isEmpty());
        // 125 mils are 12 pixels, 62.5 mils 6 at 96 dpi
        QCOMPARE(form->Image1->size(), QSize(102 + 6, 115 + 12));
        QCOMPARE(Rgb32(form->Image1->picture).pixel(6, 12), qRgb(0, 0, 0));
    }

    void fontButtonColourReachesCommentAndCharacters()
    {
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setPixelSize(16);  // a font given in pixels still has a size in points
        RunClosingModals([this] { form->ToolButton2Click(); },
                         [&](QWidget* modal) {
                             auto* dialog = qobject_cast<platform::FontColorDialog*>(modal);
                             QVERIFY(dialog);
                             dialog->SetCurrent(chosen, QColor(255, 0, 0));
                             dialog->accept();
                         });
        const int s = main->font.size;
        QCOMPARE(s, 12);
        // a pixel-sized font arriving by any road keeps its size in points
        QCOMPARE(platform::FromQFont(chosen, engines::kBlack).size, 12);
        QCOMPARE(main->font.color, (engines::Rgb{255, 0, 0}));
        main->fiwidth = 1000.0 * 10 / 96;
        form->heardtextedt->setText("NOTE");
        QVERIFY(Build("AB").isEmpty());
        // measured and painted with one text height
        QCOMPARE(form->Image1->height(), 4 * 10 + 2 * s + 115);
        const QImage picture = Rgb32(form->Image1->picture);
        const auto redRows = [&](int top, int bottom) {
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < picture.width(); ++x)
                    if (picture.pixel(x, y) == qRgb(255, 0, 0)) return true;
            return false;
        };
        const int barTop = 2 * 10 + s;
        QVERIFY(redRows(10, barTop));                                  // the comment
        QVERIFY(!redRows(barTop, barTop + 115));                       // not the bars
        QVERIFY(redRows(barTop + 115 + 10, picture.height()));         // the characters
        QCOMPARE(picture.pixel(0, barTop), qRgb(0, 0, 0));
    }

    void refusingClipboard()
    {
        platform::SetClipboardWriter([](const QImage&) { return false; });
        const auto seen = Build("AB");
        platform::SetClipboardWriter({});
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, QString("Fail to copy"));
        QCOMPARE(form->Image1->size(), QSize(102, 115));
        QVERIFY(!AllWhite(form->Image1->picture));
        QVERIFY(form->Button4->isEnabled());
    }

    void keyFilters()
    {
        form->fheightedt->clear();
        form->fheightedt->setFocus();
        QTest::keyClicks(form->fheightedt, "1a.5-x");
        QCOMPARE(form->fheightedt->text(), QString("1.5"));
        QTest::keyClick(form->fheightedt, Qt::Key_Return);
        QCOMPARE(main->focusWidget(), form->fnarwidthedt);
        QTest::keyClicks(form->barcodeedt, "a b,");
        QCOMPARE(form->barcodeedt->text(), QString("a b,"));
    }

    void closingReleasesBitmaps()
    {
        QVERIFY(Build("AB").isEmpty());
        RunClosingModals([this] { form->Button4Click(); });
        QVERIFY(!PrintBitmap.isNull());
        form->Button3Click();
        QVERIFY(PrintBitmap.isNull());
        QVERIFY(form->work.isNull());
    }

    void pageValuesShapeTheSymbol()
    {
        // 96 dpi: 1000 mils = 96 pixels
        main->ftop = 1000.0 * 5 / 96;
        main->fdown = 1000.0 * 7 / 96;
        main->fleft = 1000.0 * 3 / 96;
        main->fright = 1000.0 * 4 / 96;
        main->fiwidth = 1000.0 * 10 / 96;
        form->heardtextedt->setText("note");
        QVERIFY(Build("AB").isEmpty());
        const int s = main->font.size;
        QCOMPARE(form->Image1->size(), QSize(3 + 102 + 4, 5 + 4 * 10 + 2 * s + 115 + 7));
        const QImage picture = Rgb32(form->Image1->picture);
        const int barTop = 5 + 2 * 10 + s;
        QCOMPARE(picture.pixel(3, barTop), qRgb(0, 0, 0));
        QCOMPARE(picture.pixel(3, barTop - 1), qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(2, barTop + 10), qRgb(255, 255, 255));
        QCOMPARE(picture.pixel(3, barTop + 114), qRgb(0, 0, 0));
        QCOMPARE(picture.pixel(3, barTop + 115), qRgb(255, 255, 255));
    }

    void symbolsDecode_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("narrowMils");
        QTest::addColumn<QString>("ratio");
        QTest::addColumn<QString>("expected");
        const QList<QPair<QString, QString>> messages = {
            {"0123456789", "0123456789"},
            {"ABCDEFGHIJKLM", "ABCDEFGHIJKLM"},
            {"nopqrstuvwxyz", "NOPQRSTUVWXYZ"},
            {"A-B.C$D/E+F%G", "A-B.C$D/E+F%G"},
            {"RUVOLA_42", "RUVOLA 42"},
        };
        const QList<QPair<QString, int>> narrows = {{"10.4", 1}, {"20.8", 2}, {"31.25", 3}};
        for (const auto& [message, expected] : messages)
            for (const auto& [mils, pixels] : narrows)
                for (const QString ratio : {"2.0", "2.5", "3.0"})
                    QTest::addRow("%s %dpx %s", qPrintable(message), pixels, qPrintable(ratio))
                        << message << mils << ratio << expected;
    }
    void symbolsDecode()
    {
        QFETCH(QString, message);
        QFETCH(QString, narrowMils);
        QFETCH(QString, ratio);
        // a quiet zone of ten narrow widths each side, and room for the text
        const double narrow = narrowMils.toDouble();
        main->fleft = main->fright = 10 * narrow;
        main->ftop = main->fdown = 50;
        main->fiwidth = 40;
        form->fnarwidthedt->setText(narrowMils);
        form->natiocbox->setCurrentText(ratio);
        form->heardtextedt->setText("Comment line");
        QVERIFY(Build(message).isEmpty());
        const QStringList read = DecodeSymbols(ClipboardImage(), Symbology::Code39);
        QTEST(read.value(0), "expected");
    }
};

QTEST_MAIN(TestC39Form)
#include "tst_c39form.moc"
