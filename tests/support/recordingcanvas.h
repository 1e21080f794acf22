// A canvas that keeps every rectangle and text an engine paints, so a test can
// assert geometry to the pixel without a display.
#pragma once

#include <string>
#include <vector>

#include "engines/canvas.h"

struct RecordedRect {
    int left, top, right, bottom;
    engines::Rgb color;
};

struct RecordedText {
    int x, y;
    std::string text;
    engines::Rgb brush;
};

class RecordingCanvas : public engines::Canvas {
public:
    std::vector<RecordedRect> rects;
    std::vector<RecordedText> texts;
    engines::Font font;
    bool fontSet = false;
    bool failText = false;

    void SetBrushColor(engines::Rgb color) override { brush_ = color; }
    void SetFont(const engines::Font& f) override
    {
        font = f;
        fontSet = true;
    }
    int FontSize() const override { return font.size; }
    void FillRect(int left, int top, int right, int bottom) override { rects.push_back({left, top, right, bottom, brush_}); }
    bool TextOut(int x, int y, const std::string& text) override
    {
        if (failText) return false;
        texts.push_back({x, y, text, brush_});
        return true;
    }

    std::vector<RecordedRect> Dark() const { return OfColor(engines::kBlack); }
    std::vector<RecordedRect> OfColor(engines::Rgb color) const
    {
        std::vector<RecordedRect> out;
        for (const auto& r : rects)
            if (r.color == color) out.push_back(r);
        return out;
    }

private:
    engines::Rgb brush_ = engines::kWhite;
};

// The modules that bars cover from `left`, as '1' and '0': each bar must be one module
// wide and on the module grid.
inline std::string ModulesOf(const std::vector<RecordedRect>& bars, int left, int moduleWidth, int count)
{
    std::string modules(static_cast<std::size_t>(count), '0');
    for (const auto& r : bars) {
        if (moduleWidth <= 0 || r.right - r.left != moduleWidth || (r.left - left) % moduleWidth != 0)
            return "uneven bar";
        const int module = (r.left - left) / moduleWidth;
        if (r.left < left || module >= count) return "bar outside";
        modules[static_cast<std::size_t>(module)] = '1';
    }
    return modules;
}
