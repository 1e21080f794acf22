// Settings writes cut off from outside: a child process that saves the settings file
// over and over is killed with SIGKILL at varied moments, and every time the file must
// be one whole version, byte for byte, with no part files piling up beside it. A save
// on a full disk must say it failed and keep the old file, also where the file is
// rewritten in place.
#include <grp.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/inifile.h"

using platform::IniFile;

namespace {

constexpr char kSaveLoop[] = "--save-loop";
const QString kSettings = QStringLiteral("BCodeSetting.ini");
const QByteArray kFirst = "Bar Code C39";
const QByteArray kSecond = "Bar Code UPC-E";

// The settings after many lines of another program's, with CRLF line ends and
// Latin-1 bytes: long enough that one save takes milliseconds, so that kills land in
// every step of it, and a cut anywhere shows as a shorter or mixed file.
QByteArray Content(const QByteArray& symbology, int foreignLines)
{
    QByteArray text = "[Symbology]\r\nChecked=" + symbology + "\r\n[pagesetting]\r\nftop=10\r\n[Foreign]\r\n";
    for (int i = 0; i < foreignLines; ++i)
        text += "line" + QByteArray::number(i) + "=caf\xe9 " + QByteArray(24, char('a' + i % 26)) + "\r\n";
    return text;
}

constexpr int kForeignLines = 20000;  // about 800 KB

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteAll(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush();
}

// Whatever else lies beside the settings file.
QStringList Strays(const QString& directory)
{
    QStringList names = QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.removeOne(kSettings);
    return names;
}

// The child: saves the two names in turn until it is killed, telling each finished save.
int SaveLoop(const QString& path)
{
    const IniFile ini(path);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (long n = 0;; ++n) {
        if (!ini.WriteString(QStringLiteral("Symbology"), QStringLiteral("Checked"),
                             QString::fromLatin1(n % 2 ? kFirst : kSecond)))
            return 1;
        std::printf("%ld\n", n);
        std::fflush(stdout);
    }
}

// Fills the file system that holds directory until it takes no more bytes.
bool FillDisk(const QString& directory)
{
    QFile filler(directory + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    const QByteArray chunk(4096, 'f');
    while (filler.write(chunk) == chunk.size()) {
    }
    return true;
}

// A small tmpfs of its own, so that a full disk can be made; only root may mount one.
class SmallDisk {
public:
    explicit SmallDisk(const QString& directory) : path_(QFile::encodeName(directory))
    {
        if (geteuid() != 0) {
            why_ = QStringLiteral("mounting a small tmpfs needs root");
            return;
        }
        if (::mount("tmpfs", path_.constData(), "tmpfs", 0, "size=256k,mode=0755") != 0) {
            why_ = QStringLiteral("cannot mount a tmpfs here: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        mounted_ = true;
    }
    ~SmallDisk()
    {
        if (mounted_) ::umount2(path_.constData(), MNT_DETACH);
    }
    bool Mounted() const { return mounted_; }
    QString WhyNot() const { return why_; }

private:
    QByteArray path_;
    bool mounted_ = false;
    QString why_;
};

// A settings file on a small disk that has just filled up.
struct FullDisk {
    QTemporaryDir dir;
    SmallDisk disk{dir.path()};
    QString path = dir.filePath(kSettings);
    QByteArray old = Content(kFirst, 200);

    // Empty when the disk is full, else why it could not be made so.
    QString Fill()
    {
        if (!disk.Mounted()) return disk.WhyNot();
        if (!WriteAll(path, old) || !FillDisk(dir.path())) return QStringLiteral("cannot fill the small disk");
        return {};
    }
    bool MakeRoom() { return QFile::remove(dir.filePath(QStringLiteral("filler"))); }
};

// The unprivileged account a root test writes as, where the directory must refuse new files.
constexpr uid_t kNobody = 65534;
enum ChildWrite { kWritten = 0, kRefused = 1, kCannotDropRoot = 2 };

int WriteAsNobody(const QString& path, const QString& value)
{
    const pid_t child = fork();
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(kCannotDropRoot);
        _exit(IniFile(path).WriteString(QStringLiteral("Symbology"), QStringLiteral("Checked"), value) ? kWritten
                                                                                                       : kRefused);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return kCannotDropRoot;
    return WEXITSTATUS(status);
}

}  // namespace

class TestSettingsKill : public QObject {
    Q_OBJECT

private slots:
    void killedSavesLeaveAWholeFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettings);
        const QByteArray first = Content(kFirst, kForeignLines), second = Content(kSecond, kForeignLines);
        QVERIFY(WriteAll(path, first));

        // How long one save takes here, the middle of six (the sync to disk varies).
        QList<qint64> micros;
        for (int i = 0; i < 6; ++i) {
            QElapsedTimer clock;
            clock.start();
            QVERIFY(IniFile(path).WriteString("Symbology", "Checked", QString::fromLatin1(i % 2 ? kFirst : kSecond)));
            micros << clock.nsecsElapsed() / 1000;
        }
        std::sort(micros.begin(), micros.end());
        const qint64 saveMicros = qMax<qint64>(micros[3], 200);
        QCOMPARE(ReadAll(path), first);

        const int kills = qEnvironmentVariableIntValue("RUVOLA_KILLS") > 0 ? qEnvironmentVariableIntValue("RUVOLA_KILLS")
                                                                           : 300;
        QRandomGenerator random(20261209);
        int sawFirst = 0, sawSecond = 0, cutMidWrite = 0, beforeFirstSave = 0;
        long savesDone = 0;
        for (int k = 0; k < kills; ++k) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kSaveLoop), path});
            QVERIFY(child.waitForStarted());
            const qint64 pid = child.processId();
            // After none, one or two finished saves, somewhere inside the next one.
            const int waitFor = int(random.bounded(3));
            QByteArray told;
            while (told.count('\n') < 1 + waitFor) {
                QVERIFY(child.waitForReadyRead(10000));
                told += child.readAllStandardOutput();
            }
            QThread::usleep(random.bounded(quint32(saveMicros)));
            ::kill(pid_t(pid), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            told += child.readAllStandardOutput();

            const QByteArray now = ReadAll(path);
            QVERIFY2(now == first || now == second,
                     qPrintable(QStringLiteral("kill %1 left %2 bytes, neither version").arg(k).arg(now.size())));
            (now == first ? sawFirst : sawSecond)++;
            const long saves = told.count('\n') - 1;  // after "ready"
            savesDone += saves;
            if (saves == 0) ++beforeFirstSave;
            // Each save first removes what killed saves left, so one part file at most
            // stays: the one the last kill inside a write cut off, which may be an
            // earlier child's when this one was killed before its first save.
            const QStringList parts = Strays(dir.path());
            QVERIFY2(parts.size() <= 1, qPrintable(parts.join(' ')));
            if (parts.value(0) == QStringLiteral(".%1.%2.part").arg(kSettings).arg(pid)) ++cutMidWrite;
        }
        qInfo("%d kills, one save about %lld us: %ld saves finished, %d kills before the first, %d cut mid-write; "
              "file first version %d times, second %d times",
              kills, saveMicros, savesDone, beforeFirstSave, cutMidWrite, sawFirst, sawSecond);
        // The kills landed both between saves and inside them.
        QVERIFY(sawFirst > 0 && sawSecond > 0);
        QVERIFY(cutMidWrite > 0);

        QVERIFY(IniFile(path).WriteString("Symbology", "Checked", QString::fromLatin1(kSecond)));
        QCOMPARE(ReadAll(path), second);
        QCOMPARE(Strays(dir.path()), QStringList());
    }

    // A part file of a process still running may be in use: it stays.
    void partFileOfALiveProcessStays()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(kSettings);
        const QString live = dir.filePath(QStringLiteral(".%1.%2.part").arg(kSettings).arg(getppid()));
        const QString dead = dir.filePath(QStringLiteral(".%1.%2.part").arg(kSettings).arg(INT_MAX));
        QVERIFY(WriteAll(live, "half") && WriteAll(dead, "half"));
        QVERIFY(IniFile(path).WriteString("Symbology", "Checked", "Bar Code ENA8"));
        QVERIFY(QFile::exists(live));
        QVERIFY(!QFile::exists(dead));
        QCOMPARE(ReadAll(path), QByteArray("[Symbology]\nChecked=Bar Code ENA8\n"));
    }

    void fullDiskSaveFailsAndKeepsTheOldFile()
    {
        FullDisk full;
        const QString why = full.Fill();
        if (!why.isEmpty()) QSKIP(qPrintable(why));

        QVERIFY(!IniFile(full.path).WriteString("Symbology", "Checked", QString::fromLatin1(kSecond)));
        QCOMPARE(ReadAll(full.path), full.old);
        QCOMPARE(QDir(full.dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{kSettings, "filler"}));

        // With room again the same save goes through.
        QVERIFY(full.MakeRoom());
        QVERIFY(IniFile(full.path).WriteString("Symbology", "Checked", QString::fromLatin1(kSecond)));
        QCOMPARE(ReadAll(full.path), Content(kSecond, 200));
    }

    // The user's own file in a directory that takes no new files is rewritten in
    // place; on a full disk that fails half-way, and the old bytes are put back.
    void fullDiskInPlaceSaveFailsAndPutsTheOldFileBack()
    {
        FullDisk full;
        const QString why = full.Fill();
        if (!why.isEmpty()) QSKIP(qPrintable(why));
        QVERIFY(::chown(QFile::encodeName(full.path).constData(), kNobody, kNobody) == 0);

        // Three pages longer than the file: the rewrite runs out of room.
        const QString longName(3 * 4096, QLatin1Char('x'));
        const int onFullDisk = WriteAsNobody(full.path, longName);
        if (onFullDisk == kCannotDropRoot) QSKIP("cannot write as an unprivileged user here");
        QCOMPARE(onFullDisk, int(kRefused));
        QCOMPARE(ReadAll(full.path), full.old);

        QVERIFY(full.MakeRoom());
        QCOMPARE(WriteAsNobody(full.path, longName), int(kWritten));
        QVERIFY(ReadAll(full.path).startsWith("[Symbology]\r\nChecked=" + longName.toLatin1() + "\r\n[pagesetting]"));
        QCOMPARE(QDir(full.dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kSettings});
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kSaveLoop) == 0) {
        QCoreApplication app(argc, argv);
        return SaveLoop(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestSettingsKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings_kill.moc"
