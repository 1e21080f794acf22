// Sheet benchmark: what a sheet of labels costs as ruvola-batch --sheet makes it. One
// A4 sheet of 65 different EAN-13 symbols (Avery L7651 as built in, so the figure does
// not hang on the installed templates) drawn at 300 dpi and written as PDF into memory:
// the median of the whole and of its two halves, preparing and drawing the symbols and
// placing them and writing the PDF; then 100 such sheets in one PDF; the peak resident
// memory after each; and last the one sheet again with its symbols drawn on 32-bit
// pictures as the editors draw them, for the cost of that way. Not a test: it only
// reports.
// usage: bench-sheet [ROUNDS [SHEETS]] [--save FILE]  (21 rounds of one sheet, 100 sheets;
//        --save writes the one-sheet PDF to FILE, to compare what it renders to)
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPdfWriter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "cli/sheetrun.h"
#include "platform/bitcanvas.h"
#include "platform/fonts.h"
#include "platform/qtcanvas.h"
#include "platform/whiteimage.h"
#include "sheets/labeltemplates.h"
#include "sheets/sheetprint.h"
#include "symbols/sequence.h"
#include "symbols/sharpprint.h"
#include "symbols/symbolbuild.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDpi = 300;
constexpr int kLayoutDpi = 96;  // the resolution the inputs' layout is stated at
const char kFirstMessage[] = "590123412345";

double MillisSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Peak resident set of the process so far, in megabytes (ru_maxrss is in kilobytes).
double PeakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The EAN-13 inputs of ruvola-batch --width 1 --height 0.5 at its defaults otherwise,
// laid out at the sheet's resolution.
symbols::Inputs Ean13Inputs()
{
    symbols::Inputs inputs = symbols::Defaults(symbols::Kind::Ean13);
    inputs.height = 0.5;
    inputs.width = 1;
    return symbols::AtResolution(inputs, kLayoutDpi, kDpi);
}

// How a symbol's picture is made: as ruvola-batch --sheet makes it (1-bit rows), or
// on a 32-bit white picture as the editors draw it, which the sheet then converts.
enum class Way { Sheet, Editor };

// The symbols of the run, counting up from the first message.
class Symbols {
public:
    explicit Symbols(Way way) : way_(way), inputs_(Ean13Inputs()) {}

    // The n-th symbol's picture, each pixel a dot. Null when it cannot be drawn (told,
    // so that a broken build does not pass for a fast one).
    QImage Picture(long long n)
    {
        symbols::Inputs inputs = inputs_;
        inputs.message = symbols::CountUp(symbols::Kind::Ean13, kFirstMessage, n).message;
        const symbols::Drawing drawing = symbols::Prepare(symbols::Kind::Ean13, inputs);
        if (!drawing.Drawable()) {
            std::fprintf(stderr, "bench-sheet: '%s': %s\n", inputs.message.c_str(), qPrintable(drawing.error));
            return {};
        }
        if (way_ == Way::Sheet) return SheetPicture(drawing, bits_);
        QImage picture = platform::WhiteImage(drawing.width, drawing.height);
        platform::ImageCanvas canvas(picture);
        drawing.paint(canvas);
        return picture;
    }

private:
    Way way_;
    symbols::Inputs inputs_;
    platform::BitCanvas bits_;
};

// A PDF of the sheet's layout and resolution written into a buffer, labels placed by a
// SheetWriter, as ruvola-batch --sheet writes its file.
class SheetPdf {
public:
    // The writer opens the page only when the first label comes, so the layout set
    // here is the one it starts on.
    explicit SheetPdf(const sheets::SheetGrid& grid) : pdf_(&buffer_), writer_(pdf_, grid)
    {
        buffer_.open(QIODevice::WriteOnly);
        pdf_.setPageLayout(sheets::SheetLayout(grid.Sheet()));
        pdf_.setResolution(grid.Dpi());
        pdf_.setCreator(QStringLiteral("Ruvola BarCode Generator"));
        pdf_.setTitle(grid.Sheet().Name());
    }

    bool Add(const QImage& picture)
    {
        const QString fault = writer_.Add(picture);
        if (!fault.isEmpty()) std::fprintf(stderr, "bench-sheet: %s\n", qPrintable(fault));
        return fault.isEmpty();
    }
    // The whole file; empty when it could not be written.
    QByteArray Finish()
    {
        const QString fault = writer_.Finish();
        if (!fault.isEmpty()) {
            std::fprintf(stderr, "bench-sheet: %s\n", qPrintable(fault));
            return {};
        }
        return buffer_.data();
    }

private:
    QBuffer buffer_;
    QPdfWriter pdf_;
    sheets::SheetWriter writer_;
};

struct OneSheet {
    double drawMs = 0, writeMs = 0, totalMs = 0;
    QByteArray pdf;
};

// The 65 symbols prepared and drawn, then placed and written: each half timed.
OneSheet RunOneSheet(const sheets::SheetGrid& grid, Way way)
{
    OneSheet run;
    const auto start = Clock::now();
    Symbols symbols(way);
    std::vector<QImage> pictures;
    pictures.reserve(grid.LabelsPerSheet());
    for (int n = 0; n < grid.LabelsPerSheet(); ++n) pictures.push_back(symbols.Picture(n));
    run.drawMs = MillisSince(start);
    const auto placing = Clock::now();
    SheetPdf pdf(grid);
    for (const QImage& picture : pictures)
        if (picture.isNull() || !pdf.Add(picture)) return run;
    run.pdf = pdf.Finish();
    run.writeMs = MillisSince(placing);
    run.totalMs = MillisSince(start);
    return run;
}

