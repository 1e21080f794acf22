// EAN-13: a message of twelve digits becomes 95 modules of '0', '1' and the guard
// letters, whose groups read back as the twelve digits and the check digit, the
// leading digit carried by the number sets of the left half; any other message gives
// the start guard alone or nothing. The engine lays out and paints any lengths without
// overflow, and any add-on either paints or is refused as not an integer.
#include <fuzzer/FuzzedDataProvider.h>

#include "check.h"
#include "decode.h"
#include "engines/ena13unit.h"
#include "engines/errors.h"
#include "engines/rounding.h"
#include "recorder.h"

namespace {

// Number sets of EAN-13 digits 2 to 7 by the leading digit, as the standard tables them.
constexpr std::string_view kLeading[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                           "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

void CheckEncoding(const std::string& text)
{
    using engines::TENA13;
    const TENA13 engine;
    const std::string modules = engine.Encode(text);
    const int check = TENA13::CheckDigit(text);
    if (text.size() != 12) FUZZ_CHECK(check == -1);
    if (text.size() != 12 || !fuzz::AllDigits(text)) {
        const bool startGuardAlone = text.empty() || text[0] < '0' || text[0] > '9';
        FUZZ_CHECK(modules == (startGuardAlone ? "bab" : ""));
        if (text.size() == 12) FUZZ_CHECK(check == -2);
        return;
    }
    FUZZ_CHECK(check == fuzz::ModTenCheck(text) - '0');
    FUZZ_CHECK(modules.size() == 95);
    FUZZ_CHECK(fuzz::OnlyOf(modules, "01ab"));
    FUZZ_CHECK(modules.substr(0, 3) == "bab" && modules.substr(45, 5) == "ababa" && modules.substr(92, 3) == "bab");
    FUZZ_CHECK(fuzz::OnlyOf(modules.substr(3, 42), "01") && fuzz::OnlyOf(modules.substr(50, 42), "01"));

    std::string sets, digits;
    fuzz::ReadGroups(modules, 3, 6, 0, sets, digits);
    fuzz::ReadGroups(modules, 50, 6, 0, sets, digits);
    FUZZ_CHECK(sets.substr(6) == "CCCCCC");
    char leading = '?';
    for (int d = 0; d < 10; ++d)
        if (sets.substr(0, 6) == kLeading[d]) leading = static_cast<char>('0' + d);
    FUZZ_CHECK(leading + digits == text + static_cast<char>('0' + check));
}

void CheckPainting(FuzzedDataProvider& in, const std::string& message)
{
    engines::TENA13 engine;
    engines::Font font;
    font.size = in.ConsumeIntegralInRange(-10, 600);
    fuzz::Recorder canvas;
    engine.SetFont(&font);
    engine.SetCanvas(&canvas);
    engine.SetMessage(message);
    engine.SetComment(in.ConsumeBool() ? "comment" : "");
    engine.SetSupplemental(in.ConsumeRandomLengthString(6));
    engine.SetResolution(in.ConsumeIntegralInRange(-10, 2400));
    engine.SetCodeHeight(fuzz::Length(in));
    engine.SetCodeWidth(fuzz::Length(in));
    engine.SetLeftMargin(fuzz::Length(in));
    engine.SetRightMargin(fuzz::Length(in));
    engine.SetTopMargin(fuzz::Length(in));
    engine.SetBottomMargin(fuzz::Length(in));
    engine.SetIntervalSpace(fuzz::Length(in));
    engine.SetCommentX(fuzz::Length(in));
    engine.SetCommentY(fuzz::Length(in));
    for (int side : {engine.SymbolWidth(), engine.SymbolHeight()})
        FUZZ_CHECK(side == INT32_MAX || (side >= -engines::kMaxPixels && side <= engines::kMaxPixels));
    engine.DrawComment();
    engine.Draw(fuzz::Length(in), fuzz::Length(in));
    try {
        engine.DrawSupplemental(in.ConsumeIntegral<int>(), in.ConsumeIntegral<int>());
    } catch (const engines::ConvertError&) {
        FUZZ_CHECK(!fuzz::AllDigits(engine.Supplemental()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = fuzz::Message(in, 12);
    CheckEncoding(text);
    CheckPainting(in, text);
    return 0;
}
