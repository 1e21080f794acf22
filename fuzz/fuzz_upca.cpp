// UPC-A: eleven digits become 95 modules of '0' and '1' with the start, centre and end
// guards, six set A groups left and six set C groups right that read back as the
// message and its check digit, which Message then ends with; a non-digit is refused as
// not an integer and another length gives nothing, both leaving Message as it was.
#include "bars.h"
#include "decode.h"
#include "engines/Tupc_a_barunit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = fuzz::Message(in, 11);
    engines::Tupc_a engine;
    engine.SetMessage(text);
    std::string modules;
    try {
        modules = engine.Encode(text);
    } catch (const engines::ConvertError&) {
        FUZZ_CHECK(text.size() == 11 && !fuzz::AllDigits(text));
        FUZZ_CHECK(engine.Message() == text);
    }
    if (text.size() != 11) FUZZ_CHECK(modules.empty() && engine.Message() == text);
    if (text.size() == 11 && fuzz::AllDigits(text)) {
        FUZZ_CHECK(modules.size() == 95 && fuzz::OnlyOf(modules, "01"));
        FUZZ_CHECK(modules.substr(0, 3) == "101" && modules.substr(45, 5) == "01010" && modules.substr(92) == "101");
        const std::string full = text + fuzz::ModTenCheck(text);
        FUZZ_CHECK(engine.Message() == full);
        std::string sets, digits;
        fuzz::ReadGroups(modules, 3, 6, 0, sets, digits);
        fuzz::ReadGroups(modules, 50, 6, 0, sets, digits);
        FUZZ_CHECK(sets == "AAAAAACCCCCC" && digits == full);
    }
    fuzz::CheckBarLayout<engines::Tupc_a>(in, text, 95);
    return 0;
}
