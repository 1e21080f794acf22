#include "generator.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unistd.h>

#include "csv.h"
#include "engines/Tupce_unit.h"
#include "engines/numbersets.h"
#include "filenames.h"
#include "platform/qtcanvas.h"
#include "platform/savebytes.h"
#include "symbols/sharpprint.h"
#include "tell.h"

namespace {

QString TooLong(const char* field)
{
    return QStringLiteral("the %1 is longer than %2 characters").arg(QLatin1String(field)).arg(kMaxFieldLength);
}

// Why a line cut short by the reader is refused: the field that made it so long, as
// far as the part read shows it.
QString CutLine(const std::optional<QStringList>& fields)
{
    if (fields && fields->size() > 1 && fields->at(1).size() > kMaxFieldLength) return TooLong("message");
    if (fields && fields->size() > 3 && fields->at(3).size() > kMaxFieldLength) return TooLong("comment");
    return QStringLiteral("is longer than %1 bytes").arg(LineReader::kMaxLineBytes);
}

bool EanUpc(symbols::Kind kind)
{
    using symbols::Kind;
    return kind == Kind::Ean13 || kind == Kind::Ean8 || kind == Kind::UpcA || kind == Kind::UpcE;
}

// An EAN/UPC number typed whole, as printed under its symbol: its check digit is
// verified and dropped, so the symbol is the one its short form gives, and a wrong one
// is refused naming the digit expected. A UPC-E number is number system 0, the six
// digits and the check digit of their UPC-A expansion. Any other text is left to the
// build to judge.
QString DropCheckDigit(symbols::Kind kind, std::string& message)
{
    if (!EanUpc(kind)) return {};
    const bool upce = kind == symbols::Kind::UpcE;
    const std::size_t digits = std::size_t(symbols::NamesOf(kind).messageDigits);
    if (message.size() != digits + (upce ? 2 : 1)) return {};
    if (!std::all_of(message.begin(), message.end(), [](char c) { return c >= '0' && c <= '9'; })) return {};
    if (upce && message.front() != '0')
        return QStringLiteral("an 8-digit UPC-E number starts with 0, the only number system drawn, not %1")
            .arg(QLatin1Char(message.front()));
    const std::string shortForm = message.substr(upce ? 1 : 0, digits);
    const std::string number = upce ? engines::Tupce::Expand(shortForm) : shortForm;
    const char expected = char('0' + engines::CheckDigitOf(number, engines::ConvertDigit));
    if (message.back() != expected) return QString::fromStdString(engines::WrongCheckDigit(message.back(), expected));
    message = shortForm;
    return {};
}

}  // namespace

QString WriteToStandardOutput(const std::function<QString(QIODevice&)>& write)
{
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return QStringLiteral("Cannot write to standard output: %1.").arg(out.errorString());
    QString reason = write(out);
    if (reason.isEmpty() && !out.flush()) reason = out.errorString();
    return reason.isEmpty() ? QString() : QStringLiteral("Cannot write to standard output: %1.").arg(reason);
}

QString Generator::Build(const QStringList& fields, Built& built) const
{
    if (fields.size() < 2) return QStringLiteral("needs at least a symbology and a message");
    if (fields.size() > 7) return QStringLiteral("has %1 fields, at most 7 are read").arg(fields.size());
    built.name = fields[0].trimmed();
    const auto kind = symbols::KindNamed(built.name.toStdString());
    if (!kind) return QStringLiteral("'%1' is not a symbology (code39, ean13, ean8, upca, upce, code128, gs1-128, itf14)").arg(built.name);
    built.kind = *kind;
    if (QString error = ReadInputs(*kind, fields, built.inputs, built.typed); !error.isEmpty()) return error;
    built.drawing = symbols::Prepare(*kind, built.inputs);
    return built.drawing.Drawable() ? QString() : built.drawing.error;
}

QString Generator::Write(int line, const QStringList& fields)
{
    Built built;
    if (QString error = Build(fields, built); !error.isEmpty()) return error;
    const symbols::Drawing& drawing = built.drawing;

    QString path;
    if (!options_.ToStandardOutput()) {
        path = FileName(options_.pattern, line, built.name.toLower(), built.typed,
                        QString::fromStdString(built.inputs.addOn));
        if (!namesDifferByLine_)
            if (QString error = Claim(line, path); !error.isEmpty()) return error;
    }
    if (options_.format == QLatin1String("png")) return WritePng(line, drawing, path);
    if (queue_) queue_->Drain();
    return WriteExported(drawing, path);
}

