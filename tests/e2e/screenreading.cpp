#include "screenreading.h"

#include <QPainter>
#include <functional>

namespace e2e {
namespace {

constexpr QRgb kPreviewGrey = 0xff808080;
// Text and marks are darker than this; frames, disabled icons and backgrounds lighter.
constexpr int kInk = 110;

bool Dark(QRgb pixel, int below = kInk) { return qGray(pixel) < below; }

// Runs of indices where has(i) holds, joined across gaps of at most maxGap, keeping
// those at least minLength long.
QList<QPair<int, int>> Runs(int from, int to, int maxGap, int minLength, const std::function<bool(int)>& has)
{
    QList<QPair<int, int>> runs;
    for (int i = from; i < to; ++i) {
        if (!has(i)) continue;
        if (!runs.isEmpty() && i - runs.last().second <= maxGap + 1) runs.last().second = i;
        else runs.append({i, i});
    }
    runs.removeIf([minLength](const QPair<int, int>& r) { return r.second - r.first + 1 < minLength; });
    return runs;
}

bool ColumnHas(const QImage& image, int x, int top, int bottom, const std::function<bool(QRgb)>& test)
{
    for (int y = top; y < bottom; ++y)
        if (test(image.pixel(x, y))) return true;
    return false;
}

bool RowHas(const QImage& image, int y, int left, int right, const std::function<bool(QRgb)>& test)
{
    for (int x = left; x < right; ++x)
        if (test(image.pixel(x, y))) return true;
    return false;
}

}  // namespace

QList<QRect> MenuBarItems(const QImage& window)
{
    int top = -1;
    for (int y = 0; y < qMin(window.height(), 40) && top < 0; ++y)
        if (RowHas(window, y, 0, window.width(), [](QRgb p) { return Dark(p); })) top = y;
    if (top < 0) return {};
    // One text line; words of one item are a pixel or two apart, items much further.
    const int bottom = qMin(window.height(), top + 14);
    QList<QRect> items;
    for (const auto& [left, right] : Runs(0, window.width(), 5, 2, [&](int x) {
             return ColumnHas(window, x, top, bottom, [](QRgb p) { return Dark(p); });
         }))
        items << QRect(QPoint(left, top), QPoint(right, bottom - 1));
    return items;
}

QList<QRect> MenuRows(const QImage& menu)
{
    // The text column only: check boxes stand in the left quarter.
    const int left = menu.width() / 4, right = menu.width() - 2;
    QList<QRect> rows;
    for (const auto& [top, bottom] : Runs(0, menu.height(), 2, 4, [&](int y) {
             return RowHas(menu, y, left, right, [](QRgb p) { return Dark(p); });
         }))
        rows << QRect(QPoint(left, top), QPoint(right, bottom));
    return rows;
}

bool RowChecked(const QImage& menu, const QRect& row)
{
    // A mark is ink of its own left of the row's text column, apart from the text.
    const int top = qMax(0, row.top() - 3), bottom = qMin(menu.height(), row.bottom() + 4);
    const auto runs = Runs(0, menu.width(), 3, 2, [&](int x) {
        return ColumnHas(menu, x, top, bottom, [](QRgb p) { return Dark(p, 80); });
    });
    return !runs.isEmpty() && runs.first().second < row.left();
}

QList<QRect> ToolIcons(const QImage& window, const QRect& band)
{
    const QRgb background = window.pixel(band.left() + 1, band.top() + 1);
    const auto ink = [background](QRgb p) {
        return qAbs(qGray(p) - qGray(background)) > 40;
    };
    // An icon may be drawn as separate strokes; buttons stand tens of pixels apart.
    QList<QRect> icons;
    for (const auto& [left, right] : Runs(band.left(), band.right() + 1, 16, 8, [&](int x) {
             return ColumnHas(window, x, band.top(), band.bottom() + 1, ink);
         }))
        icons << QRect(QPoint(left, band.top()), QPoint(right, band.bottom()));
    return icons;
}

Preview FindPreview(const QImage& window)
{
    const auto grey = [](QRgb p) { return p == kPreviewGrey; };
    const auto greyCount = [&](int y) {
        int n = 0;
        for (int x = 0; x < window.width(); ++x) n += grey(window.pixel(x, y));
        return n;
    };
    const auto rows = Runs(0, window.height(), 0, 20, [&](int y) { return greyCount(y) >= 100; });
    if (rows.isEmpty()) return {};
    const auto [top, bottom] = rows.first();
    const auto columns =
        Runs(0, window.width(), 0, 20, [&](int x) { return ColumnHas(window, x, top, bottom + 1, grey); });
    if (columns.isEmpty()) return {};
    Preview preview;
    preview.viewport = QRect(QPoint(columns.first().first, top), QPoint(columns.first().second, bottom));
    QRect picture;
    for (int y = preview.viewport.top(); y <= preview.viewport.bottom(); ++y)
        for (int x = preview.viewport.left(); x <= preview.viewport.right(); ++x)
            if (!grey(window.pixel(x, y))) picture |= QRect(x, y, 1, 1);
    preview.picture = picture;
    return preview;
}

bool SamePixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff)) return false;
    return true;
}

QRect DarkBox(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    int left = grey.width(), right = -1, top = -1, bottom = -1;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        int first = -1, last = -1;
        for (int x = 0; x < grey.width(); ++x)
            if (row[x] < 128) {
                if (first < 0) first = x;
                last = x;
            }
        if (first < 0) continue;
        if (top < 0) top = y;
        bottom = y;
        left = qMin(left, first);
        right = qMax(right, last);
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

bool OnlyBlackAndWhite(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            if (row[x] != 0 && row[x] != 255) return false;
    }
    return true;
}

QImage OnWhiteSheet(const QImage& picture, int margin)
{
    QImage sheet(picture.width() + 2 * margin, picture.height() + 2 * margin, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter(&sheet).drawImage(margin, margin, picture);
    return sheet;
}

}  // namespace e2e
