// UPC-E: six digits become 51 modules of '0' and '1', the start guard, six groups of
// sets A and B that read back as the message, and the six-module end guard; the sets
// spell the check digit of the UPC-A message the six digits stand for, expanded here
// by the published zero-suppression rule. A non-digit is refused as not an integer.
#include "bars.h"
#include "decode.h"
#include "engines/Tupce_unit.h"

namespace {

// The UPC-A message (number system 0) that six UPC-E digits stand for.
std::string Expand(const std::string& d)
{
    switch (d[5]) {
    case '0':
    case '1':
    case '2': return "0" + d.substr(0, 2) + d[5] + "0000" + d.substr(2, 3);
    case '3': return "0" + d.substr(0, 3) + "00000" + d.substr(3, 2);
    case '4': return "0" + d.substr(0, 4) + "00000" + d[4];
    default: return "0" + d.substr(0, 5) + "0000" + d[5];
    }
}

// Number system 0: the parities of the six digits by the check digit, O odd (set A),
// E even (set B).
constexpr std::string_view kParity[10] = {"EEEOOO", "EEOEOO", "EEOOEO", "EEOOOE", "EOEEOO",
                                          "EOOEEO", "EOOOEE", "EOEOEO", "EOEOOE", "EOOEOE"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = fuzz::Message(in, 6);
    engines::Tupce engine;
    engine.SetMessage(text);
    std::string modules, check;
    try {
        check = engine.ExpandToUpcA();
        modules = engine.Encode(text);
    } catch (const engines::ConvertError&) {
        FUZZ_CHECK(text.size() >= 6 && !fuzz::AllDigits(text.substr(0, 6)));
    }
    FUZZ_CHECK(engine.Message() == text);
    if (text.size() != 6) FUZZ_CHECK(modules.empty());
    if (text.size() == 6 && fuzz::AllDigits(text)) {
        FUZZ_CHECK(check.size() == 1 && check[0] == fuzz::ModTenCheck(Expand(text)));
        FUZZ_CHECK(modules.size() == 51 && fuzz::OnlyOf(modules, "01"));
        FUZZ_CHECK(modules.substr(0, 3) == "101" && modules.substr(45) == "010101");
        std::string sets, digits;
        fuzz::ReadGroups(modules, 3, 6, 0, sets, digits);
        FUZZ_CHECK(digits == text);
        std::string parity;
        for (char s : sets) parity += s == 'A' ? 'O' : s == 'B' ? 'E' : '?';
        FUZZ_CHECK(parity == kParity[check[0] - '0']);
    }
    fuzz::CheckBarLayout<engines::Tupce>(in, text, 51);
    return 0;
}
