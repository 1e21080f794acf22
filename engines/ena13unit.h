// EAN-13 engine: computes the check digit of a 12-digit message, builds the 95-module
// pattern with its guard bars and paints bars, human-readable digits, comment line and
// the 2- or 5-digit add-on on a canvas. One engine serves one build.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "canvas.h"

namespace engines {

class TENA13 {
public:
    // Module letters beyond '1' and '0': guard modules, drawn longer than data bars.
    static constexpr char kGuardBar = 'b';
    static constexpr char kGuardSpace = 'a';
    static constexpr int kModules = 95;

    TENA13();

    void SetComment(const std::string& text) { comment = text; }
    void SetMessage(const std::string& text) { message = text; }
    void SetSupplemental(const std::string& text) { supplemental = text; }
    void SetCodeHeight(double inches) { codeHeight = inches; }
    void SetCodeWidth(double inches) { codeWidth = inches; }
    void SetResolution(int dpi) { resolution = dpi; }
    void SetCanvas(Canvas* target) { canvas = target; }
    void SetCommentX(double inches) { commentX = inches; }
    void SetCommentY(double inches) { commentY = inches; }
    void SetFont(const Font* textFont) { font = textFont; }
    void SetIntervalSpace(double inches) { intervalSpace = inches; }
    void SetLeftMargin(double inches) { leftMargin = inches; }
    void SetRightMargin(double inches) { rightMargin = inches; }
    void SetTopMargin(double inches) { topMargin = inches; }
    void SetBottomMargin(double inches) { bottomMargin = inches; }
    void SetBarColor(Rgb color) { barColor = color; }

    const std::string& Comment() const { return comment; }
    const std::string& Message() const { return message; }
    const std::string& Supplemental() const { return supplemental; }
    double CodeHeight() const { return codeHeight; }
    double CodeWidth() const { return codeWidth; }
    int Resolution() const { return resolution; }
    double CommentX() const { return commentX; }
    double CommentY() const { return commentY; }
    double IntervalSpace() const { return intervalSpace; }
    double LeftMargin() const { return leftMargin; }
    double RightMargin() const { return rightMargin; }
    double TopMargin() const { return topMargin; }
    double BottomMargin() const { return bottomMargin; }
    Rgb BarColor() const { return barColor; }

    // 0 to 9; -1 when the text is not 12 characters long, -2 when one is not a digit.
    static int CheckDigit(const std::string& text);
    // The 95-module string of a 12-digit message; the start guard alone when the
    // first character is no digit, the empty text for any other invalid message.
    std::string Encode(const std::string& text) const;
    static std::string EncodeSupplemental(const std::string& text);

    // Picture size in pixels: the symbol with its margins and, for an add-on of 2 or
    // 5 characters, the add-on's strip (SupplementalWidth, part of SymbolWidth).
    // A side reads INT32_MAX, too large to lay out, when it or any length of the
    // engine at Resolution (or the font size) is beyond kMaxPixels or no number. The
    // drawing operations paint nothing when such a length, or their origin, is.
    int SymbolWidth() const;
    int SymbolHeight() const;
    int SupplementalWidth() const;

    // Assigns Font to the canvas, which Draw and DrawSupplemental then write with,
    // and writes the comment 10 pixels left of CommentX.
    void DrawComment() const;
    // Bars and digits with the top-left corner of the bars at (x, y) inches. Paints
    // nothing for a message that Encode does not turn into 95 modules.
    void Draw(double x, double y) const;
    // The add-on at (x, y) pixels, with its own module width; paints nothing unless
    // Supplemental holds 2 or 5 characters, and raises ConvertError for a non-digit.
    void DrawSupplemental(int x, int y) const;

private:
    bool LengthsFit() const;
    int Pixels(double inches) const;
    int FontPixels() const { return font ? font->size : 0; }

    std::string comment;
    std::string message;
    std::string supplemental;
    double codeHeight = 0;
    double codeWidth = 0;
    std::int32_t resolution = 0;
    Canvas* canvas = nullptr;
    double commentX = 0;
    double commentY = 0;
    const Font* font = nullptr;
    double intervalSpace = 0;
    double leftMargin = 0;
    double rightMargin = 0;
    double topMargin = 0;
    double bottomMargin = 0;
    Rgb barColor;
    // Sets A, B and C for digits 0 to 9 at 0-9, 10-19 and 20-29, then the start,
    // centre and end guards written with guard letters.
    std::array<std::string, 33> patterns;
};

}  // namespace engines
