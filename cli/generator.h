// Draws one symbol from the fields of a batch line (or the arguments) through the build
// path and writes it as the file its name pattern gives: PNG straight from 1-bit rows,
// SVG and PDF painted again.
#pragma once

#include <QString>
#include <QStringList>

#include "options.h"
#include "platform/bitcanvas.h"
#include "platform/monopng.h"
#include "pngqueue.h"
#include "symbols/symbolbuild.h"

class Generator {
public:
    // With a queue, the PNG files of black-and-white symbols are written through it.
    Generator(const Options& options, PngQueue* queue) : options_(options), queue_(queue) {}

    // Draws and writes one symbol; the reason when it cannot.
    QString Write(int line, const QStringList& fields);

private:
    // The bars and the cached texts go straight into 1-bit rows and one reused zlib
    // stream: the same pixels as the editors' picture in its 1-bit PNG form, without a
    // 32-bit picture, a painter and Qt's PNG writer for every symbol. A symbol in colour
    // is drawn as the editors draw it.
    QString WritePng(int line, const symbols::Drawing& drawing, const QString& path);
    static QString WritePngInColour(const symbols::Drawing& drawing, const QString& path);
    static QString NoMemory(const symbols::Drawing& drawing);

    const Options& options_;
    PngQueue* queue_;
    platform::BitCanvas bits_;
    platform::MonoPng png_;
};

// Writes a symbol for each line of options.batch ('-': standard input), telling each
// bad line on standard error; the exit status: 0, 1 when some failed, 2 when the file
// cannot be read.
int RunBatch(const Options& options);
