// A symbol as a value: every call its engine made on a canvas, in order, made once when
// the build is prepared and replayed by every output (the preview, the 1-bit batch
// picture, SVG, PDF, both prints); and the facts the build path reads from it instead
// of painting again to find them out.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engines/canvas.h"

namespace symbols {

// Where the filled rectangles of a symbol (its bars, and in Code 39 its spaces) fall.
struct FillExtent {
    int count = 0;
    bool narrow = false, low = false;  // one is less than a pixel wide or high
    int minLeft = INT_MAX, maxRight = INT_MIN, minTop = INT_MAX;
    int shortestBottom = INT_MAX;  // the bottom edge of the one that ends highest
};

class Recording {
public:
    struct Fill {
        int left, top, right, bottom;
        engines::Rgb color;
    };
    struct Text {
        int x, y;
        std::string text;
        engines::Rgb box;
        engines::Font font;
        // A canvas that refuses it is told as the engine tells it ("Error Code is ...").
        bool toldWhenRefused = false;
    };

    // The calls on the canvas in the order the engine made them.
    void Replay(engines::Canvas& canvas) const;
    const std::vector<Fill>& Fills() const { return fills_; }
    const std::vector<Text>& Texts() const { return texts_; }
    const FillExtent& Extent() const { return extent_; }
    // The first text is told when a canvas refuses it, as the Code 39 engine tells its comment.
    void TellFirstTextRefused();

private:
    friend class Recorder;
    enum class Call : std::uint8_t { Brush, Font, Fill, Text };
    struct Step {
        Call call;
        std::uint32_t index;  // into brushes_, fonts_, fills_ or texts_
    };
    std::vector<Step> steps_;
    std::vector<engines::Rgb> brushes_;
    std::vector<engines::Font> fonts_;
    std::vector<Fill> fills_;
    std::vector<Text> texts_;
    FillExtent extent_;
};

// The canvas an engine draws on once to make a Recording. It answers as every other
// canvas does: white brush and the default font until told otherwise.
class Recorder : public engines::Canvas {
public:
    void SetBrushColor(engines::Rgb color) override;
    void SetFont(const engines::Font& font) override;
    int FontSize() const override { return font_.size; }
    void FillRect(int left, int top, int right, int bottom) override;
    bool TextOut(int x, int y, const std::string& text) override;
    std::shared_ptr<Recording> Finish();

private:
    std::shared_ptr<Recording> recording_ = std::make_shared<Recording>();
    engines::Rgb brush_ = engines::kWhite;
    engines::Font font_;
};

}  // namespace symbols
