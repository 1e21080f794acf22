// The check shared by EAN-8 and UPC-A: n digits become 7 (n + 1) + 11 modules of '0'
// and '1' with the start, centre and end guards, (n + 1) / 2 set A groups left and as
// many set C groups right that read back as the message and its check digit, which
// Message then ends with; a non-digit is refused as not an integer and another length
// gives nothing, both leaving Message as it was.
#pragma once
#include "bars.h"
#include "decode.h"

namespace fuzz {

template <class Engine>
int CheckSetAThenSetC(const std::uint8_t* data, std::size_t size, std::size_t digits)
{
    const std::size_t half = (digits + 1) / 2;
    const std::size_t total = 7 * (digits + 1) + 11;
    FuzzedDataProvider in(data, size);
    const std::string text = Message(in, digits);
    Engine engine;
    engine.SetMessage(text);
    std::string modules;
    try {
        modules = engine.Encode(text);
    } catch (const engines::ConvertError&) {
        FUZZ_CHECK(text.size() == digits && !AllDigits(text));
        FUZZ_CHECK(engine.Message() == text);
    }
    if (text.size() != digits) FUZZ_CHECK(modules.empty() && engine.Message() == text);
    if (text.size() == digits && AllDigits(text)) {
        const std::size_t centre = 3 + 7 * half;
        FUZZ_CHECK(modules.size() == total && OnlyOf(modules, "01"));
        FUZZ_CHECK(modules.substr(0, 3) == "101" && modules.substr(centre, 5) == "01010" &&
                   modules.substr(total - 3) == "101");
        const std::string full = text + ModTenCheck(text);
        FUZZ_CHECK(engine.Message() == full);
        std::string sets, digitsRead;
        ReadGroups(modules, 3, half, 0, sets, digitsRead);
        ReadGroups(modules, centre + 5, half, 0, sets, digitsRead);
        FUZZ_CHECK(sets == std::string(half, 'A') + std::string(half, 'C') && digitsRead == full);
    }
    CheckBarLayout<Engine>(in, text, int(total));
    return 0;
}

}  // namespace fuzz
