// The engines' Canvas on a QPainter, so the same engine paints a screen bitmap or a
// printer page. Text is drawn without anti-aliasing: the picture stays pure
// black and white wherever the user has not chosen colours.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <functional>
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

// What an image canvas painted, kept for checks of the finished picture: every
// rectangle filled in a colour other than white, as asked (it may reach beyond the
// picture), and every text with the box it was drawn as.
struct DrawingLog {
    struct Text {
        std::string text;
        QPoint at;     // top-left corner of the box
        QImage drawn;  // the box in its colour with the glyphs on it
        QRgb box;      // the box colour: every other pixel of drawn is a glyph's
        QRect ink;     // the glyphs' bounding rectangle in the picture; null when blank
    };
    std::vector<QRect> bars;
    std::vector<Text> texts;
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
class ImageCanvas : private PainterHolder, public PainterCanvas {
public:
    explicit ImageCanvas(QImage& image);
    ~ImageCanvas() override;
    // Keeps what is painted from now on in log, until set to null. Only 32-bit pictures,
    // which every build makes, are logged.
    void SetLog(DrawingLog* log) { log_ = log; }
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
        int left = 0, top = 0, right = 0, bottom = 0;
        QRgb color = 0;
        bool active = false;
    };

    QImage& image_;
    QRgb brushPixel_ = qRgb(255, 255, 255);
    engines::Font textFont_;
    Span pending_;
    DrawingLog* log_ = nullptr;
};

}  // namespace platform
