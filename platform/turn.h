// The quarter turn the preview makes and a print of a turned preview repeats.
#pragma once

#include <QImage>

namespace platform {

// Writes source turned a quarter clockwise into target, which is source's height
// wide and its width high: the pixel at x = r, y = c takes the source pixel at
// x = c, y = H - 1 - r. Does nothing when target has another size.
void TurnQuarterInto(const QImage& source, QImage& target);

}  // namespace platform
