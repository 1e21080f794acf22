// Where the program finds its files, and handing a document to the desktop.
// Tests redirect the executable's directory and the document opener.
#pragma once

#include <QString>
#include <functional>

namespace platform {

// The executable's directory with its trailing separator.
QString ExeDirectory();
void SetExeDirectoryOverride(const QString& directory);
QString SettingsPath();
// The notice shown when the settings file refuses a write.
QString SettingsNotWritten();

using DocumentOpener = std::function<bool(const QString& path)>;
bool OpenDocument(const QString& path);
// An empty opener restores the desktop's own.
void SetDocumentOpener(DocumentOpener opener);

}  // namespace platform
