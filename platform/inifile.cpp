#include "inifile.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "platform/files.h"

namespace platform {
namespace {

// One line of the file as byte offsets: the lines this program does not own come
// back from a rewrite exactly as they were, whatever their code page and line ends.
struct LineAt {
    qsizetype start = -1;    // first byte
    qsizetype textEnd = -1;  // one past the text, where its line end ("\r\n", "\r", "\n") starts
    qsizetype next = -1;     // one past the line end; textEnd for a last line without one
};

// Calls visit for every line in order until it returns false.
template <class Visit>
void ForEachLine(QByteArrayView bytes, Visit visit)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype stop = start;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
        qsizetype next = stop;
        if (next < bytes.size()) next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        if (!visit(LineAt{start, stop, next})) return;
        start = next;
    }
}

QByteArrayView TextOf(QByteArrayView bytes, const LineAt& line) { return bytes.sliced(line.start, line.textEnd - line.start); }

// New lines end as the file's first line does, so a CRLF file stays CRLF.
QByteArray LineEndOf(QByteArrayView bytes)
{
    QByteArray end = QByteArrayLiteral("\n");
    ForEachLine(bytes, [&](const LineAt& line) {
        if (line.next == line.textEnd) return true;
        end = bytes.sliced(line.textEnd, line.next - line.textEnd).toByteArray();
        return false;
    });
    return end;
}

// Names are compared without regard to the case of ASCII letters only: the bytes
// of other letters mean different things in different code pages.
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(QByteArrayView a, QByteArrayView b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool SectionName(QByteArrayView line, QByteArrayView& name)
{
    const QByteArrayView t = line.trimmed();
    if (!t.startsWith('[') || !t.endsWith(']')) return false;
    name = t.sliced(1, t.size() - 2).trimmed();
    return true;
}

bool KeyIs(QByteArrayView line, QByteArrayView key)
{
    const auto eq = line.indexOf('=');
    return eq > 0 && SameName(line.first(eq).trimmed(), key);
}

struct Place {
    bool section = false;  // the section's header was found
    LineAt key;            // the key's line inside it; start -1 when absent
    LineAt last;           // the section's last non-blank line, its header at least
};

// Only the first section of the name counts, and in it the first line of the key.
Place Find(QByteArrayView bytes, QByteArrayView section, QByteArrayView key, bool keyIsEnough)
{
    Place place;
    bool inside = false;
    ForEachLine(bytes, [&](const LineAt& line) {
        const QByteArrayView text = TextOf(bytes, line);
        QByteArrayView name;
        if (SectionName(text, name)) {
            if (inside) return false;
            inside = SameName(name, section);
            if (inside) {
                place.section = true;
                place.last = line;
            }
            return true;
        }
        if (!inside) return true;
        if (!text.trimmed().isEmpty()) place.last = line;
        if (place.key.start < 0 && KeyIs(text, key)) {
            place.key = line;
            if (keyIsEnough) return false;
        }
        return true;
    });
    return place;
}

bool& refuseWrites()
{
    static bool refuse = false;
    return refuse;
}

// A missing file reads as no bytes; an existing file that cannot be read sets ok
// false, so that a write never replaces content it could not see.
QByteArray ReadBytes(const QString& path, bool* ok = nullptr)
{
    QFile file(path);
    if (ok) *ok = !file.exists();
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    if (ok) *ok = file.error() == QFileDevice::NoError;
    return bytes;
}

// A settings file that is a link is written where the link points, so the link stays.
QString WritePath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) return path;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

// The file may be the user's own in a directory they cannot write to (beside a
// program installed for everyone). No part file can be made there, so the file is
// rewritten in place: not atomic, but refusing would lose the settings. When a write
// fails half-way, the old bytes go back over the new ones, which takes no new space.
bool RewriteInPlace(const QString& path, const QByteArray& old, const QByteArray& out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return false;
    const auto put = [&file](const QByteArray& bytes) {
        return file.seek(0) && file.write(bytes) == bytes.size() && file.resize(bytes.size()) &&
               ::fsync(file.handle()) == 0;
    };
    if (put(out)) {
        file.close();
        return file.error() == QFileDevice::NoError;
    }
    put(old);
    return false;
}

