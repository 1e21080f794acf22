#include "filenames.h"

namespace {

// Characters that would make a file name a path, or awkward in one, become '_'.
QString NamePart(const QString& text)
{
    QString part = text;
    for (QChar& c : part)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c == QLatin1Char(':')) c = QLatin1Char('_');
    return part;
}

}  // namespace

QString FileName(const QString& pattern, int line, const QString& symbology, const QString& message,
                 const QString& addOn)
{
    QString path = pattern;
    path.replace(QLatin1String("{line}"), QString::number(line))
        .replace(QLatin1String("{symbology}"), NamePart(symbology))
        .replace(QLatin1String("{message}"), NamePart(message))
        .replace(QLatin1String("{addon}"), NamePart(addOn));
    return path;
}

bool NamesDifferByLine(const QString& pattern)
{
    const QString line = QStringLiteral("{line}");
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = pattern.left(slash + 1), name = pattern.mid(slash + 1);
    if (folder.contains(QLatin1Char('{')) || !name.startsWith(line) || name.size() == line.size()) return false;
    const QChar next = name.at(line.size());
    return !next.isDigit() && next != QLatin1Char('{');
}
