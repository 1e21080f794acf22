// Code 39 engine: checks the parameters of one build, encodes the message into bars
// and spaces of two widths and paints comment line, bars and human-readable
// characters on a canvas. One engine serves one build.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "canvas.h"

namespace engines {

// Raised by Draw when the message cannot be laid out (a single character).
class LayoutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Tc39 {
public:
    static inline const std::string kInvalid = "nil";

    int SetParams(const Font& font, int resolution, double interval, double height, double narrowWidth,
                  double ratio, double left, double right, const std::string& comment,
                  const std::string& message, double top, double down);

    static std::string CharPattern(char c);
    static std::string EncodeWidths(const std::string& text);
    // Characters of text (after upper-casing) that have no Code 39 pattern, each once.
    static std::string UnencodableChars(const std::string& text);

    int ElementsWidth(const std::string& widths) const;
    int SymbolWidth() const;
    int SymbolHeight() const;
    void Draw(Canvas& canvas) const;
    void DrawMessageText(const std::string& text, int totalWidth, int firstX, int y, int rightReserve,
                         Canvas& canvas) const;

    int Dpi() const { return dpi; }
    int Narrow() const { return narrow; }
    int Wide() const;

private:
    static int Clamp(std::int64_t pixels);
    int ElementWidth(char code) const;
    int FontPixels() const { return font ? font->size : 0; }

    std::int32_t interval = 0;
    std::int32_t barheight = 0;
    const Font* font = nullptr;
    std::int32_t narrow = 0;
    double natio = 0.0;
    std::int32_t leftspace = 0;
    std::int32_t rightspace = 0;
    std::int32_t topspace = 0;
    std::int32_t downspace = 0;
    std::string comment;
    std::string message;
    std::int32_t dpi = 0;
};

}  // namespace engines
