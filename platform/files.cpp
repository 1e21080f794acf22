#include "files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace platform {
namespace {
QString& exeOverride()
{
    static QString directory;
    return directory;
}
bool OpenWithDesktop(const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }
DocumentOpener& opener()
{
    static DocumentOpener open = OpenWithDesktop;
    return open;
}

QString PartPrefix(const QFileInfo& target) { return QStringLiteral(".") + target.fileName() + QLatin1Char('.'); }
const QString kPartSuffix = QStringLiteral(".part");

QString PartPath(const QFileInfo& target)
{
    return target.absolutePath() + QLatin1Char('/') + PartPrefix(target) +
           QString::number(QCoreApplication::applicationPid()) + kPartSuffix;
}

QString SystemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// A part file whose process is gone was cut off mid-write; one whose process still
// runs (this one, another instance) may be in use and stays.
void SweepLeftovers(const QFileInfo& target)
{
    const QString prefix = PartPrefix(target);
    QDirIterator it(target.absolutePath(), QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QString name = it.nextFileInfo().fileName();
        if (!name.startsWith(prefix) || !name.endsWith(kPartSuffix)) continue;
        bool number = false;
        const qint64 pid = QStringView(name).sliced(prefix.size(), name.size() - prefix.size() - kPartSuffix.size())
                               .toLongLong(&number);
        if (number && pid > 0 && pid != QCoreApplication::applicationPid() && ::kill(pid_t(pid), 0) != 0 &&
            errno == ESRCH)
            QFile::remove(it.filePath());
    }
}

// Every byte of the part file written and, where asked, on the disk: a full disk or a
// failing device shows only when the last buffered bytes go out, at the sync, or at
// the close.
QString Finish(QFile& file, const Replacement& how)
{
    if (!file.flush()) return file.errorString();
    if (how.sync && ::fsync(file.handle()) != 0) return SystemError();
    file.close();
    return file.error() == QFileDevice::NoError ? QString() : file.errorString();
}

}  // namespace

QString ReplaceFile(const QString& path, const ContentWriter& write, const Replacement& how, bool* partRefused)
{
    const QFileInfo target(path);
    if (how.sweepLeftovers) SweepLeftovers(target);
    QFile file(PartPath(target));
    if (partRefused) *partRefused = false;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (partRefused) *partRefused = true;
        return file.errorString();
    }
    struct stat old {};
    if (::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(file.handle(), old.st_mode & 07777);
    QString reason = write(file);
    if (reason.isEmpty()) reason = Finish(file, how);
    file.close();
    if (reason.isEmpty() && std::rename(QFile::encodeName(file.fileName()).constData(),
                                        QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        reason = SystemError();
    if (!reason.isEmpty()) file.remove();
    return reason;
}

QString ExeDirectory()
{
    QString dir = exeOverride().isEmpty() ? QCoreApplication::applicationDirPath() : exeOverride();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

void SetExeDirectoryOverride(const QString& directory) { exeOverride() = directory; }

namespace {
const QString kSettingsName = QStringLiteral("BCodeSetting.ini");

// $XDG_CONFIG_HOME/ruvola/, or ~/.config/ruvola/ where it is unset, empty or not an
// absolute path; made when missing, so that the first write finds it.
QString UserSettingsDirectory()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    const QString dir = base + QStringLiteral("/ruvola/");
    QDir().mkpath(dir);
    return dir;
}

bool MayWrite(const QString& path) { return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0; }
bool MayRead(const QString& path) { return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), R_OK, AT_EACCESS) == 0; }

// A write replaces the file through its folder, or rewrites the file itself where the
// folder takes no new file; a link is written where it points.
bool Writable(const QString& file)
{
    const QFileInfo info(file);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    return !target.isEmpty() && (MayWrite(QFileInfo(target).absolutePath()) || MayWrite(target));
}

// The user's own copy of a settings file they may read but not write (one an
// administrator put beside a program for everyone): made from it once, and the user's
// from then on. Where no copy can be made, the file itself, which then refuses writes
// as before.
QString OwnCopyOf(const QString& beside)
{
    const QString own = UserSettingsDirectory() + kSettingsName;
    if (QFileInfo::exists(own)) return own;
    QFile source(beside);
    if (!source.open(QIODevice::ReadOnly)) return beside;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError) return beside;
    const QString reason = ReplaceFile(
        own, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size() ? QString() : device.errorString(); },
        {.sync = true});
    return reason.isEmpty() ? own : beside;
}
}  // namespace

// Beside the executable wherever it can be kept there: a file there already that the
// user may write, or a folder that takes a new one (a build tree, a program unpacked
// into a folder of its own). The folder of an installed copy takes none, and the
// user's configuration folder keeps the file instead, in the same format; a file
// beside it that the user may only read gives that copy its first values.
QString SettingsPath()
{
    const QString directory = ExeDirectory(), beside = directory + kSettingsName;
    if (QFileInfo::exists(beside))
        return Writable(beside) || !MayRead(beside) ? beside : OwnCopyOf(beside);
    if (!QFileInfo(directory).isDir()) return beside;
#ifdef RUVOLA_INSTALLED_BINDIR
    // The folder a package installs into takes a file from root too, which would then
    // stand beside the executable for every user: an installed copy never writes there.
    if (QDir(directory).canonicalPath() == QDir(QStringLiteral(RUVOLA_INSTALLED_BINDIR)).canonicalPath())
        return UserSettingsDirectory() + kSettingsName;
#endif
    if (MayWrite(directory)) return beside;
    return UserSettingsDirectory() + kSettingsName;
}

QString SettingsNotWritten()
{
    return QStringLiteral("The settings file \"%1\" could not be written.").arg(SettingsPath());
}

bool OpenDocument(const QString& path) { return opener()(path); }

void SetDocumentOpener(DocumentOpener open) { opener() = open ? std::move(open) : OpenWithDesktop; }

}  // namespace platform
