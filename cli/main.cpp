// ruvola-batch: the command-line generator. Draws one symbol from its arguments, or one
// symbol per line of a CSV file or standard input, with the editors' engines and page
// values, and writes each as a PNG, SVG or PDF file named by a pattern.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <cstdio>
#include <malloc.h>
#include <optional>

#include "pngqueue.h"
#include "platform/bitcanvas.h"
#include "platform/export.h"
#include "platform/savebytes.h"
#include "platform/monopng.h"
#include "platform/qtcanvas.h"
#include "symbols/symbolbuild.h"

namespace {

constexpr int kDefaultDpi = 96;

const char* const kUsage =
    "usage: ruvola-batch [OPTION]... SYMBOLOGY MESSAGE [ADD-ON]\n"
    "       ruvola-batch [OPTION]... --batch FILE|-\n"
    "\n"
    "Draws bar code symbols as the editors of Ruvola BarCode Generator do and writes\n"
    "them as PNG, SVG or PDF files at their true size.\n"
    "\n"
    "SYMBOLOGY is code39, ean13, ean8, upca or upce. MESSAGE is what the editor's\n"
    "'Bar Code Message' takes (12, 7, 11 or 6 digits without the check digit; Code 39\n"
    "text); ADD-ON is an optional 2- or 5-digit supplement (not for Code 39).\n"
    "\n"
    "  -b, --batch FILE       one symbol per line of FILE ('-' reads standard input):\n"
    "                           symbology,message,add-on,comment,height,width,ratio\n"
    "                         fields after the message may be left out or empty (then\n"
    "                         the options below, else the editor's defaults, apply);\n"
    "                         a field with a comma or quote is written in double quotes.\n"
    "                         Blank lines and lines starting with '#' are skipped.\n"
    "  -o, --output PATTERN   file name; {line}, {symbology}, {message} and {addon} are\n"
    "                         replaced, the suffix .png, .svg or .pdf picks the format\n"
    "                         (default: {symbology}-{message}.png, and\n"
    "                         {line}-{symbology}-{message}.png for a batch)\n"
    "  -c, --comment TEXT     comment line above the symbol\n"
    "      --height INCHES    bar height (editor default 1.2 for Code 39, else 1.3)\n"
    "      --width VALUE      Code 39: narrow bar in mils (23); EAN-13: symbol width in\n"
    "                         whole inches (2); UPC-A, EAN-8, UPC-E: module in mils (21)\n"
    "      --ratio R          Code 39 wide to narrow ratio, 2.0 to 3.0 (2.0)\n"
    "      --top, --bottom, --left, --right, --interval MILS\n"
    "                         the page values of the page setting dialog (0)\n"
    "      --font FACE        text font face (MS Sans Serif)\n"
    "      --font-size POINTS text size (8)\n"
    "      --dpi N            resolution the symbol is drawn at (96)\n"
    "  -j, --jobs N           a batch's PNG files written by N threads while the next\n"
    "                         symbols are drawn (1: each drawn and written in turn)\n"
    "  -h, --help             show this help and exit\n"
    "\n"
    "Exit status: 0 when every symbol was written, 1 when some line or file failed\n"
    "(each is told on standard error with its line number; the good ones are still\n"
    "written), 2 for a usage error.\n";

struct Options {
    QString batch;  // empty: one symbol from the arguments
    QString pattern;
    std::optional<QString> comment;
    std::optional<double> height, width, ratio;
    PageValues page;
    engines::Font font;
    int dpi = kDefaultDpi;
    // One thread by default: where the processors are busy, more only wait for each other.
    int jobs = 1;
    QStringList positional;
};

[[noreturn]] void UsageError(const QString& text)
{
    std::fprintf(stderr, "ruvola-batch: %s\nTry 'ruvola-batch --help' for more information.\n", qPrintable(text));
    std::exit(2);
}

double Number(const QString& option, const QString& text)
{
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok) UsageError(QStringLiteral("'%1' for %2 is not a number").arg(text, option));
    return value;
}