bool InPlaceAllowed(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && ::access(QFile::encodeName(info.absolutePath()).constData(), W_OK) != 0;
}

}  // namespace

namespace ini {

QByteArray Value(QByteArrayView text, QByteArrayView section, QByteArrayView key, bool* found)
{
    const Place place = Find(text, section, key, true);
    if (found) *found = place.key.start >= 0;
    if (place.key.start < 0) return {};
    const QByteArrayView line = TextOf(text, place.key);
    return line.sliced(line.indexOf('=') + 1).trimmed().toByteArray();
}

QByteArray WithValue(QByteArrayView text, QByteArrayView section, QByteArrayView key, QByteArrayView value)
{
    const Place place = Find(text, section, key, false);
    const QByteArray end = LineEndOf(text);
    const QByteArray entry = key.toByteArray() + '=' + value.toByteArray();
    QByteArray out;
    out.reserve(text.size() + section.size() + entry.size() + 3 * end.size() + 2);
    if (place.key.start >= 0) {
        out.append(text.first(place.key.start)).append(entry).append(text.sliced(place.key.textEnd));
        return out;
    }
    // After the section's last line, or after the file's: that line gets a line end
    // first if it was the file's unterminated last one.
    const LineAt after = place.section ? place.last : LineAt{text.size(), text.size(), text.size()};
    out.append(text.first(after.next));
    if (after.next > 0 && (text[after.next - 1] != '\n' && text[after.next - 1] != '\r')) out.append(end);
    if (!place.section) out.append('[').append(section).append(']').append(end);
    // A lone CR before a line that is a bare LF would join it into one CRLF and take
    // that blank line away; the new line ends in CRLF there instead.
    const QByteArrayView rest = text.sliced(after.next);
    out.append(entry).append(end == "\r" && rest.startsWith('\n') ? QByteArrayLiteral("\r\n") : end).append(rest);
    return out;
}

}  // namespace ini

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    bool found = false;
    const QByteArray value = ini::Value(ReadBytes(path_), section.toLocal8Bit(), key.toLocal8Bit(), &found);
    return found ? QString::fromLocal8Bit(value) : fallback;
}

QStringList IniFile::ReadStrings(const QString& section, const QStringList& keys) const
{
    const QByteArray bytes = ReadBytes(path_);
    const QByteArray name = section.toLocal8Bit();
    QStringList values;
    for (const QString& key : keys) values << QString::fromLocal8Bit(ini::Value(bytes, name, key.toLocal8Bit()));
    return values;
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const
{
    return WriteStrings(section, {{key, value}});
}

bool IniFile::WriteStrings(const QString& section, const QList<std::pair<QString, QString>>& values) const
{
    if (refuseWrites()) return false;
    const QString path = WritePath(path_);
    bool readable = false;
    const QByteArray bytes = ReadBytes(path, &readable);
    if (!readable) return false;
    QByteArray out = bytes;
    const QByteArray name = section.toLocal8Bit();
    for (const auto& [key, value] : values) out = ini::WithValue(out, name, key.toLocal8Bit(), value.toLocal8Bit());

    // Synced: the settings are written seldom and are small, and after a power cut
    // they are the old ones or the new, never an empty file.
    bool partRefused = false;
    const QString reason = ReplaceFile(
        path, [&out](QIODevice& device) { return device.write(out) == out.size() ? QString() : device.errorString(); },
        {.sync = true, .sweepLeftovers = true}, &partRefused);
    if (reason.isEmpty()) return true;
    return partRefused && InPlaceAllowed(path) && RewriteInPlace(path, bytes, out);
}

void IniFile::RefuseWrites(bool refuse) { refuseWrites() = refuse; }

}  // namespace platform
