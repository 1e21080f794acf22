// The 2- and 5-digit add-on: "1011", then the digits in sets A and B with "01" between
// them, reading back as the digits; the sets spell the two digits' value modulo 4, or
// the five digits' check value (weights 3 and 9). Another length gives "1011" alone and
// a non-digit is refused as not an integer.
#include <fuzzer/FuzzedDataProvider.h>

#include "check.h"
#include "decode.h"
#include "engines/numbersets.h"
#include "recorder.h"

namespace {

// By the value modulo 4; O odd (set A), E even (set B).
constexpr std::string_view kTwoDigitParity[4] = {"OO", "OE", "EO", "EE"};
// By the check value.
constexpr std::string_view kFiveDigitParity[10] = {"EEOOO", "EOEOO", "EOOEO", "EOOOE", "OEEOO",
                                                   "OOEEO", "OOOEE", "OEOEO", "OEOOE", "OOEOE"};

std::string ExpectedParity(const std::string& d)
{
    if (d.size() == 2) return std::string(kTwoDigitParity[((d[0] - '0') * 10 + (d[1] - '0')) % 4]);
    int sum = 0;
    for (std::size_t i = 0; i < 5; ++i) sum += (i % 2 == 0 ? 3 : 9) * (d[i] - '0');
    return std::string(kFiveDigitParity[sum % 10]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::size_t digits = in.ConsumeBool() ? 2 : 5;
    const std::string text = fuzz::Message(in, digits);
    std::string modules;
    try {
        modules = engines::EncodeSupplemental(text);
    } catch (const engines::ConvertError& e) {
        FUZZ_CHECK((text.size() == 2 || text.size() == 5) && !fuzz::AllDigits(text));
        // The text named is the whole add-on or the one character refused.
        const std::string said = e.what();
        bool named = said == "'" + text + "' is not a valid integer value";
        for (char c : text) named = named || said == std::string("'") + c + "' is not a valid integer value";
        FUZZ_CHECK(named || text.find('\0') != std::string::npos);
        return 0;
    }
    if (text.size() != 2 && text.size() != 5) {
        FUZZ_CHECK(modules == "1011");
        return 0;
    }
    FUZZ_CHECK(fuzz::AllDigits(text));
    FUZZ_CHECK(modules.size() == 4 + 7 * text.size() + 2 * (text.size() - 1) && fuzz::OnlyOf(modules, "01"));
    FUZZ_CHECK(modules.substr(0, 4) == "1011");
    std::string sets, read;
    fuzz::ReadGroups(modules, 4, text.size(), 2, sets, read);
    for (std::size_t i = 1; i < text.size(); ++i) FUZZ_CHECK(modules.substr(4 + 9 * i - 2, 2) == "01");
    FUZZ_CHECK(read == text);
    std::string parity;
    for (char s : sets) parity += s == 'A' ? 'O' : s == 'B' ? 'E' : '?';
    FUZZ_CHECK(parity == ExpectedParity(text));
    return 0;
}
