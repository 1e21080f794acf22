// Writes a built symbol to a file at its true size: PNG from the picture itself,
// SVG and PDF by letting the engine paint again on a vector surface. Every file is
// written to a temporary file renamed into place, so a failed write leaves nothing behind.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "engines/canvas.h"

namespace platform {

// Paints the symbol again, in the picture's pixel coordinates, on any canvas.
using SymbolPainter = std::function<void(engines::Canvas&)>;

struct ExportedSymbol {
    QImage picture;      // as built, pixel for pixel
    int resolution = 0;  // dots per inch the picture was drawn at
    SymbolPainter paint;
};

// The picture at the resolution it was drawn at: dots per metre on the image, which
// PNG writes as its physical-size chunk.
void SetResolution(QImage& picture, int dpi);
int DotsPerMetre(int dpi);

// The picture to write as PNG: 1-bit where it holds only black and white.
QImage PngPicture(const QImage& picture);

// Writes symbol to path, the format chosen by its suffix (png, svg or pdf, any case).
// Returns an empty string when written, else the message to show; on failure no
// file is left at path.
QString ExportSymbol(const ExportedSymbol& symbol, const QString& path);

// Writes data as the file path, for a batch that writes many small files. A new file
// is written in place and removed again when the write fails; an existing one is replaced
// only once all of data is written beside it. Returns what ExportSymbol returns.
QString SaveBytes(const QString& path, std::string_view data);

// Makes SIGINT, SIGTERM and SIGHUP end the program only once no file is half written
// by SaveBytes: the signal then takes its default course, as soon as the files being
// written are whole. For a program that writes many files and may be interrupted.
void LetFilesFinishBeforeInterrupts();

// The SVG document of a symbol of width x height pixels at dpi, painted by paint.
QByteArray SvgDocument(int width, int height, int dpi, const SymbolPainter& paint);

// An engines::Canvas that writes SVG elements: filled rectangles and text as text,
// in pixel units of the picture.
class SvgCanvas : public engines::Canvas {
public:
    explicit SvgCanvas(int dpi) : dpi_(dpi) {}
    void SetBrushColor(engines::Rgb color) override { brush_ = color; }
    void SetFont(const engines::Font& font) override { font_ = font; }
    int FontSize() const override { return font_.size; }
    void FillRect(int left, int top, int right, int bottom) override;
    bool TextOut(int x, int y, const std::string& text) override;
    const QByteArray& Body() const { return body_; }

private:
    int dpi_;
    engines::Rgb brush_ = engines::kWhite;
    engines::Font font_;
    QByteArray body_;
};

}  // namespace platform
