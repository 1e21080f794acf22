// The settings file's rules on any bytes: after writing a key, reading it gives the
// value written; the write touched nothing but that key's line (or added the key, or
// its section and the key): every other byte of the file, foreign lines and line ends
// included, is where it was; writing the same again changes nothing; and every other
// key the program keeps reads as before. Line by line: either one line changed, a line
// of that key, to key=value with its own line end kept, or one or two lines were put
// in between the old ones, ending as the file's first line does (but for a lone CR
// that would join a blank line's LF), and only the file's unterminated last line
// gained a line end. Through a real file, reading, writing and
// reading again gives the same bytes and values as the rules on the bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "check.h"
#include "platform/inifile.h"

namespace {

// The names the program reads and writes, and the same in other letter cases.
constexpr const char* kSections[] = {"pagesetting", "Symbology", "PAGESETTING", "symbology"};
constexpr const char* kKeys[] = {"ftop", "fdown", "fleft", "fright", "fiwidth", "Checked", "FTOP", "checked"};

bool HasLineEnd(const QByteArray& bytes) { return bytes.contains('\n') || bytes.contains('\r'); }

qsizetype Lines(const QByteArray& bytes)
{
    qsizetype lines = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        if (bytes[i] == '\r' || bytes[i] == '\n' || i + 1 == bytes.size()) ++lines;
    }
    return lines;
}

// The part of before that after does not keep, and what after has in its place.
void Difference(const QByteArray& before, const QByteArray& after, QByteArray& removed, QByteArray& added)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    removed = before.mid(head, before.size() - head - tail);
    added = after.mid(head, after.size() - head - tail);
}

struct Line {
    QByteArray text, end;
    bool operator==(const Line&) const = default;
};

// The file's lines with their line ends ("\r\n", "\r", "\n", or none for an
// unterminated last line).
std::vector<Line> SplitLines(const QByteArray& bytes)
{
    std::vector<Line> lines;
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

// A line that sets key: a name before the first '=' that, without surrounding blanks
// and ASCII letter case, is the key.
bool SetsKey(const QByteArray& text, const QByteArray& key)
{
    const qsizetype eq = text.indexOf('=');
    return eq > 0 && qstricmp(text.left(eq).trimmed().constData(), key.constData()) == 0 &&
           !text.left(eq).contains('\0');
}

void CheckLines(const QByteArray& text, const QByteArray& written, const QByteArray& section, const QByteArray& key,
                const QByteArray& value)
{
    const std::vector<Line> before = SplitLines(text), after = SplitLines(written);
    const QByteArray entry = key + '=' + value;
    if (after.size() == before.size()) {
        std::size_t changed = 0, at = 0;
        for (std::size_t i = 0; i < before.size(); ++i)
            if (!(before[i] == after[i])) ++changed, at = i;
        FUZZ_CHECK(changed == 1);
        FUZZ_CHECK(SetsKey(before[at].text, key) && after[at].text == entry && after[at].end == before[at].end);
        return;
    }
    const std::size_t more = after.size() - before.size();
    FUZZ_CHECK(after.size() > before.size() && more <= 2);
    QByteArray newEnd = "\n";
    for (const Line& line : before)
        if (!line.end.isEmpty()) {
            newEnd = line.end;
            break;
        }
    // Where the new lines went: the old lines before them, then the new, then the rest.
    std::size_t at = 0;
    while (at < before.size() && before[at] == after[at]) ++at;
    if (at < before.size() && at + 1 == before.size() && before[at].end.isEmpty() && after[at].text == before[at].text &&
        after[at].end == newEnd)
        ++at;  // the unterminated last line, now ended
    FUZZ_CHECK(after[at + more - 1].text == entry);
    if (more == 2) FUZZ_CHECK(after[at].text == '[' + section + ']');
    // A lone CR before a bare LF would join the two into one line end: the new line
    // then ends in CRLF, so that the blank line after it stays.
    const bool blankAfter = at < before.size() && before[at].text.isEmpty() && before[at].end == "\n";
    for (std::size_t i = at; i < at + more; ++i)
        FUZZ_CHECK(after[i].end == newEnd || (i + 1 == at + more && newEnd == "\r" && blankAfter && after[i].end == "\r\n"));
    for (std::size_t i = at; i < before.size(); ++i) FUZZ_CHECK(after[i + more] == before[i]);
}

// Through the settings file itself: what it reads before, the bytes a write leaves,
// what it reads after. Values go through the local 8-bit code page, so only values it
// carries unchanged are compared.
void CheckFile(const QByteArray& text, const QByteArray& written, const QByteArray& section, const QByteArray& key,
               const QByteArray& value)
{
    // In memory where there is a memory file system: each write ends with an fsync.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/ruvola-fuzz-XXXXXX")
                                                                        : QDir::tempPath() + QStringLiteral("/ruvola-fuzz-XXXXXX"));
    FUZZ_CHECK(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("BCodeSetting.ini"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size());
    }
    const platform::IniFile ini(path);
    const QString s = QString::fromLatin1(section), k = QString::fromLatin1(key), v = QString::fromLocal8Bit(value);
    bool found = false;
    const QByteArray was = platform::ini::Value(text, section, key, &found);
    const QString fallback = QStringLiteral("\x01none");
    FUZZ_CHECK(ini.ReadString(s, k, fallback) == (found ? QString::fromLocal8Bit(was) : fallback));
    if (v.toLocal8Bit() != value) return;
    FUZZ_CHECK(ini.WriteString(s, k, v));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly) && file.readAll() == written);
    FUZZ_CHECK(ini.ReadString(s, k, fallback) == v);
}

// A value as the program writes one: one line, no surrounding blanks.
QByteArray ValueFrom(FuzzedDataProvider& in)
{
    QByteArray value = QByteArray::fromStdString(in.ConsumeRandomLengthString(24));
    value.replace('\r', ' ').replace('\n', ' ');
    return value.trimmed();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    namespace ini = platform::ini;
    FuzzedDataProvider in(data, size);
    const QByteArray section = in.PickValueInArray(kSections);
    const QByteArray key = in.PickValueInArray(kKeys);
    const QByteArray value = ValueFrom(in);
    const bool throughFile = in.ConsumeBool();
    const QByteArray text = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    const QByteArray written = ini::WithValue(text, section, key, value);
    bool found = false;
    FUZZ_CHECK(ini::Value(written, section, key, &found) == value && found);
    FUZZ_CHECK(ini::WithValue(written, section, key, value) == written);

    QByteArray removed, added;
    Difference(text, written, removed, added);
    FUZZ_CHECK(!HasLineEnd(removed));
    FUZZ_CHECK(removed.isEmpty() || !HasLineEnd(added));
    const qsizetype more = Lines(written) - Lines(text);
    FUZZ_CHECK(more >= 0 && more <= 2);

    CheckLines(text, written, section, key, value);
    if (throughFile) CheckFile(text, written, section, key, value);

    for (const char* otherSection : kSections)
        for (const char* otherKey : kKeys) {
            if (qstricmp(otherSection, section) == 0 && qstricmp(otherKey, key) == 0) continue;
            bool before = false, after = false;
            const QByteArray was = ini::Value(text, otherSection, otherKey, &before);
            FUZZ_CHECK(ini::Value(written, otherSection, otherKey, &after) == was && after == before);
        }
    return 0;
}