Options ParseArguments(const QStringList& arguments)
{
    Options options;
    double* pageValues[] = {&options.page.ftop, &options.page.fdown, &options.page.fleft, &options.page.fright,
                            &options.page.fiwidth};
    const QStringList pageOptions = {"--top", "--bottom", "--left", "--right", "--interval"};
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            std::exit(0);
        }
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            options.positional << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            options.positional << arguments.mid(i + 1);
            break;
        }
        if (i + 1 >= arguments.size()) UsageError(QStringLiteral("option %1 needs a value").arg(a));
        const QString value = arguments[++i];
        if (a == QLatin1String("-b") || a == QLatin1String("--batch"))
            options.batch = value;
        else if (a == QLatin1String("-o") || a == QLatin1String("--output"))
            options.pattern = value;
        else if (a == QLatin1String("-c") || a == QLatin1String("--comment"))
            options.comment = value;
        else if (a == QLatin1String("--height"))
            options.height = Number(a, value);
        else if (a == QLatin1String("--width"))
            options.width = Number(a, value);
        else if (a == QLatin1String("--ratio"))
            options.ratio = Number(a, value);
        else if (pageOptions.contains(a))
            *pageValues[pageOptions.indexOf(a)] = Number(a, value);
        else if (a == QLatin1String("--font"))
            options.font.face = value.toStdString();
        else if (a == QLatin1String("--font-size"))
            options.font.size = int(Number(a, value));
        else if (a == QLatin1String("--dpi")) {
            options.dpi = int(Number(a, value));
            if (options.dpi < 1 || options.dpi > 10000) UsageError(QStringLiteral("--dpi must be 1 to 10000"));
        } else if (a == QLatin1String("-j") || a == QLatin1String("--jobs")) {
            options.jobs = int(Number(a, value));
            if (options.jobs < 1 || options.jobs > 256) UsageError(QStringLiteral("--jobs must be 1 to 256"));
        } else
            UsageError(QStringLiteral("unknown option %1").arg(a));
    }
    if (options.batch.isEmpty() && (options.positional.size() < 2 || options.positional.size() > 3))
        UsageError(QStringLiteral("give SYMBOLOGY MESSAGE [ADD-ON], or --batch FILE"));
    if (!options.batch.isEmpty() && !options.positional.isEmpty())
        UsageError(QStringLiteral("--batch takes no symbol arguments"));
    if (options.font.size < 1) UsageError(QStringLiteral("--font-size must be at least 1"));
    if (options.pattern.isEmpty())
        options.pattern = options.batch.isEmpty() ? QStringLiteral("{symbology}-{message}.png")
                                                  : QStringLiteral("{line}-{symbology}-{message}.png");
    return options;
}

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

// Characters that would make a file name a path, or awkward in one, become '_'.
QString NamePart(const QString& text)
{
    QString part = text;
    for (QChar& c : part)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c == QLatin1Char(':')) c = QLatin1Char('_');
    return part;
}

class Generator {
public:
    // With a queue, the PNG files of black-and-white symbols are written through it.
    Generator(const Options& options, PngQueue* queue) : options_(options), queue_(queue) {}

    // Draws and writes one symbol; the reason when it cannot.
    QString Write(int line, const QStringList& fields)
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

        QString path = options_.pattern;
        path.replace(QLatin1String("{line}"), QString::number(line))
            .replace(QLatin1String("{symbology}"), NamePart(name.toLower()))
            .replace(QLatin1String("{message}"), NamePart(fields[1]))
            .replace(QLatin1String("{addon}"), NamePart(fields.value(2).trimmed()));
        if (path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) return WritePng(line, drawing, path);
        // SVG and PDF paint the symbol again; the picture only gives its size.
        if (queue_) queue_->Drain();
        return platform::ExportSymbol({QImage(drawing.width, drawing.height, QImage::Format_Mono), drawing.resolution,
                                       drawing.paint},
                                      path);
    }

private:
    // The bars and the cached texts go straight into 1-bit rows and one reused zlib
    // stream: the same pixels as the editors' picture in its 1-bit PNG form, without a
    // 32-bit picture, a painter and Qt's PNG writer for every symbol. A symbol in colour
    // is drawn as the editors draw it.
    QString WritePng(int line, const symbols::Drawing& drawing, const QString& path)
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

    static QString WritePngInColour(const symbols::Drawing& drawing, const QString& path)
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

    static QString NoMemory(const symbols::Drawing& drawing)
    {
        return QStringLiteral("no memory for a %1 x %2 picture").arg(drawing.width).arg(drawing.height);
    }

    const Options& options_;
    PngQueue* queue_;
    platform::BitCanvas bits_;
    platform::MonoPng png_;
};

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

}  // namespace

int main(int argc, char** argv)
{
    // No window is ever shown; fonts still need a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error tells the bad lines; the toolkit's remarks about the session stay out.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "ruvola-batch: %s\n", qPrintable(text));
    });
    // A symbol drawn in colour, or as SVG or PDF, has a picture of some hundred kilobytes
    // made and freed again: kept in the heap rather than mapped and unmapped every time.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    QGuiApplication app(argc, argv);
    const Options options = ParseArguments(QCoreApplication::arguments());
    // The symbols' text face stands for the same face as in the editors' windows.
    platform::DesignFamily();
    // An interrupted batch leaves whole files only.
    platform::LetFilesFinishBeforeInterrupts();
    if (!options.batch.isEmpty()) return RunBatch(options);
    Generator generator(options, nullptr);
    QStringList fields = {options.positional[0], options.positional[1], options.positional.value(2)};
    const QString error = generator.Write(1, fields);
    if (error.isEmpty()) return 0;
    std::fprintf(stderr, "ruvola-batch: %s\n", qPrintable(error));
    return 1;
}