QString Generator::ReadInputs(symbols::Kind kind, const QStringList& fields, symbols::Inputs& inputs,
                              QString& typed) const
{
    // Blanks around a number are no part of it; Code 39 and Code 128 keep them, a blank
    // being one of their characters.
    const bool text = kind == symbols::Kind::Code39 || kind == symbols::Kind::Code128;
    const QString message = text ? fields[1] : fields[1].trimmed();
    const QString comment = fields.value(3).isEmpty() ? options_.comment.value_or(QString()) : fields[3];
    if (message.size() > kMaxFieldLength) return TooLong("message");
    if (comment.size() > kMaxFieldLength) return TooLong("comment");
    inputs = symbols::Defaults(kind);
    typed = message;
    inputs.message = message.toStdString();
    if (QString error = DropCheckDigit(kind, inputs.message); !error.isEmpty()) return error;
    inputs.addOn = fields.value(2).trimmed().toStdString();
    if (!symbols::NamesOf(kind).addOnLabel && !inputs.addOn.empty())
        return QStringLiteral("%1 has no add-on").arg(QLatin1String(symbols::SymbologyName(kind)));
    inputs.comment = comment.toStdString();
    inputs.page = options_.page;
    inputs.font = options_.font;
    if (options_.bearers) inputs.bearers = *options_.bearers;
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
    // The EAN-13 width is a whole number of inches: a fraction is refused, not cut.
    if (WholeWidthOnly(fields[0]) && inputs.width != std::floor(inputs.width))
        return QStringLiteral("the width '%1' is not a whole number of inches").arg(inputs.width);
    // The 96 dpi layout at the resolution asked for: the text keeps its size on paper
    // and its place against the bars, as in a sharp print.
    inputs = symbols::AtResolution(inputs, kDefaultDpi, options_.dpi);
    return {};
}

QString Generator::Claim(int line, const QString& path)
{
    const QString name = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : currentDir_ + QLatin1Char('/') + path);
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Blake2s_128);
    NameDigest key;
    std::memcpy(&key.high, hash.constData(), sizeof key.high);
    std::memcpy(&key.low, hash.constData() + sizeof key.high, sizeof key.low);
    const auto found = claimed_.constFind(key);
    if (found != claimed_.constEnd())
        return QStringLiteral("'%1' was already written by line %2").arg(path).arg(found.value());
    claimed_.insert(key, line);
    return {};
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
        return WriteExported(drawing, path);
    }
    const int dotsPerMetre = platform::DotsPerMetre(drawing.resolution);
    if (queue_) {
        queue_->Write(line, path, bits_.Bits(), bits_.Stride(), bits_.Width(), bits_.Height(), dotsPerMetre);
        return {};
    }
    const std::string_view file = png_.Encode(bits_.Bits(), bits_.Stride(), bits_.Width(), bits_.Height(), dotsPerMetre);
    if (file.empty()) return NoMemory(drawing);
    return WriteBytes(path, file);
}

// An empty path is standard output.
QString Generator::WriteExported(const symbols::Drawing& drawing, const QString& path) const
{
    const platform::ExportedSymbol symbol = drawing.Exported();
    if (!path.isEmpty()) return platform::ExportSymbol(symbol, path);
    return WriteToStandardOutput([&](QIODevice& out) { return platform::WriteSymbol(symbol, options_.format, out); });
}

QString Generator::WriteBytes(const QString& path, std::string_view bytes) const
{
    if (!path.isEmpty()) return platform::SaveBytes(path, bytes);
    return WriteToStandardOutput([&](QIODevice& out) {
        return out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()) ? QString() : out.errorString();
    });
}

QString Generator::NoMemory(const symbols::Drawing& drawing)
{
    return QStringLiteral("no memory for a %1 x %2 picture").arg(drawing.width).arg(drawing.height);
}

bool EachBatchLine(const QString& batch, const std::function<QString(int, const QStringList&)>& each,
                   const std::function<void(int, const QString&)>& tell)
{
    QFile file;
    const bool fromStdin = batch == QLatin1String("-");
    // Standard input by its descriptor: lines read through a C stream would end at a NUL.
    if (fromStdin ? !file.open(STDIN_FILENO, QIODevice::ReadOnly) : (file.setFileName(batch), !file.open(QIODevice::ReadOnly))) {
        std::fprintf(stderr, "ruvola-batch: cannot read '%s': %s\n", qPrintable(batch), qPrintable(file.errorString()));
        return false;
    }
    LineReader in(file);
    QString line;
    bool cut = false;
    for (int number = 1; in.Next(line, cut); ++number) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QString error;
        if (cut) {
            // A cut line may end inside its quotes; closed, its fields show what is too long.
            auto fields = CsvFields(line + QLatin1Char('"'));
            if (!fields) fields = CsvFields(line);
            error = CutLine(fields);
        } else {
            const auto fields = CsvFields(line);
            error = fields ? each(number, *fields) : QStringLiteral("has an unclosed quote");
        }
        if (!error.isEmpty()) tell(number, error);
    }
    return true;
}

int RunBatch(const Options& options)
{
    // One job draws and writes in turn; more write on their own threads.
    std::optional<PngQueue> queue;
    if (options.jobs > 1) queue.emplace(options.jobs);
    if (queue && !queue->Started()) queue.reset();
    Generator generator(options, queue ? &*queue : nullptr);
    int bad = 0;
    const bool read = EachBatchLine(
        options.batch, [&](int number, const QStringList& fields) { return generator.Write(number, fields); },
        [&](int number, const QString& error) {
            if (queue) {
                queue->QueueFault(number, error);
            } else {
                TellFault(number, error);
                ++bad;
            }
        });
    if (queue) bad += queue->Finish();
    if (!read) return 2;
    return bad == 0 ? 0 : 1;
}
