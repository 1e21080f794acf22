// The settings file: initialization-file text in the local 8-bit code page with
// case-blind section and key names and trimmed values. Each call opens the file, does
// its work and closes it again. A write changes only the lines of its key (and
// section); every other line keeps its bytes and line end. It replaces the whole file
// only once the new text is complete and synced to disk, so a failure, a kill or a
// power cut mid-write leaves the old text or the new, never a part; a part file that
// a killed write left behind is removed by the next write. In a directory that takes
// no new files the file is rewritten in place, and put back as it was when that fails.
//
// Hand-written rather than QSettings (case-sensitive keys, re-sorts the file on
// every write) or libsimpleini (no atomic replace, one more dependency): the rules
// fit in this one small unit.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <utility>

namespace platform {

// The rules on the file's bytes alone, as the file operations apply them (and as the
// fuzzer drives them). Neither keeps a copy per line, so a settings file of any size
// costs one more copy of itself at most.
namespace ini {
// The value of key in section without surrounding blanks; found tells whether there is one.
QByteArray Value(QByteArrayView text, QByteArrayView section, QByteArrayView key, bool* found = nullptr);
// text with key=value in section: the key's line replaced in place, else the key added
// after the section's last line, else the section and key added at the end. Every other
// byte, line ends included, stays as it was.
QByteArray WithValue(QByteArrayView text, QByteArrayView section, QByteArrayView key, QByteArrayView value);
}  // namespace ini

class IniFile {
public:
    explicit IniFile(QString path) : path_(std::move(path)) {}

    QString ReadString(const QString& section, const QString& key, const QString& fallback = {}) const;
    // The values of several keys of one section from one reading of the file, in the
    // order of keys; a key that is absent gives the empty text. A settings file may be
    // large (it is the user's), so it is read once, not once a key.
    QStringList ReadStrings(const QString& section, const QStringList& keys) const;
    // Replaces the key's value in place, or appends the key (and its section).
    // Returns false when the file could not be written; it is then unchanged. A link
    // is written through to the file it points to.
    bool WriteString(const QString& section, const QString& key, const QString& value) const;
    // Several keys of one section in one rewrite of the file: all of them or, on a
    // failure, none.
    bool WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values) const;

    // Makes every write fail as an unwritable file would: a disk that refuses cannot
    // be arranged from a test that runs as root.
    static void RefuseWrites(bool refuse);

private:
    QString path_;
};

}  // namespace platform