struct Medians {
    double drawMs, writeMs, totalMs;
    qint64 pdfBytes;
};

// A warm-up, then the rounds of one sheet; empty when one failed. save: where the
// warm-up's PDF is kept, or empty.
std::optional<Medians> OneSheetRounds(const sheets::SheetGrid& grid, Way way, int rounds, const QString& save)
{
    const OneSheet first = RunOneSheet(grid, way);
    if (first.pdf.isEmpty()) return std::nullopt;
    if (!save.isEmpty()) {
        QFile file(save);
        if (!file.open(QIODevice::WriteOnly) || file.write(first.pdf) != first.pdf.size()) {
            std::fprintf(stderr, "bench-sheet: cannot write %s\n", qPrintable(save));
            return std::nullopt;
        }
    }
    std::vector<double> draw, write, total;
    for (int i = 0; i < rounds; ++i) {
        const OneSheet run = RunOneSheet(grid, way);
        if (run.pdf.isEmpty()) return std::nullopt;
        draw.push_back(run.drawMs);
        write.push_back(run.writeMs);
        total.push_back(run.totalMs);
    }
    return Medians{Median(draw), Median(write), Median(total), first.pdf.size()};
}

// Many sheets in one PDF as ruvola-batch makes them: each symbol drawn and placed in
// turn, no more than one picture held at a time. The PDF's size; 0 when it failed.
qint64 RunManySheets(const sheets::SheetGrid& grid, int sheetCount)
{
    Symbols symbols(Way::Sheet);
    SheetPdf pdf(grid);
    const long long labels = (long long)sheetCount * grid.LabelsPerSheet();
    for (long long n = 0; n < labels; ++n) {
        const QImage picture = symbols.Picture(n);
        if (picture.isNull() || !pdf.Add(picture)) return 0;
    }
    return pdf.Finish().size();
}

void Print(const char* what, const Medians& m, int rounds)
{
    std::printf("%-48s %7.1f ms   (median of %d)\n", what, m.totalMs, rounds);
    std::printf("%-48s %7.1f ms\n", "  prepare + draw 65 symbols", m.drawMs);
    std::printf("%-48s %7.1f ms\n", "  place + write the PDF", m.writeMs);
    std::printf("%-48s %7.1f kB\n", "  PDF size", m.pdfBytes / 1024.0);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The heap kept as ruvola-batch keeps it, so that the peaks compare.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QString savePath;
    if (const qsizetype at = args.indexOf(QStringLiteral("--save")); at >= 0 && at + 1 < args.size()) {
        savePath = args.at(at + 1);
        args.remove(at, 2);
    }
    const int rounds = std::max(1, args.value(0, QStringLiteral("21")).toInt());
    const int sheetCount = std::max(1, args.value(1, QStringLiteral("100")).toInt());
    platform::DesignFamily();

    const sheets::TemplateLibrary library = sheets::BuiltInTemplates();
    const sheets::LabelTemplate* sheet = library.Find(u"Avery L7651");
    if (!sheet) {
        std::fprintf(stderr, "bench-sheet: Avery L7651 is not built in\n");
        return 1;
    }
    const sheets::SheetGrid grid(*sheet, kDpi);
    const QImage sample = Symbols(Way::Sheet).Picture(0);
    if (sample.isNull()) return 1;
    std::printf("%s, %d labels at %d dpi; EAN-13 1 in wide, 0.5 in high: %d x %d dots\n", qPrintable(sheet->Name()),
                grid.LabelsPerSheet(), kDpi, sample.width(), sample.height());

    const std::optional<Medians> sheetWay = OneSheetRounds(grid, Way::Sheet, rounds, savePath);
    if (!sheetWay) return 1;
    const double peakOne = PeakRssMb();
    const auto start = Clock::now();
    const qint64 manyBytes = RunManySheets(grid, sheetCount);
    const double manyMs = MillisSince(start);
    if (manyBytes == 0) return 1;
    const double peakMany = PeakRssMb();
    // Last, as its 65 pictures of 32 bits held at once raise the peak.
    const std::optional<Medians> editorWay = OneSheetRounds(grid, Way::Editor, rounds, {});
    if (!editorWay) return 1;

    Print("one sheet, 65 labels, PDF into memory", *sheetWay, rounds);
    std::printf("%-48s %7.1f MB\n", "  peak RSS after it", peakOne);
    std::printf("%-48s %7.2f s    (%.1f ms a sheet, once)\n",
                qPrintable(QStringLiteral("%1 sheets, %2 labels, one PDF").arg(sheetCount).arg(sheetCount * grid.LabelsPerSheet())),
                manyMs / 1000, manyMs / sheetCount);
    std::printf("%-48s %7.1f MB\n", "  PDF size", manyBytes / 1048576.0);
    std::printf("%-48s %7.1f MB\n", "  peak RSS after it (the PDF held in memory)", peakMany);
    Print("one sheet drawn on 32-bit pictures (editors)", *editorWay, rounds);
    return 0;
}
