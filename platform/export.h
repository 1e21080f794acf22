// Writes a built symbol to a file at its true size, each format by painting the
// symbol again: PNG on a white picture as the preview is painted, SVG and PDF on a
// vector surface. Every file is
// written to a temporary file renamed into place, so a failed write leaves nothing behind.
#pragma once

#include <QImage>
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

// Writes symbol to device as format ("png", "svg" or "pdf"); the reason when it could not.
QString WriteSymbol(const ExportedSymbol& symbol, const QString& format, QIODevice& device);

// Writes symbol to path, the format chosen by its suffix (png, svg or pdf, any case).
// Returns an empty string when written, else the message to show; on failure no
// file is left at path.
QString ExportSymbol(const ExportedSymbol& symbol, const QString& path);

}  // namespace platform
