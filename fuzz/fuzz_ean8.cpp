// EAN-8: seven digits become 67 modules of '0' and '1' with the start, centre and end
// guards, four set A groups left and four set C groups right that read back as the
// message and its check digit, which Message then ends with; a non-digit is refused as
// not an integer and another length gives nothing, both leaving Message as it was.
#include "bars.h"
#include "decode.h"
#include "engines/Tean8unit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = fuzz::Message(in, 7);
    engines::Tean8 engine;
    engine.SetMessage(text);
    std::string modules;
    try {
        modules = engine.Encode(text);
    } catch (const engines::ConvertError&) {
        FUZZ_CHECK(text.size() == 7 && !fuzz::AllDigits(text));
        FUZZ_CHECK(engine.Message() == text);
    }
    if (text.size() != 7) FUZZ_CHECK(modules.empty() && engine.Message() == text);
    if (text.size() == 7 && fuzz::AllDigits(text)) {
        FUZZ_CHECK(modules.size() == 67 && fuzz::OnlyOf(modules, "01"));
        FUZZ_CHECK(modules.substr(0, 3) == "101" && modules.substr(31, 5) == "01010" && modules.substr(64) == "101");
        const std::string full = text + fuzz::ModTenCheck(text);
        FUZZ_CHECK(engine.Message() == full);
        std::string sets, digits;
        fuzz::ReadGroups(modules, 3, 4, 0, sets, digits);
        fuzz::ReadGroups(modules, 36, 4, 0, sets, digits);
        FUZZ_CHECK(sets == "AAAACCCC" && digits == full);
    }
    fuzz::CheckBarLayout<engines::Tean8>(in, text, 67);
    return 0;
}
