// Hostile input to the shell: pasted text of every kind in the page setting and print
// option boxes, and settings files that are garbage, huge, unreadable or hold extreme
// numbers. Each row says what the user gets: the value stored, the page printed, or
// the exact message, and never a crash, a hang or a file the program damaged.
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QtTest>
#include <unistd.h>

#include "editors/bareditor.h"
#include "engines/environment.h"
#include "platform/files.h"
#include "platform/notices.h"
#include "shell/pagesetting.h"
#include "shell/printunit.h"
#include "hostileinputs.h"
#include "support/guitest.h"

namespace {

const QString kSettings = QStringLiteral("BCodeSetting.ini");

// What a box that takes a number makes of the text: the value, or none.
std::optional<double> Number(const QString& text)
{
    if (text.isEmpty() || text == "0") return 0.0;
    if (text == "1e300") return 1e300;
    if (text == "-5") return -5.0;
    return std::nullopt;
}

// Runs action with the effective user id of nobody, so that file permissions hold as
// they do for a user; false when the process cannot change it back and forth.
bool AsNobody(const std::function<void()>& action)
{
    if (geteuid() != 0) {
        action();
        return true;
    }
    if (seteuid(65534) != 0) return false;
    action();
    return seteuid(0) == 0;
}

}  // namespace

class TestHostileShell : public QObject {
    Q_OBJECT
    std::unique_ptr<ExeDirFixture> dir;
    std::unique_ptr<Tmainfm> main;

    void Start(const QByteArray& settings)
    {
        if (!settings.isNull()) dir->Write(kSettings, settings);
        main = MakeMainWindow();
        engines::SetScreenResolutionSource([] { return 96; });
    }

    static double Page(const PageValues& pages, int row)
    {
        const double values[] = {pages.ftop, pages.fdown, pages.fleft, pages.fright, pages.fiwidth};
        return values[row];
    }

private slots:
    void init() { dir = std::make_unique<ExeDirFixture>(); }
    void cleanup()
    {
        main.reset();
        dir.reset();
        PrintBitmap = QImage();
    }

