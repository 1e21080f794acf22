// A canvas that keeps nothing but checks what it is given: every rectangle's corners
// stay within the int range the engines promise (a sum that wrapped round would show
// as a rectangle far off), and, where a picture size is set, inside that picture.
#pragma once

#include "check.h"
#include "engines/canvas.h"
#include "engines/rounding.h"

namespace fuzz {

class Recorder : public engines::Canvas {
public:
    // 0 x 0: no picture to stay inside.
    int width = 0, height = 0;
    int fills = 0;

    void SetBrushColor(engines::Rgb) override {}
    void SetFont(const engines::Font& font) override { size_ = font.size; }
    int FontSize() const override { return size_; }
    void FillRect(int left, int top, int right, int bottom) override
    {
        ++fills;
        constexpr int kFar = 8 * engines::kMaxPixels;
        FUZZ_CHECK(left > -kFar && right < kFar && top > -kFar && bottom < kFar);
        if (width > 0 && right > left && bottom > top)
            FUZZ_CHECK(left >= 0 && top >= 0 && right <= width && bottom <= height);
    }
    bool TextOut(int, int, const std::string&) override { return true; }

private:
    int size_ = 0;
};

}  // namespace fuzz

#include <fuzzer/FuzzedDataProvider.h>
#include <limits>

namespace fuzz {

// A length as pasted text or a settings file can bring it: any double, NaN and the
// infinities included, or one of the sizes people use.
inline double Length(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0: return in.ConsumeFloatingPoint<double>();
    case 1: return in.ConsumeFloatingPointInRange(-1.0, 1.0);
    case 2: {
        constexpr double kOdd[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(), 1e308, -1e308, 1e300, -5};
        return in.PickValueInArray(kOdd);
    }
    default: return in.ConsumeFloatingPointInRange(0.0, 20.0);
    }
}

}  // namespace fuzz

namespace fuzz {

// A message for an encoder of `digits` digits: mostly the right length of digits, then
// with one character of any kind among them, then anything at all.
inline std::string Message(FuzzedDataProvider& in, std::size_t digits)
{
    const int kind = in.ConsumeIntegralInRange(0, 3);
    if (kind == 3) return in.ConsumeRandomLengthString(2 * digits);
    std::string text;
    for (std::size_t i = 0; i < digits; ++i) text += static_cast<char>('0' + in.ConsumeIntegralInRange(0, 9));
    if (kind == 2) text[in.ConsumeIntegralInRange<std::size_t>(0, digits - 1)] = in.ConsumeIntegral<char>();
    return text;
}

}  // namespace fuzz
