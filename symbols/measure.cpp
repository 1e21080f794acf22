// Where the bars are on a picture: the pixel row a scanner would cross and the quiet
// zones, module, Code 39 elements and add-on gap measured along it.
#include "scanparts.h"

#include <algorithm>
#include <climits>

namespace symbols::scan {

namespace {
bool Dark(QRgb pixel) { return qGray(pixel) < 128; }
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
    if (runs.size() != mainBars + (addOn ? std::size_t(addOn->bars) : 0)) return m;
    m.measured = true;
    m.left = runs.front().left;
    m.right = picture.width() - runs.back().right;
    if (built.symbology == symbols::Kind::Code39) {
        int narrow = INT_MAX;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const int bar = runs[i].right - runs[i].left;
            const int space = i + 1 < runs.size() ? runs[i + 1].left - runs[i].right : bar;
            narrow = std::min({narrow, bar, space});
            m.wide = std::max({m.wide, bar, space});
        }
        m.module = narrow;
        return m;
    }
    const Run& lastMain = runs[mainBars - 1];
    m.module = double(lastMain.right - runs.front().left) / standard.modules;
    if (addOn) {
        const Run& firstAddOn = runs[mainBars];
        m.gap = firstAddOn.left - lastMain.right;
        m.addOnModule = double(runs.back().right - firstAddOn.left) / addOn->modules;
    }
    return m;
}