    void pageSettingBoxes_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("input");
        const char* boxes[] = {"topedt", "downedt", "leftedt", "rightedt", "iwidthedt"};
        for (int row = 0; row < 5; ++row)
            for (const HostileInput& input : kHostileInputs) QTest::addRow("%s %s", boxes[row], input.name) << row << input.text;
    }
    // A number is stored as it is, negative and huge ones too; any other text names
    // itself in the error box and leaves file, values in use and dialog as they were.
    void pageSettingBoxes()
    {
        QFETCH(int, row);
        QFETCH(QString, input);
        Start("[pagesetting]\nftop=7\nfdown=7\nfleft=7\nfright=7\nfiwidth=7\n");
        const QByteArray fileBefore = dir->Read(kSettings);
        const std::optional<double> value = Number(input);
        {
            Tpagesettingfm dialog(main->Pages(), main.get());
            QLineEdit* boxes[] = {dialog.topedt, dialog.downedt, dialog.leftedt, dialog.rightedt, dialog.iwidthedt};
            Paste(boxes[row], input);
            const auto seen = RunClosingModals([&] { dialog.BitBtn1Click(); });
            if (!value) {
                QCOMPARE(seen.size(), 1);
                QCOMPARE(seen[0].title, platform::kApplicationTitle);
                QCOMPARE(seen[0].text, QString("'%1' is not a valid floating point value").arg(input));
                QVERIFY(dialog.result() != QDialog::Accepted);
                QCOMPARE(boxes[row]->text(), input);
                QCOMPARE(Page(dialog.Values(), row), 7.0);
                QCOMPARE(dir->Read(kSettings), fileBefore);
                return;
            }
            QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(Page(dialog.Values(), row), *value);
        }
        const char* keys[] = {"ftop", "fdown", "fleft", "fright", "fiwidth"};
        const QString written = *value == 1e300 ? "1E300" : QString::number(*value);
        QVERIFY(dir->Read(kSettings).contains(QByteArray(keys[row]) + "=" + written.toLatin1() + "\n"));
        // and the number comes back at the next start
        main.reset();
        Start({});
        QCOMPARE(Page(main->Pages(), row), *value);
    }

    void printOffsets_data()
    {
        QTest::addColumn<bool>("x");
        QTest::addColumn<QString>("input");
        for (const bool x : {true, false})
            for (const HostileInput& input : kHostileInputs) QTest::addRow("%s %s", x ? "xedt" : "yedt", input.name) << x << input.text;
    }
    // Text that is no number prints at the origin; a number that puts the whole picture
    // off the sheet is told instead of printing a blank page.
    void printOffsets()
    {
        QFETCH(bool, x);
        QFETCH(QString, input);
        Start({});
        QPrinter* printer = main->Printer();
        printer->setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = dir->Path("offsets.pdf");
        printer->setOutputFileName(pdf);
        QImage picture(120, 60, QImage::Format_RGB32);
        picture.fill(Qt::black);
        Tpringfm dialog(main->PrintInputsFor(picture, nullptr));
        Paste(x ? dialog.xedt : dialog.yedt, input);
        const auto seen = RunClosingModals([&] { dialog.Button1Click(); });
        if (input == "1e300") {
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].title, QString("Notice"));
            QCOMPARE(seen[0].text, QString(x ? "The X offset puts the symbol off the page." : "The Y offset puts the symbol off the page."));
            QVERIFY(!QFileInfo::exists(pdf));
        } else {
            QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
            QVERIFY(QFileInfo(pdf).size() > 0);
        }
    }

    void settingsFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<double>("ftop");
        QTest::addColumn<bool>("editor");  // the file names UPC-A and it is shown
        QByteArray garbage(64 * 1024, '\0');
        for (int i = 0; i < garbage.size(); ++i) garbage[i] = char((i * 7919 + i / 13) & 0xff);
        QTest::newRow("binary garbage") << garbage << 0.0 << false;
        QTest::newRow("garbage around the sections")
            << garbage + "\n[pagesetting]\nftop=12\n" + garbage + "\n[Symbology]\nChecked=Bar Code UPC-A\n" << 12.0 << true;
        QTest::newRow("NUL inside a value") << QByteArray("[pagesetting]\nftop=1\0002\n", 21) << 0.0 << false;
        QTest::newRow("1e308") << QByteArray("[pagesetting]\nftop=1e308\n[Symbology]\nChecked=Bar Code UPC-A\n") << 1e308 << true;
        QTest::newRow("beyond double") << QByteArray("[pagesetting]\nftop=1e309\n") << 0.0 << false;
        QTest::newRow("-5") << QByteArray("[pagesetting]\nftop=-5\n[Symbology]\nChecked=Bar Code UPC-A\n") << -5.0 << true;
        QTest::newRow("nan") << QByteArray("[pagesetting]\nftop=nan\n") << 0.0 << false;
        QTest::newRow("inf") << QByteArray("[pagesetting]\nftop=inf\n") << 0.0 << false;
        QTest::newRow("-inf") << QByteArray("[pagesetting]\nftop=-inf\n") << 0.0 << false;
        QTest::newRow("10000 digits") << "[pagesetting]\nftop=" + QByteArray(10000, '1') + "\n" << 0.0 << false;
        QTest::newRow("one line of 1 MB") << "[pagesetting]\nftop=5\nnote=" + QByteArray(1 << 20, 'x') << 5.0 << false;
        QTest::newRow("name of 10000 characters")
            << "[Symbology]\nChecked=" + QByteArray(10000, 'B') + "\n" << 0.0 << false;
    }
    // Whatever the file holds, the program starts, with the numbers it can read.
    void settingsFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(double, ftop);
        QFETCH(bool, editor);
        Start(content);
        QCOMPARE(main->ftop, ftop);
        QCOMPARE(main->barform != nullptr, editor);
        if (!editor) return;
        // a build with the page values read: refused with a notice where they are extreme
        auto* form = qobject_cast<TBarEditor*>(main->barform);
        form->barcodeedt->setText("03600029145");
        QGuiApplication::clipboard()->setImage(Marker());
        const auto seen = RunClosingModals([&] { form->Button1Click(); });
        if (ftop == 1e308) {
            QCOMPARE(seen.size(), 1);
            QCOMPARE(seen[0].text, QString("The symbol would be more than 32767 pixels on a side, too large to draw: make it smaller."));
            QCOMPARE(ClipboardImage(), Marker());
        } else if (ftop < 0) {
            // five mils above the picture's top: the bars start half a pixel higher, at 0
            QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
            QCOMPARE(ClipboardImage(), Rgb32(form->Image1->picture));
        } else {
            QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
        }
    }

    // A file of 100 MB: start-up still finds the values at its end, in reasonable time
    // (the bound is a guard against a hang, not a speed target).
    void hundredMegabyteFile()
    {
        QByteArray content;
        content.reserve(100 * 1024 * 1024 + 200);
        const QByteArray line = QByteArray(1023, 'x') + '\n';
        while (content.size() < 100 * 1024 * 1024) content += line;
        content += "[pagesetting]\nftop=3\n[Symbology]\nChecked=Bar Code ENA8\n";
        dir->Write(kSettings, content);
        content = QByteArray();
        QElapsedTimer timer;
        timer.start();
        Start({});
        QVERIFY2(timer.elapsed() < 60000, "start-up over a 100 MB settings file hung");
        QCOMPARE(main->ftop, 3.0);
        QVERIFY(main->barform);
        QCOMPARE(main->StatusText(1), QString("Bar Code ENA8"));
    }

    // A file the user may not read: start-up as without it, and a pick that would have
    // to rewrite it says so instead of replacing what it could not see.
    void unreadableFile()
    {
        const QByteArray content("[pagesetting]\nftop=9\n[Symbology]\nChecked=Bar Code UPC-A\n");
        dir->Write(kSettings, content);
        QVERIFY(QFile::setPermissions(dir->Path(kSettings), {}));
        QVERIFY(QFile::setPermissions(QFileInfo(dir->Path(kSettings)).absolutePath(),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                          QFileDevice::ReadOther | QFileDevice::ExeOther));
        QList<ModalSeen> seen;
        double ftop = -1;
        bool editorShown = true;
        const bool dropped = AsNobody([&] {
            main = MakeMainWindow();
            ftop = main->ftop;
            editorShown = main->barform != nullptr;
            seen = RunClosingModals([&] { main->EAN81Click(); });
        });
        if (!dropped) QSKIP("running as root without the right to act as another user: permissions do not stop root");
        QCOMPARE(ftop, 0.0);
        QVERIFY(!editorShown);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen[0].text, platform::SettingsNotWritten());
        QVERIFY(QFile::setPermissions(dir->Path(kSettings), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(dir->Read(kSettings), content);
    }

    // An installed copy's folder takes no new file: the pick goes into the user's
    // configuration folder, in the same format, and the next start shows that editor.
    // A file that stands beside the executable still wins.
    void installedCopyKeepsItsSettingsInTheUserFolder()
    {
        const QString root = dir->Path("root");
        const QString program = root + "/bin", config = root + "/config";
        QVERIFY(QDir().mkpath(program) && QDir().mkpath(config));
        // The user keeps root's groups: the group's bits count as the others'.
        const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
        const auto shared = open | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        QVERIFY(QFile::setPermissions(dir->Path(""), open) && QFile::setPermissions(root, open));
        QVERIFY(QFile::setPermissions(program, open & ~QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(config, shared));
        const QByteArray home = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        platform::SetExeDirectoryOverride(program);
        QString path, shown;
        const bool dropped = AsNobody([&] {
            main = MakeMainWindow();
            RunClosingModals([&] { main->ENA13Click(); });
            main.reset();
            main = MakeMainWindow();
            shown = main->StatusText(1);
            path = platform::SettingsPath();
            main.reset();
        });
        qputenv("XDG_CONFIG_HOME", home);
        if (!dropped) QSKIP("running as root without the right to act as another user: permissions do not stop root");
        QCOMPARE(path, config + "/ruvola/BCodeSetting.ini");
        QCOMPARE(shown, QString("Bar Code ENA13"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[Symbology]\nChecked=Bar Code ENA13\n"));
        QVERIFY(!QFile::exists(program + "/BCodeSetting.ini"));

        QVERIFY(QFile::setPermissions(program, open));
        QFile beside(program + "/BCodeSetting.ini");
        QVERIFY(beside.open(QIODevice::WriteOnly) && beside.write("[Symbology]\nChecked=Bar Code C39\n") > 0);
        beside.close();
        QVERIFY(QFile::setPermissions(beside.fileName(), shared & ~(QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                                                   QFileDevice::ExeOther)));
        QVERIFY(QFile::setPermissions(program, open & ~QFileDevice::WriteOwner));
        AsNobody([&] { path = platform::SettingsPath(); });
        QCOMPARE(path, program + "/BCodeSetting.ini");
    }

    // A file beside the executable that the user can read but not write (root's, in a
    // folder of root's): its values are read, and the user's own copy, made from them in
    // the configuration folder, takes the picks from then on, so a pick sticks. The file
    // beside stays as it was, and a copy the user already has is not made again.
    void unwritableFileBesideStartsTheUsersOwnCopy()
    {
        const QString root = dir->Path("root");
        const QString program = root + "/bin", config = root + "/config";
        QVERIFY(QDir().mkpath(program) && QDir().mkpath(config));
        const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
        const auto shared = open | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        const QByteArray installed("[pagesetting]\r\nftop=7\r\nfiwidth=3\r\n[Symbology]\r\nChecked=Bar Code C39\r\n");
        QFile beside(program + "/BCodeSetting.ini");
        QVERIFY(beside.open(QIODevice::WriteOnly) && beside.write(installed) == installed.size());
        beside.close();
        QVERIFY(QFile::setPermissions(beside.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                             QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QVERIFY(QFile::setPermissions(dir->Path(""), open) && QFile::setPermissions(root, open));
        QVERIFY(QFile::setPermissions(program, open & ~QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(config, shared));
        const QByteArray home = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        platform::SetExeDirectoryOverride(program);
        QList<ModalSeen> seen;
        QString firstShown, shown, path;
        double ftop = 0, fiwidth = 0;
        const bool dropped = AsNobody([&] {
            main = MakeMainWindow();
            firstShown = main->StatusText(1);
            seen = RunClosingModals([&] { main->ENA13Click(); });
            main.reset();
            main = MakeMainWindow();
            shown = main->StatusText(1);
            ftop = main->ftop;
            fiwidth = main->fiwidth;
            path = platform::SettingsPath();
            main.reset();
        });
        qputenv("XDG_CONFIG_HOME", home);
        if (!dropped) QSKIP("running as root without the right to act as another user: permissions do not stop root");
        QCOMPARE(firstShown, QString("Bar Code C39"));
        QVERIFY2(seen.isEmpty(), qPrintable(seen.value(0).text));
        QCOMPARE(shown, QString("Bar Code ENA13"));
        QCOMPARE(ftop, 7.0);
        QCOMPARE(fiwidth, 3.0);
        QCOMPARE(path, config + "/ruvola/BCodeSetting.ini");
        QFile own(path);
        QVERIFY(own.open(QIODevice::ReadOnly));
        QCOMPARE(own.readAll(), QByteArray(installed).replace("Bar Code C39", "Bar Code ENA13"));
        own.close();
        QVERIFY(beside.open(QIODevice::ReadOnly));
        QCOMPARE(beside.readAll(), installed);
        beside.close();

        // The user's copy, once there, is the user's: a later file beside does not replace it.
        QVERIFY(QFile::setPermissions(program, open));
        QVERIFY(QFile::remove(beside.fileName()));
        QVERIFY(beside.open(QIODevice::WriteOnly) && beside.write("[Symbology]\nChecked=Bar Code UPC-A\n") > 0);
        beside.close();
        QVERIFY(QFile::setPermissions(program, open & ~QFileDevice::WriteOwner));
        qputenv("XDG_CONFIG_HOME", config.toLocal8Bit());
        AsNobody([&] {
            main = MakeMainWindow();
            shown = main->StatusText(1);
            main.reset();
        });
        qputenv("XDG_CONFIG_HOME", home);
        QCOMPARE(shown, QString("Bar Code ENA13"));
    }
};

QTEST_MAIN(TestHostileShell)
#include "tst_hostile_shell.moc"
