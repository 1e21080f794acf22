// Code 39: a text with a character outside the Code 39 set has no width string; any
// other encodes into start, one block per character and stop, each block nine elements
// (bars and spaces alternating from a bar, three of them wide) and one narrow space
// between blocks; a character gives the same block wherever it stands, in either
// letter case, and different characters give different blocks. The engine accepts or
// refuses any parameters, and what it accepts it paints inside the picture it sized.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <map>

#include "check.h"
#include "engines/c39unit.h"
#include "engines/environment.h"
#include "recorder.h"

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string BlockOf(const std::string& widths, std::size_t index) { return widths.substr(10 * index, 9); }

void CheckWidths(const std::string& text)
{
    using engines::Tc39;
    const std::string widths = Tc39::EncodeWidths(text);
    const std::string bad = Tc39::UnencodableChars(text);
    if (!bad.empty()) {
        FUZZ_CHECK(widths == Tc39::kInvalid);
        return;
    }
    FUZZ_CHECK(widths.size() == 10 * text.size() + 19);
    for (std::size_t i = 0; i < widths.size(); ++i)
        FUZZ_CHECK(i % 2 == 0 ? (widths[i] == '2' || widths[i] == '8') : (widths[i] == '4' || widths[i] == '6'));
    std::map<std::string, char> blocks;
    for (std::size_t k = 0; k < text.size() + 2; ++k) {
        const std::string block = BlockOf(widths, k);
        FUZZ_CHECK(std::count(block.begin(), block.end(), '6') + std::count(block.begin(), block.end(), '8') == 3);
        if (k + 1 < text.size() + 2) FUZZ_CHECK(widths[10 * k + 9] == '4');
        const char c = k == 0 || k == text.size() + 1 ? '*' : Upper(text[k - 1]);
        const auto [at, inserted] = blocks.emplace(block, c);
        FUZZ_CHECK(at->second == c);
        if (k > 0 && k <= text.size()) FUZZ_CHECK(BlockOf(Tc39::EncodeWidths(std::string(1, text[k - 1])), 1) == block);
    }
}

void CheckPainting(FuzzedDataProvider& in, const std::string& message)
{
    const int screen = in.ConsumeIntegralInRange(-10, 2400);
    engines::SetScreenResolutionSource([screen] { return screen; });
    engines::Font font;
    font.size = in.ConsumeIntegralInRange(-10, 600);
    engines::Tc39 engine;
    const int resolution = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange(-10, 2400);
    const double interval = fuzz::Length(in), height = fuzz::Length(in), narrow = fuzz::Length(in) / 100;
    const double ratio = in.ConsumeFloatingPointInRange(1.5, 3.5);
    const double left = fuzz::Length(in), right = fuzz::Length(in), top = fuzz::Length(in), down = fuzz::Length(in);
    const std::string comment = in.ConsumeBool() ? "comment" : "";
    if (engine.SetParams(font, resolution, interval, height, narrow, ratio, left, right, comment, message, top, down) != 0)
        return;
    const int width = engine.SymbolWidth(), heightPx = engine.SymbolHeight();
    fuzz::Recorder canvas;
    // The editor refuses a message with characters outside the set before the engine
    // sees it; the engine still paints one without a fault, but sizes it to no rule.
    if (engines::Tc39::UnencodableChars(message).empty()) {
        FUZZ_CHECK(width >= 0 && heightPx >= 0);
        // As the editor does: nothing is drawn into a picture it would not make.
        if (width > engines::kMaxPixels || heightPx > engines::kMaxPixels || width == 0 || heightPx == 0) return;
        canvas.width = width;
        canvas.height = heightPx;
    }
    try {
        engine.Draw(canvas);
    } catch (const engines::LayoutError&) {
        FUZZ_CHECK(message.size() < 2 || (message.size() < 5 && static_cast<unsigned char>(message[0]) >= 0x80));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(64);
    CheckWidths(text);
    CheckPainting(in, text);
    return 0;
}
