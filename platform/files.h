// Where the program finds its files, replacing a file whole, and handing a document
// to the desktop. Tests redirect the executable's directory and the document opener.
#pragma once

#include <QString>
#include <functional>

class QIODevice;

namespace platform {

// The executable's directory with its trailing separator.
QString ExeDirectory();
void SetExeDirectoryOverride(const QString& directory);
// BCodeSetting.ini beside the executable, unless the executable's folder neither holds
// one nor takes a new file: then in $XDG_CONFIG_HOME/ruvola/ (~/.config/ruvola/). A
// file beside it that the user may read but not write is copied there once, and that
// copy is the one used.
QString SettingsPath();
// The notice shown when the settings file refuses a write.
QString SettingsNotWritten();

// Writes the content of a file: returns why it could not, or an empty string.
using ContentWriter = std::function<QString(QIODevice& device)>;

struct Replacement {
    // The content is forced to disk before it takes the file's name, so that after a
    // power cut the file is also the old content or the new. A killed process needs no
    // sync: once write() has returned, the bytes are the kernel's to keep.
    bool sync = false;
    // Part files that processes no longer running left beside the file are removed first.
    bool sweepLeftovers = false;
};

// Replaces the file at path by what write puts out, whole or not at all: the content
// goes to a hidden part file beside it, named after it and this process, which is
// renamed over it once every byte is written and flushed. The part file takes the
// permissions of the file it replaces. Returns why not, or an empty string; on
// failure the file is as it was and no part file is left. partRefused, where given,
// tells whether the part file could not even be made.
QString ReplaceFile(const QString& path, const ContentWriter& write, const Replacement& how = {},
                    bool* partRefused = nullptr);

using DocumentOpener = std::function<bool(const QString& path)>;
bool OpenDocument(const QString& path);
// An empty opener restores the desktop's own.
void SetDocumentOpener(DocumentOpener opener);

}  // namespace platform
