// Draws one symbol from the fields of a batch line (or the arguments) through the build
// path and writes it as the file its name pattern gives: PNG straight from 1-bit rows,
// SVG and PDF painted again.
#pragma once

#include <QDir>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <string_view>

#include "filenames.h"
#include "options.h"
#include "platform/bitcanvas.h"
#include "platform/export.h"
#include "platform/monopng.h"
#include "pngqueue.h"
#include "symbols/symbolbuild.h"

class Generator {
public:
    // With a queue, the PNG files of black-and-white symbols are written through it.
    Generator(const Options& options, PngQueue* queue) : options_(options), queue_(queue) {}

    // Draws and writes one symbol; the reason when it cannot.
    QString Write(int line, const QStringList& fields);

    // A line's symbol drawn, not written: its symbology, its inputs at the resolution
    // asked for, the message as typed, and the drawing.
    struct Built {
        symbols::Kind kind = symbols::Kind::Code39;
        symbols::Inputs inputs;
        QString name, typed;
        symbols::Drawing drawing;
    };
    // The reason when the fields give no symbol.
    QString Build(const QStringList& fields, Built& built) const;

private:
    // The symbol's inputs from the fields, falling back on the options where a field is
    // left out or empty; the reason when a field is refused. typed: the message as
    // typed, which names the file.
    QString ReadInputs(symbols::Kind kind, const QStringList& fields, symbols::Inputs& inputs, QString& typed) const;
    // The file's name, claimed for line; the reason when an earlier line has it.
    QString Claim(int line, const QString& path);
    // The bars and the cached texts go straight into 1-bit rows and one reused zlib
    // stream: the same pixels as the editors' picture in its 1-bit PNG form, without a
    // 32-bit picture, a painter and Qt's PNG writer for every symbol. A symbol in colour
    // is drawn as the editors draw it.
    QString WritePng(int line, const symbols::Drawing& drawing, const QString& path);
    // The symbol in the output format as an editor's export writes it (a PNG in colour too).
    QString WriteExported(const symbols::Drawing& drawing, const QString& path) const;
    QString WriteBytes(const QString& path, std::string_view bytes) const;
    static QString NoMemory(const symbols::Drawing& drawing);

    const Options& options_;
    PngQueue* queue_;
    platform::BitCanvas bits_;
    platform::MonoPng png_;
    // The files written so far, each by a 128-bit digest of its cleaned absolute name
    // (a tenth of the name's own memory, so a long batch stays small), with the line
    // that wrote it.
    struct NameDigest {
        quint64 high = 0, low = 0;
        friend bool operator==(const NameDigest&, const NameDigest&) = default;
        friend size_t qHash(const NameDigest& digest, size_t seed) { return ::qHash(digest.low, seed); }
    };
    QHash<NameDigest, int> claimed_;
    // Names that differ by their line numbers need no claims.
    const bool namesDifferByLine_ = NamesDifferByLine(options_.pattern);
    // The working directory, asked once: relative names are claimed against it.
    const QString currentDir_ = QDir::currentPath();
};

// Standard output as one file: what write writes, or the reason why not.
QString WriteToStandardOutput(const std::function<QString(QIODevice&)>& write);

// Calls each with the fields of every line of batch ('-': standard input) that is not
// blank or a comment, and tell with a line's number and fault where the line cannot be
// read or each refuses it; false when the file cannot be read (told on standard error).
bool EachBatchLine(const QString& batch, const std::function<QString(int, const QStringList&)>& each,
                   const std::function<void(int, const QString&)>& tell);

// Writes a symbol for each line of options.batch ('-': standard input), telling each
// bad line on standard error; the exit status: 0, 1 when some failed, 2 when the file
// cannot be read.
int RunBatch(const Options& options);
