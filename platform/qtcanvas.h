// The engines' Canvas on a QPainter, so the same engine paints a screen bitmap or a
// printer page. Text is drawn without anti-aliasing: the picture stays pure
// black and white wherever the user has not chosen colours.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "engines/canvas.h"
#include "platform/fonts.h"
#include "platform/whiteimage.h"

namespace platform {


class PainterCanvas : public engines::Canvas {
public:
    // Text is drawn at the device's resolution, or at textDpi where it is above 0.
    explicit PainterCanvas(QPainter& painter, int textDpi = 0);
    void SetBrushColor(engines::Rgb color) override;
    void SetFont(const engines::Font& font) override;
    int FontSize() const override;
    void FillRect(int left, int top, int right, int bottom) override;
    bool TextOut(int x, int y, const std::string& text) override;

private:
    QPainter& painter_;
    int textDpi_;
    QColor brush_ = Qt::white;
    engines::Font font_;
};

struct PainterHolder {
    explicit PainterHolder(QImage& image) : painter(&image) {}
    QPainter painter;
};

// A canvas over an image, open for as long as the object lives. The painter is a
// base so that it exists before the canvas that uses it.
//
// A build paints some thirty bars and a dozen one-digit texts; through QPainter each
// bar costs a microsecond and each text several, most of it laying out the same few
// strings again. Here bars are written straight into the pixels, and each text is
// drawn once into a small picture that is kept and copied in at every later use.
// Bars of one height (a Code 39 symbol's bars and spaces, some hundred of them) are
// written into their first row and that row copied into the others.
class ImageCanvas : private PainterHolder, public PainterCanvas {
public:
    explicit ImageCanvas(QImage& image);
    ~ImageCanvas() override;
    void SetBrushColor(engines::Rgb color) override;
    void SetFont(const engines::Font& font) override;
    int FontSize() const override;
    void FillRect(int left, int top, int right, int bottom) override;
    bool TextOut(int x, int y, const std::string& text) override;

private:
    // Whether the pixels are written directly: 32-bit pictures, as every build makes.
    bool Direct() const;
    void Flush();

    struct Span {
        int left, right;
        QRgb color;
    };

    QImage& image_;
    QRgb brushPixel_ = qRgb(255, 255, 255);
    engines::Font textFont_;
    // The fills not yet written, in order, all from bandTop_ to bandBottom_ (excluded).
    std::vector<Span> band_;
    int bandTop_ = 0, bandBottom_ = 0;
};

}  // namespace platform
