// The drawing surface the symbol engines paint on, and the font they borrow.
// Engines see only these few operations, so the same engine code serves a screen
// bitmap, a printer page or a recording canvas in the tests.
#pragma once

#include <cstdint>
#include <string>

namespace engines {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

enum FontStyle : unsigned { fsNone = 0, fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Size is in points; the layout arithmetic also takes it as a pixel count.
struct Font {
    std::string face = "MS Sans Serif";
    int size = 8;
    unsigned style = fsNone;
    Rgb color = kBlack;
    friend bool operator==(const Font&, const Font&) = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void SetBrushColor(Rgb color) = 0;
    virtual void SetFont(const Font& font) = 0;
    virtual int FontSize() const = 0;
    // Fills left/top inclusive, right/bottom exclusive with the brush colour.
    virtual void FillRect(int left, int top, int right, int bottom) = 0;
    // Writes text with its top-left corner at x, y on an opaque box of the brush
    // colour. Returns false when the text could not be written.
    virtual bool TextOut(int x, int y, const std::string& text) = 0;
};

}  // namespace engines
