#include "files.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>
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
}  // namespace

QString ExeDirectory()
{
    QString dir = exeOverride().isEmpty() ? QCoreApplication::applicationDirPath() : exeOverride();
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

void SetExeDirectoryOverride(const QString& directory) { exeOverride() = directory; }

QString SettingsPath() { return ExeDirectory() + QStringLiteral("BCodeSetting.ini"); }

QString SettingsNotWritten()
{
    return QStringLiteral("The settings file \"%1\" could not be written.").arg(SettingsPath());
}

bool OpenDocument(const QString& path) { return opener()(path); }

void SetDocumentOpener(DocumentOpener open) { opener() = open ? std::move(open) : OpenWithDesktop; }

}  // namespace platform
