// The settings file's rules on any bytes: after writing a key, reading it gives the
// value written; the write touched nothing but that key's line (or added the key, or
// its section and the key): every other byte of the file, foreign lines and line ends
// included, is where it was; writing the same again changes nothing; and every other
// key the program keeps reads as before.
#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>

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

    for (const char* otherSection : kSections)
        for (const char* otherKey : kKeys) {
            if (qstricmp(otherSection, section) == 0 && qstricmp(otherKey, key) == 0) continue;
            bool before = false, after = false;
            const QByteArray was = ini::Value(text, otherSection, otherKey, &before);
            FUZZ_CHECK(ini::Value(written, otherSection, otherKey, &after) == was && after == before);
        }
    return 0;
}
