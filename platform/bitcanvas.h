// A canvas that paints into 1-bit rows, for writing black-and-white symbols in bulk:
// bars become bit masks, and each text is the same picture the image canvas copies in
// (drawn once through Qt), kept here as bits. What it paints is, pixel for pixel, the
// 1-bit form of what an ImageCanvas paints on a new white picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engines/canvas.h"

namespace platform {

class BitCanvas : public engines::Canvas {
public:
    // Texts are drawn at the resolution a new 32-bit picture has, as on an ImageCanvas.
    BitCanvas();
    // Starts a white picture of width x height pixels, with the brush and font of a new
    // canvas. The memory is kept from one picture to the next.
    void Reset(int width, int height);

    // False once a pixel was painted in a colour other than black or white: the rows
    // then do not hold the picture, which must be drawn in colour instead.
    bool Monochrome() const { return monochrome_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Row y starts at Bits() + y * Stride(); the leftmost pixel is the top bit, 1 is
    // black, and the bits after the last pixel are 0. Valid until the next painting.
    std::size_t Stride() const { return stride_; }
    const std::uint8_t* Bits();

    void SetBrushColor(engines::Rgb color) override { brush_ = color; }
    void SetFont(const engines::Font& font) override { font_ = font; }
    int FontSize() const override { return font_.size; }
    void FillRect(int left, int top, int right, int bottom) override;
    bool TextOut(int x, int y, const std::string& text) override;

private:
    // A drawn text: rows of bits as in the picture, each with a spare byte at its end.
    struct Glyphs {
        engines::Font font;
        engines::Rgb box;
        std::string text;
        int width = 0, height = 0;
        std::size_t stride = 0;
        bool monochrome = true;
        std::vector<std::uint8_t> bits;
    };
    // One painting, clipped to the picture: a fill in black or white, or a text.
    struct Paint {
        int left, top, right, bottom;
        bool black;
        int glyphs;  // index in texts_, or -1 for a fill
        int x, y;    // a text's top-left corner
    };
    int DrawnText(const std::string& text);
    void Render();
    void PaintRow(int y, const std::vector<int>& paints);

    int textDpi_;
    int width_ = 0, height_ = 0;
    std::size_t stride_ = 0;
    engines::Rgb brush_ = engines::kWhite;
    engines::Font font_;
    bool monochrome_ = true;
    // Paintings are gathered and the rows made at the end: rows between the edges of
    // paintings repeat the one above, so only a few dozen rows are painted.
    std::vector<Paint> paints_;
    bool rendered_ = false;
    std::vector<std::uint8_t> bits_, edges_;
    std::vector<int> active_;
    std::vector<Glyphs> texts_;
};

}  // namespace platform
