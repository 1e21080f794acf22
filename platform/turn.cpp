#include "turn.h"

namespace platform {

void TurnQuarterInto(const QImage& source, QImage& target)
{
    const int w = source.width(), h = source.height();
    if (target.width() != h || target.height() != w) return;
    if (target.format() != QImage::Format_RGB32) target = target.convertToFormat(QImage::Format_RGB32);
    const QImage from = source.convertToFormat(QImage::Format_RGB32);
    for (int r = 0; r < h; ++r) {
        const auto* row = reinterpret_cast<const QRgb*>(from.constScanLine(h - 1 - r));
        for (int c = 0; c < w; ++c) reinterpret_cast<QRgb*>(target.scanLine(c))[r] = row[c];
    }
}

}  // namespace platform
