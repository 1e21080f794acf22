#include "csv.h"

#include <QIODevice>

// Splits one CSV line: commas between fields, double quotes around a field that holds
// one, "" for a quote inside quotes. Returns nothing for an unclosed quote.
std::optional<QStringList> CsvFields(const QString& line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                field += line[++i];
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    if (quoted) return std::nullopt;
    fields << field;
    return fields;
}

bool LineReader::Next(QString& line, bool& cut)
{
    // One byte more than the longest line kept, for the end of line and the ending zero.
    buffer_.resize(kMaxLineBytes + 2);
    const qint64 read = device_.readLine(buffer_.data(), buffer_.size());
    if (read <= 0) return false;
    qint64 length = read;
    // A line that fills the buffer without its end goes on beyond it.
    cut = read == buffer_.size() - 1 && buffer_[length - 1] != '\n';
    if (cut) {
        // Past the rest of the line, a block at a time.
        char rest[65536];
        for (qint64 more; (more = device_.readLine(rest, sizeof rest)) > 0;)
            if (rest[more - 1] == '\n') break;
    }
    if (length > 0 && buffer_[length - 1] == '\n') --length;
    if (length > 0 && buffer_[length - 1] == '\r') --length;
    line = QString::fromUtf8(buffer_.constData(), length);
    return true;
}
