// Bars and spaces as a scanner's line sees them on a grey picture.
#pragma once

#include <QImage>
#include <QList>

// The lengths of the dark and light runs along one row of a Grayscale8 picture, from its
// first dark pixel to its last; dark is below mid-grey.
QList<int> PixelRuns(const QImage& gray, int row);
