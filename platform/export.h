// Writes a built symbol to a file at its true size, each format by painting the
// symbol again: PNG on a white picture as the preview is painted, SVG and PDF on a
// vector surface. Every file is
// written to a temporary file renamed into place, so a failed write leaves nothing behind.
#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <functional>

class QIODevice;

#include "engines/canvas.h"

namespace platform {

// Paints the symbol again, in the picture's pixel coordinates, on any canvas.
using SymbolPainter = std::function<void(engines::Canvas&)>;

struct ExportedSymbol {
    int width = 0, height = 0;  // the picture's, in pixels
    int resolution = 0;         // dots per inch the picture is drawn at
    SymbolPainter paint;
};

// The picture at the resolution it was drawn at: dots per metre on the image, which
// PNG writes as its physical-size chunk.
void SetResolution(QImage& picture, int dpi);
int DotsPerMetre(int dpi);

// The picture to write as PNG or print sharp: 1-bit where it holds only black and white.
QImage OneBitPicture(const QImage& picture);

// The picture as a printer gets it: one bit a dot where it is black and white, so that
// a print system that downsamples a page's colour and grey images (as Ghostscript does
// above 450 dpi when it writes a PDF for print) leaves it as it is; black is the first
// colour of its table, as Qt stores a 1-bit image only so.
QImage PrintedBits(const QImage& picture);
// Where a picture of size pixels is drawn on a page whose units are dots so that each
// pixel covers exactly the dot at corner + its place. Its left and top edges lie a
// quarter of a dot into its first dot, its right and bottom edges half a dot short of
// its last dot's end: the page's coordinates reach the printer as fractions of a point,
// so an edge put on a dot's boundary may land a hair to either side; a renderer
// (poppler, as pdftoppm and CUPS's raster filters use it) takes an image's right and
// bottom edges as reaching into the next dot even where they end on a boundary; and
// Ghostscript writing the job as a PDF at the printer's resolution moves positions to
// half dots. With these edges each pixel still covers exactly one dot through all three.
QRectF OnWholeDots(QPointF corner, QSize size);

// Writes symbol to device as format ("png", "svg" or "pdf"); the reason when it could not.
QString WriteSymbol(const ExportedSymbol& symbol, const QString& format, QIODevice& device);

// Writes symbol to path, the format chosen by its suffix (png, svg or pdf, any case).
// Returns an empty string when written, else the message to show; on failure no
// file is left at path.
QString ExportSymbol(const ExportedSymbol& symbol, const QString& path);

}  // namespace platform
