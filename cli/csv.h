// One line of a batch file as its fields, read in bounded memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;

// The longest message or comment an editor's box takes (a line edit's own limit).
inline constexpr int kMaxFieldLength = 32767;

// Splits one CSV line: commas between fields, double quotes around a field that holds
// one, "" for a quote inside quotes. Returns nothing for an unclosed quote.
std::optional<QStringList> CsvFields(const QString& line);

// Reads a batch line by line. A line is kept up to kMaxLineBytes, which seven fields
// the editors could take never reach, quoted or not; the rest of a longer line is read
// past and dropped, so a line of a gigabyte costs no more memory than one of two.
class LineReader {
public:
    static constexpr qint64 kMaxLineBytes = qint64(1) << 21;

    explicit LineReader(QIODevice& device) : device_(device) {}
    // The next line without its end of line; false at the end of the input. cut tells
    // whether the line was longer than what line holds of it.
    bool Next(QString& line, bool& cut);

private:
    QIODevice& device_;
    QByteArray buffer_;
};
