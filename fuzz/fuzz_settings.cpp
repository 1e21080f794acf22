// The settings file's rules on any bytes, checked by what they promise rather than by
// how the file is split into lines: after writing a key, reading it gives the value
// written; every byte outside the key's line, the new lines and their line ends is
// where it was, in the same order; writing the same again changes nothing; and every
// other key the program keeps reads as before. Through a real file, reading, writing
// and reading again gives the same bytes and values as the rules on the bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>

#include "check.h"
#include "platform/inifile.h"

namespace {

// The names the program reads and writes, and the same in other letter cases.
constexpr const char* kSections[] = {"pagesetting", "Symbology", "PAGESETTING", "symbology"};
constexpr const char* kKeys[] = {"ftop", "fdown", "fleft", "fright", "fiwidth", "Checked", "FTOP", "checked"};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
bool HasLineEnd(QByteArrayView bytes) { return bytes.contains('\n') || bytes.contains('\r'); }

qsizetype CommonPrefix(QByteArrayView a, QByteArrayView b)
{
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return n;
}

qsizetype CommonSuffix(QByteArrayView a, QByteArrayView b)
{
    qsizetype n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
    return n;
}

// bytes starts with a line end; its length goes to size.
bool StartsWithLineEnd(QByteArrayView bytes, qsizetype& size)
{
    size = bytes.startsWith("\r\n") ? 2 : (!bytes.isEmpty() && IsLineEnd(bytes[0])) ? 1 : 0;
    return size > 0;
}

// inserted is what a write put into the file when the key was not there: an end for
// an unterminated last line (only where the line before it has none), the section's
// header when asked for, then key=value; each line ended.
bool IsNewLines(QByteArrayView inserted, bool lineBeforeIsOpen, QByteArrayView section, QByteArrayView entry)
{
    qsizetype end = 0;
    if (lineBeforeIsOpen) {
        if (!StartsWithLineEnd(inserted, end)) return false;
        inserted = inserted.sliced(end);
    }
    const QByteArray header = '[' + section.toByteArray() + ']';
    if (inserted.startsWith(header) && StartsWithLineEnd(inserted.sliced(header.size()), end))
        inserted = inserted.sliced(header.size() + end);
    return inserted.startsWith(entry) && StartsWithLineEnd(inserted.sliced(entry.size()), end) &&
           entry.size() + end == inserted.size();
}

// A key that was there: one stretch of one line changed, and that line now reads
// key=value. Every byte before and after that stretch is where it was.
void CheckReplaced(const QByteArray& text, const QByteArray& written, const QByteArray& entry)
{
    const qsizetype head = CommonPrefix(text, written);
    if (head == text.size() && head == written.size()) return;  // the line read key=value already
    const qsizetype tail = std::min(CommonSuffix(text, written), std::min(text.size(), written.size()) - head);
    FUZZ_CHECK(!HasLineEnd(QByteArrayView(text).sliced(head, text.size() - head - tail)));
    FUZZ_CHECK(!HasLineEnd(QByteArrayView(written).sliced(head, written.size() - head - tail)));
    qsizetype from = head, to = written.size() - tail;
    while (from > 0 && !IsLineEnd(written[from - 1])) --from;
    while (to < written.size() && !IsLineEnd(written[to])) ++to;
    FUZZ_CHECK(QByteArrayView(written).sliced(from, to - from) == entry);
}

// A key that was not there: the file's bytes, in order, with new lines put in at the
// start of a line (or after the file's unterminated last line).
void CheckInserted(const QByteArray& text, const QByteArray& written, const QByteArray& section,
                   const QByteArray& entry)
{
    const qsizetype more = written.size() - text.size();
    FUZZ_CHECK(more > 0);
    const qsizetype head = CommonPrefix(text, written), tail = CommonSuffix(text, written);
    bool placed = false;
    for (qsizetype at = std::max<qsizetype>(0, text.size() - tail); at <= head && !placed; ++at) {
        // A line starts after a line end, but not between the CR and LF of one.
        const bool lineStart =
            at == 0 || (IsLineEnd(text[at - 1]) && !(text[at - 1] == '\r' && at < text.size() && text[at] == '\n'));
        if (!lineStart && at != text.size()) continue;
        // A new line ending in a lone CR before an LF would join the two into one line
        // end and take the line after it away.
        const bool joinsNext = written[at + more - 1] == '\r' && at < text.size() && text[at] == '\n';
        placed = !joinsNext && IsNewLines(QByteArrayView(written).sliced(at, more), !lineStart, section, entry);
    }
    FUZZ_CHECK(placed);
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

    const QByteArray entry = key + '=' + value;
    bool wasThere = false;
    ini::Value(text, section, key, &wasThere);
    if (wasThere)
        CheckReplaced(text, written, entry);
    else
        CheckInserted(text, written, section, entry);
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
