#include "inifile.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <vector>

namespace platform {
namespace {

// The file is handled as bytes: the lines this program does not own come back
// from a rewrite exactly as they were, whatever their code page and line ends.
struct Line {
    QByteArray text;  // without its line end
    QByteArray end;   // "\r\n", "\r", "\n", or empty for a last line without one
};
using Lines = std::vector<Line>;

Lines SplitLines(const QByteArray& bytes)
{
    Lines lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype stop = start;
        while (stop < bytes.size() && bytes[stop] != '\r' && bytes[stop] != '\n') ++stop;
        qsizetype next = stop;
        if (next < bytes.size()) next += (bytes[next] == '\r' && next + 1 < bytes.size() && bytes[next + 1] == '\n') ? 2 : 1;
        lines.push_back({bytes.mid(start, stop - start), bytes.mid(stop, next - stop)});
        start = next;
    }
    return lines;
}

QByteArray JoinLines(const Lines& lines)
{
    QByteArray bytes;
    for (const Line& line : lines) bytes += line.text + line.end;
    return bytes;
}

// New lines end as the file's first line does, so a CRLF file stays CRLF.
QByteArray LineEndOf(const Lines& lines)
{
    for (const Line& line : lines)
        if (!line.end.isEmpty()) return line.end;
    return QByteArrayLiteral("\n");
}

// A missing file reads as no lines; an existing file that cannot be read sets ok
// false, so that a write never replaces content it could not see.
Lines ReadLines(const QString& path, bool* ok = nullptr)
{
    QFile file(path);
    if (ok) *ok = !file.exists();
    if (!file.open(QIODevice::ReadOnly)) return {};
    if (ok) *ok = true;
    return SplitLines(file.readAll());
}

// Names are compared without regard to the case of ASCII letters only: the bytes
// of other letters mean different things in different code pages.
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const QByteArray& a, const QByteArray& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool SectionName(const QByteArray& line, QByteArray& name)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('[') || !t.endsWith(']')) return false;
    name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool KeyIs(const QByteArray& line, const QByteArray& key)
{
    const auto eq = line.indexOf('=');
    return eq > 0 && SameName(line.left(eq).trimmed(), key);
}

bool& refuseWrites()
{
    static bool refuse = false;
    return refuse;
}

struct Place {
    qsizetype section = -1;  // line of the section header
    qsizetype key = -1;      // line of the key inside it
    qsizetype end = -1;      // one past the section's last non-blank line
};

Place Find(const Lines& lines, const QByteArray& section, const QByteArray& key)
{
    Place place;
    bool inside = false;
    for (qsizetype i = 0; i < static_cast<qsizetype>(lines.size()); ++i) {
        const QByteArray& text = lines[i].text;
        QByteArray name;
        if (SectionName(text, name)) {
            if (inside) break;
            inside = SameName(name, section);
            if (inside) {
                place.section = i;
                place.end = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        if (!text.trimmed().isEmpty()) place.end = i + 1;
        if (place.key < 0 && KeyIs(text, key)) place.key = i;
    }
    return place;
}

// Inserts new lines at index at; the line before them gets a line end if it was
// the file's unterminated last line.
void InsertLines(Lines& lines, qsizetype at, const std::vector<QByteArray>& texts)
{
    const QByteArray end = LineEndOf(lines);
    if (at > 0 && lines[at - 1].end.isEmpty()) lines[at - 1].end = end;
    std::vector<Line> added;
    for (const QByteArray& text : texts) added.push_back({text, end});
    lines.insert(lines.begin() + at, added.begin(), added.end());
}

}  // namespace

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    const Lines lines = ReadLines(path_);
    const Place place = Find(lines, section.toLocal8Bit(), key.toLocal8Bit());
    if (place.key < 0) return fallback;
    const QByteArray& line = lines[place.key].text;
    return QString::fromLocal8Bit(line.mid(line.indexOf('=') + 1).trimmed());
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const
{
    if (refuseWrites()) return false;
    bool readable = false;
    Lines lines = ReadLines(path_, &readable);
    if (!readable) return false;
    const QByteArray sectionName = section.toLocal8Bit(), keyName = key.toLocal8Bit();
    const Place place = Find(lines, sectionName, keyName);
    const QByteArray entry = keyName + '=' + value.toLocal8Bit();
    if (place.key >= 0)
        lines[place.key].text = entry;
    else if (place.section >= 0)
        InsertLines(lines, place.end, {entry});
    else
        InsertLines(lines, static_cast<qsizetype>(lines.size()), {'[' + sectionName + ']', entry});

    QSaveFile file(path_);
    // The file may be the user's own in a directory they cannot write to (beside a
    // program installed for everyone). There the atomic replace cannot create its
    // temporary file, and QSaveFile then opens the file itself and rewrites it in
    // place: such a write is not atomic, but refusing it would lose the settings.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(JoinLines(lines));
    return file.commit();
}

void IniFile::RefuseWrites(bool refuse) { refuseWrites() = refuse; }

}  // namespace platform
