#include "pixelruns.h"

QList<int> PixelRuns(const QImage& gray, int row)
{
    QList<int> runs;
    const uchar* line = gray.constScanLine(row);
    int first = -1, last = -1;
    for (int x = 0; x < gray.width(); ++x)
        if (line[x] < 128) (first < 0 ? first : last) = x, last = x;
    for (int x = first; first >= 0 && x <= last;) {
        const bool dark = line[x] < 128;
        int end = x;
        while (end <= last && (line[end] < 128) == dark) ++end;
        runs << end - x;
        x = end;
    }
    return runs;
}
