// Where the bars are on a picture: the pixel row a scanner would cross and the quiet
// zones, module, Code 39 elements and add-on gap measured along it.
#include "scanparts.h"

#include <algorithm>
#include <climits>

namespace symbols::scan {

namespace {
bool Dark(QRgb pixel) { return qGray(pixel) < 128; }

// Dark or light rows of column x from row y on, y included, going up (step -1) or
// down (step 1).
int RowsWhile(const QImage& picture, int x, int y, int step, bool dark)
{
    int rows = 0;
    for (; y >= 0 && y < picture.height() && Dark(picture.pixel(x, y)) == dark; y += step) ++rows;
    return rows;
}

// The bearer bar above (step -1) or below (step 1) the bar at column barX, seen in the
// quiet zone's column quietX: its dark rows after the light ones of the quiet zone,
// where they end on the row the bar's own dark rows end; 0 where none do.
int BearerBar(const QImage& picture, int row, int barX, int quietX, int step)
{
    if (quietX < 0 || quietX >= picture.width()) return 0;
    const int first = row + step * RowsWhile(picture, quietX, row, step, false);
    const int thick = RowsWhile(picture, quietX, first, step, true);
    if (thick == 0) return 0;
    const int barEnd = row + step * (RowsWhile(picture, barX, row, step, true) - 1);
    return barEnd == first + step * (thick - 1) ? thick : 0;
}
}  // namespace

std::vector<Run> DarkRuns(const QImage& picture, int y)
{
    std::vector<Run> runs;
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    const int width = picture.width();
    for (int x = 0; x < width;) {
        if (!Dark(row[x])) {
            ++x;
            continue;
        }
        const int left = x;
        while (x < width && Dark(row[x])) ++x;
        runs.push_back({left, x});
    }
    return runs;
}

// The row to measure: the middle of the stretch of identical rows that crosses the most
// bars, among stretches not much shorter than the tallest. Rows through text change from
// one to the next; rows through bars do not.
int ScanRow(const QImage& picture)
{
    struct Block {
        int first, samples;
        std::size_t runs;
    };
    const int step = std::max(1, picture.height() / 256);
    std::vector<Block> blocks;
    std::vector<Run> previous;
    for (int y = 0; y < picture.height(); y += step) {
        std::vector<Run> runs = DarkRuns(picture, y);
        if (!blocks.empty() && runs == previous)
            ++blocks.back().samples;
        else
            blocks.push_back({y, 1, runs.size()});
        previous = std::move(runs);
    }
    int tallest = 0;
    for (const Block& block : blocks)
        if (block.runs > 0) tallest = std::max(tallest, block.samples);
    const Block* best = nullptr;
    for (const Block& block : blocks) {
        if (block.runs == 0 || block.samples * 4 < tallest) continue;
        if (!best || block.runs > best->runs || (block.runs == best->runs && block.samples > best->samples))
            best = &block;
    }
    return best ? best->first + (best->samples - 1) / 2 * step : -1;
}

QImage Rgb32(const QImage& picture)
{
    const auto format = picture.format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
               ? picture
               : picture.convertToFormat(QImage::Format_RGB32);
}

}  // namespace symbols::scan

using namespace symbols::scan;

SymbolMeasures MeasurePicture(const QImage& image, const BuiltSymbol& built)
{
    SymbolMeasures m;
    const QImage picture = Rgb32(image);
    if (picture.isNull()) return m;
    m.row = ScanRow(picture);
    if (m.row < 0) return m;
    const std::vector<Run> runs = DarkRuns(picture, m.row);
    const Standard& standard = StandardOf(built.symbology);
    const std::size_t mainBars = MainBars(built, standard);
    const AddOnShape* addOn = AddOnOf(built.addOn);
    // A frame's upright bearer bars cross every row through the bars: the bars and
    // their quiet zones lie between them.
    const std::size_t sides = built.symbology == symbols::Kind::Itf14 && built.bearers == symbols::Bearers::Frame ? 1 : 0;
    if (mainBars == 0 || runs.size() != mainBars + 2 * sides + (addOn ? std::size_t(addOn->bars) : 0)) return m;
    m.measured = true;
    const std::vector<Run> bars(runs.begin() + std::ptrdiff_t(sides), runs.end() - std::ptrdiff_t(sides));
    m.left = bars.front().left - (sides ? runs.front().right : 0);
    m.right = (sides ? runs.back().left : picture.width()) - bars.back().right;
    if (sides) m.bearerSides = std::min(runs.front().right - runs.front().left, runs.back().right - runs.back().left);
    const int barX = bars.front().left, quietX = barX - 1;
    m.bearerTop = BearerBar(picture, m.row, barX, quietX, -1);
    m.bearerBottom = BearerBar(picture, m.row, barX, quietX, 1);
    m.barHeight = RowsWhile(picture, barX, m.row, -1, true) + RowsWhile(picture, barX, m.row, 1, true) - 1 -
                  m.bearerTop - m.bearerBottom;
    if (built.symbology == symbols::Kind::Code39 || built.symbology == symbols::Kind::Itf14) {
        int narrow = INT_MAX;
        for (std::size_t i = 0; i < bars.size(); ++i) {
            const int bar = bars[i].right - bars[i].left;
            const int space = i + 1 < bars.size() ? bars[i + 1].left - bars[i].right : bar;
            narrow = std::min({narrow, bar, space});
            m.wide = std::max({m.wide, bar, space});
        }
        m.module = narrow;
        return m;
    }
    const int modules = standard.modules > 0 ? standard.modules : built.modules;
    const Run& lastMain = runs[mainBars - 1];
    m.module = double(lastMain.right - runs.front().left) / modules;
    if (addOn) {
        const Run& firstAddOn = runs[mainBars];
        m.gap = firstAddOn.left - lastMain.right;
        m.addOnModule = double(runs.back().right - firstAddOn.left) / addOn->modules;
    }
    return m;
}
