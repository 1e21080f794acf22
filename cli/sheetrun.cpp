#include "sheetrun.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <cstdint>
#include <cstdio>
#include <new>

#include "generator.h"
#include "platform/qtcanvas.h"
#include "platform/savebytes.h"
#include "platform/whiteimage.h"
#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"
#include "symbols/notices.h"
#include "symbols/sequence.h"
#include "tell.h"

namespace {

int Refuse(const QString& text)
{
    std::fprintf(stderr, "ruvola-batch: %s\n", qPrintable(text));
    return 2;
}

// The template a name picks, or why none.
std::optional<sheets::LabelTemplate> PickSheet(const QString& name, QString& refusal)
{
    const sheets::TemplateLibrary library = sheets::LoadTemplates();
    if (name.trimmed().startsWith(QLatin1String("custom:"), Qt::CaseInsensitive)) {
        sheets::CustomSheet custom = sheets::ParseCustomSheet(name.trimmed(), library);
        refusal = custom.refusal;
        return custom.sheet;
    }
    const QList<const sheets::LabelTemplate*> matches = library.Matches(name);
    if (matches.size() == 1) return *matches.front();
    if (matches.isEmpty()) {
        refusal = QStringLiteral("no label template is named '%1'").arg(name);
        return std::nullopt;
    }
    QStringList names;
    for (const sheets::LabelTemplate* sheet : matches) names << sheet->Name();
    refusal = QStringLiteral("'%1' names %2 templates: %3; give the brand too")
                  .arg(name)
                  .arg(matches.size())
                  .arg(names.mid(0, 8).join(QStringLiteral(", ")) + (names.size() > 8 ? QStringLiteral(", ...") : QString()));
    return std::nullopt;
}

// A drawing on a white picture, as the editors draw it.
QImage Painted(const symbols::Drawing& drawing)
{
    QImage picture = platform::WhiteImage(drawing.width, drawing.height);
    if (picture.isNull()) return picture;
    platform::ImageCanvas canvas(picture);
    drawing.paint(canvas);
    return picture;
}

class Placer {
public:
    Placer(const Options& options, sheets::SheetWriter& writer) : options_(options), generator_(options, nullptr), writer_(writer) {}

    // Places a line's labels: its symbol, or the sequence counted from its message, each
    // as many times as asked; the reason when the line gives none or some do not fit.
    QString Place(const QStringList& fields)
    {
        Generator::Built built;
        if (QString error = generator_.Build(fields, built); !error.isEmpty()) return error;
        const std::string first = built.inputs.message;
        if (options_.count > 1) {
            // A sequence that cannot be counted to its end places none of its labels.
            const symbols::Counted last = symbols::CountUp(built.kind, first, options_.count - 1);
            if (!last.refusal.empty()) return QString::fromStdString(last.refusal);
        }
        for (int n = 0; n < options_.count; ++n) {
            symbols::Drawing drawing;
            if (n == 0) {
                drawing = std::move(built.drawing);
            } else {
                symbols::Inputs inputs = built.inputs;
                inputs.message = symbols::CountUp(built.kind, first, n).message;
                drawing = symbols::Prepare(built.kind, inputs);
                if (!drawing.Drawable())
                    return QStringLiteral("'%1': %2").arg(QString::fromStdString(inputs.message), drawing.error);
            }
            const QImage picture = SheetPicture(drawing, bits_);
            if (picture.isNull()) return symbols::TooLargeNotice(drawing.width, drawing.height);
            for (int copy = 0; copy < options_.copies; ++copy)
                if (QString fault = writer_.Add(picture); !fault.isEmpty()) return fault;
        }
        return {};
    }

private:
    const Options& options_;
    Generator generator_;
    sheets::SheetWriter& writer_;
    platform::BitCanvas bits_;  // its rows kept from one symbol to the next
};

}  // namespace

// A black-and-white symbol goes straight into 1-bit rows and is handed over as the
// printer gets it, so that no label costs a 32-bit picture, its filling and its packing
// into bits again; a symbol in colour is painted as the editors paint it.
QImage SheetPicture(const symbols::Drawing& drawing, platform::BitCanvas& bits)
{
    try {
        bits.Reset(drawing.width, drawing.height);
    } catch (const std::bad_alloc&) {
        return {};
    }
    drawing.paint(bits);
    if (!bits.Monochrome()) return Painted(drawing);
    QImage picture(drawing.width, drawing.height, QImage::Format_Mono);
    if (picture.isNull()) return picture;
    picture.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    // White everywhere first, the bits past a row's last pixel too, as the converted
    // picture has them; then each row's bits, a set bit (black) becoming colour 0.
    picture.fill(1);
    const std::uint8_t* rows = bits.Bits();
    const std::size_t stride = bits.Stride();
    for (int y = 0; y < drawing.height; ++y) {
        const std::uint8_t* in = rows + std::size_t(y) * stride;
        uchar* out = picture.scanLine(y);
        for (std::size_t i = 0; i < stride; ++i) out[i] = uchar(~in[i]);
    }
    return picture;
}

int RunSheet(const Options& options)
{
    QString refusal;
    const std::optional<sheets::LabelTemplate> sheet = PickSheet(options.sheet, refusal);
    if (!sheet) return Refuse(refusal);
    const sheets::SheetGrid grid(*sheet, options.dpi);
    if (QString fault = sheets::StartFault(options.sheetStart, grid.LabelsPerSheet()); !fault.isEmpty())
        return Refuse(QStringLiteral("--sheet-start: ") + fault);
    int bad = 0;
    bool readable = true, placed = false;
    const auto tell = [&](int line, const QString& error) {
        TellFault(line, error);
        ++bad;
    };
    const auto write = [&](QIODevice& device) -> QString {
        QPdfWriter pdf(&device);
        pdf.setPageLayout(sheets::SheetLayout(*sheet));
        pdf.setResolution(options.dpi);
        pdf.setCreator(QStringLiteral("Ruvola BarCode Generator"));
        pdf.setTitle(sheet->Name());
        sheets::SheetWriter writer(pdf, grid, options.sheetStart);
        Placer placer(options, writer);
        if (options.batch.isEmpty()) {
            const QString error = placer.Place({options.positional[0], options.positional[1], options.positional.value(2)});
            if (!error.isEmpty()) tell(0, error);
        } else {
            readable = EachBatchLine(
                options.batch, [&](int, const QStringList& fields) { return placer.Place(fields); }, tell);
        }
        placed = writer.Placed() > 0;
        // Nothing placed: no file, rather than a blank sheet.
        if (!placed) return QStringLiteral("no label was placed");
        return writer.Finish();
    };
    const QString error = options.ToStandardOutput() ? WriteToStandardOutput(write) : platform::SaveAs(options.pattern, write);
    if (!readable) return 2;
    if (!error.isEmpty()) {
        if (placed) return Refuse(QStringLiteral("cannot write '%1': %2").arg(options.pattern, error));
        std::fprintf(stderr, "ruvola-batch: no label was placed; '%s' is not written\n", qPrintable(options.pattern));
        return 1;
    }
    return bad == 0 ? 0 : 1;
}
