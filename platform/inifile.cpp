#include "inifile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

namespace platform {
namespace {

// A missing file reads as no lines; an existing file that cannot be read sets ok
// false, so that a write never replaces content it could not see.
QStringList ReadLines(const QString& path, bool* ok = nullptr)
{
    QFile file(path);
    if (ok) *ok = !file.exists();
    if (!file.open(QIODevice::ReadOnly)) return {};
    if (ok) *ok = true;
    const QString text = QString::fromLocal8Bit(file.readAll());
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

bool SectionName(const QString& line, QString& name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']'))) return false;
    name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool KeyIs(const QString& line, const QString& key)
{
    const auto eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0;
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

Place Find(const QStringList& lines, const QString& section, const QString& key)
{
    Place place;
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (SectionName(lines[i], name)) {
            if (inside) break;
            inside = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inside) {
                place.section = i;
                place.end = i + 1;
            }
            continue;
        }
        if (!inside) continue;
        if (!lines[i].trimmed().isEmpty()) place.end = i + 1;
        if (place.key < 0 && KeyIs(lines[i], key)) place.key = i;
    }
    return place;
}

}  // namespace

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    const QStringList lines = ReadLines(path_);
    const Place place = Find(lines, section, key);
    if (place.key < 0) return fallback;
    const QString& line = lines[place.key];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

bool IniFile::WriteString(const QString& section, const QString& key, const QString& value) const
{
    if (refuseWrites()) return false;
    bool readable = false;
    QStringList lines = ReadLines(path_, &readable);
    if (!readable) return false;
    const Place place = Find(lines, section, key);
    const QString entry = key + QLatin1Char('=') + value;
    if (place.key >= 0)
        lines[place.key] = entry;
    else if (place.section >= 0)
        lines.insert(place.end, entry);
    else
        lines << QLatin1Char('[') + section + QLatin1Char(']') << entry;

    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLocal8Bit());
    return file.commit();
}

void IniFile::RefuseWrites(bool refuse) { refuseWrites() = refuse; }

}  // namespace platform
