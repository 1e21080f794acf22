// The part of the UPC-A, EAN-8 and UPC-E targets that the three share: the bar symbol
// base laid out from any lengths, page values and font size, and painted with its
// add-on, never reading a side beyond kMaxPixels but as kTooLarge, never painting a
// rectangle out of the int range.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include "check.h"
#include "engines/barproperty.h"
#include "engines/environment.h"
#include "engines/errors.h"
#include "recorder.h"

namespace fuzz {

template <class Engine>
void CheckBarLayout(FuzzedDataProvider& in, const std::string& message, int modules)
{
    const int dpi = in.ConsumeIntegralInRange(-10, 2400);
    engines::SetScreenResolutionSource([dpi] { return dpi; });
    engines::Font font;
    font.size = in.ConsumeIntegralInRange(-10, 600);
    Recorder canvas;
    Engine engine;
    engine.ReadResolution();
    engine.SetCanvas(&canvas);
    engine.SetFont(&font);
    engine.Supplemental = in.ConsumeBool() ? Message(in, in.ConsumeBool() ? 2 : 5) : in.ConsumeRandomLengthString(6);
    const std::size_t addOn = engine.Supplemental.size();
    engine.SetModuleCount(modules + (addOn == 2 ? 32 : addOn == 5 ? 59 : 0));
    engine.SetModuleWidth(in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 40) : in.ConsumeIntegral<int>());
    engine.SetBarHeight(in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 400) : in.ConsumeIntegral<int>());
    engine.SetMessage(message);
    engine.SetLeftSpace(Length(in) * 1000);
    engine.SetTopSpace(Length(in) * 1000);
    engine.SetRightSpace(Length(in) * 1000);
    engine.SetDownSpace(Length(in) * 1000);
    engine.SetInterval(Length(in) * 1000);
    for (int side : {engine.SymbolWidth(), engine.SymbolHeight()})
        FUZZ_CHECK(side == engines::Tbar::kTooLarge || (side >= -engines::kMaxPixels && side <= engines::kMaxPixels));
    engine.SetComment(in.ConsumeBool() ? "comment" : "");
    try {
        engine.Draw();
        engine.DrawSupplemental();
    } catch (const engines::ConvertError&) {
        FUZZ_CHECK(!AllDigits(message) || !AllDigits(engine.Supplemental));
    }
}

}  // namespace fuzz
