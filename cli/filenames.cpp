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
