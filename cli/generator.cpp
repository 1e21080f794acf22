#include "generator.h"

#include <QFile>
#include <QImage>
#include <QTextStream>
#include <cstdio>
#include <optional>

#include "csv.h"
#include "filenames.h"
#include "platform/export.h"
#include "platform/qtcanvas.h"
#include "platform/savebytes.h"

QString Generator::Write(int line, const QStringList& fields)
{
    if (fields.size() < 2) return QStringLiteral("needs at least a symbology and a message");
    if (fields.size() > 7) return QStringLiteral("has %1 fields, at most 7 are read").arg(fields.size());
    const QString name = fields[0].trimmed();
    const auto kind = symbols::KindNamed(name.toStdString());
    if (!kind) return QStringLiteral("'%1' is not a symbology (code39, ean13, ean8, upca, upce)").arg(name);
    symbols::Inputs inputs = symbols::Defaults(*kind);
    inputs.message = fields[1].toStdString();
    inputs.addOn = fields.value(2).trimmed().toStdString();
    if (*kind == symbols::Kind::Code39 && !inputs.addOn.empty()) return QStringLiteral("Code 39 has no add-on");
    inputs.comment = fields.size() > 3 ? fields[3].toStdString() : options_.comment.value_or(QString()).toStdString();
    if (fields.size() <= 3 && options_.comment) inputs.comment = options_.comment->toStdString();
    inputs.page = options_.page;
    inputs.font = options_.font;
    inputs.resolution = options_.dpi;
    struct Figure {
        int column;
        const std::optional<double>& option;
        double& value;
        const char* label;
    };
    for (const Figure& f : {Figure{4, options_.height, inputs.height, "height"},
                            Figure{5, options_.width, inputs.width, "width"},
                            Figure{6, options_.ratio, inputs.ratio, "ratio"}}) {
        const QString text = fields.value(f.column).trimmed();
        if (text.isEmpty()) {
            if (f.option) f.value = *f.option;
            continue;
        }
        bool ok = false;
        f.value = text.toDouble(&ok);
        if (!ok) return QStringLiteral("the %1 '%2' is not a number").arg(QLatin1String(f.label), text);
    }
    const symbols::Drawing drawing = symbols::Prepare(*kind, inputs);
    if (!drawing.Drawable()) return drawing.error;

    const QString path = FileName(options_.pattern, line, name.toLower(), fields[1], fields.value(2).trimmed());
    if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return WritePng(line, drawing, path);
    // SVG and PDF paint the symbol again; the picture only gives its size.
    if (queue_) queue_->Drain();
    return platform::ExportSymbol({QImage(drawing.width, drawing.height, QImage::Format_Mono), drawing.resolution,
                                   drawing.paint},
                                  path);
}

QString Generator::WritePng(int line, const symbols::Drawing& drawing, const QString& path)
{
    try {
        bits_.Reset(drawing.width, drawing.height);
    } catch (const std::bad_alloc&) {
        return NoMemory(drawing);
    }
    drawing.paint(bits_);
    if (!bits_.Monochrome()) {
        if (queue_) queue_->Drain();
        return WritePngInColour(drawing, path);
    }
    const int dotsPerMetre = platform::DotsPerMetre(drawing.resolution);
    if (queue_) {
        queue_->Write(line, path, bits_.Bits(), bits_.Stride(), bits_.Width(), bits_.Height(), dotsPerMetre);
        return {};
    }
    const std::string_view file = png_.Encode(bits_.Bits(), bits_.Stride(), bits_.Width(), bits_.Height(), dotsPerMetre);
    if (file.empty()) return NoMemory(drawing);
    return platform::SaveBytes(path, file);
}


QString Generator::WritePngInColour(const symbols::Drawing& drawing, const QString& path)
{
    platform::ExportedSymbol symbol{.picture = platform::WhiteImage(drawing.width, drawing.height),
                                    .resolution = drawing.resolution,
                                    .paint = drawing.paint};
    if (symbol.picture.isNull()) return NoMemory(drawing);
    {
        platform::ImageCanvas canvas(symbol.picture);
        drawing.paint(canvas);
    }
    return platform::ExportSymbol(symbol, path);
}


QString Generator::NoMemory(const symbols::Drawing& drawing)
{
    return QStringLiteral("no memory for a %1 x %2 picture").arg(drawing.width).arg(drawing.height);
}

int RunBatch(const Options& options)
{
    QFile file;
    const bool fromStdin = options.batch == QLatin1String("-");
    if (fromStdin ? !file.open(stdin, QIODevice::ReadOnly) : (file.setFileName(options.batch), !file.open(QIODevice::ReadOnly))) {
        std::fprintf(stderr, "ruvola-batch: cannot read '%s': %s\n", qPrintable(options.batch), qPrintable(file.errorString()));
        return 2;
    }
    QTextStream in(&file);
    // One job draws and writes in turn; more write on their own threads.
    std::optional<PngQueue> queue;
    if (options.jobs > 1) queue.emplace(options.jobs);
    if (queue && !queue->Started()) queue.reset();
    Generator generator(options, queue ? &*queue : nullptr);
    int bad = 0;
    QString line;
    for (int number = 1; in.readLineInto(&line); ++number) {
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        const auto fields = CsvFields(line);
        const QString error = fields ? generator.Write(number, *fields) : QStringLiteral("has an unclosed quote");
        if (error.isEmpty()) continue;
        if (queue) {
            queue->Tell(number, error);
        } else {
            std::fprintf(stderr, "ruvola-batch: line %d: %s\n", number, qPrintable(error));
            ++bad;
        }
    }
    if (queue) bad += queue->Finish();
    return bad == 0 ? 0 : 1;
}
