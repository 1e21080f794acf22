// GS1 element strings: any text is either refused with EncodeError or parsed into data
// characters that open with FNC1, hold at most 48 more, encode as Code 128, and come
// back the same when the human-readable line (or, when a field holds '(', the same
// elements in square brackets) is parsed again. Every AI in the result is 2 to 4 digits,
// every field has data, and FNC1 follows exactly the fields that need it.
#include <fuzzer/FuzzedDataProvider.h>

#include "check.h"
#include "engines/code128.h"
#include "engines/gs1.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string typed(reinterpret_cast<const char*>(bytes), size);
    engines::Gs1Message message;
    try {
        message = engines::ParseGs1(typed);
    } catch (const engines::EncodeError&) {
        return 0;
    }
    FUZZ_CHECK(!message.elements.empty());
    FUZZ_CHECK(!message.data.empty() && message.data.front() == engines::kFnc1);
    FUZZ_CHECK(message.data.size() - 1 <= static_cast<std::size_t>(engines::kGs1MaxCharacters));

    // The data characters rebuilt from the elements: AI, field, FNC1 where needed.
    std::vector<int> expected{engines::kFnc1};
    std::string text, bracketed;
    bool parenthesis = false;
    for (std::size_t i = 0; i < message.elements.size(); ++i) {
        const auto& e = message.elements[i];
        FUZZ_CHECK(e.ai.size() >= 2 && e.ai.size() <= 4 && fuzz::AllDigits(e.ai));
        FUZZ_CHECK(!e.data.empty());
        expected.insert(expected.end(), e.ai.begin(), e.ai.end());
        expected.insert(expected.end(), e.data.begin(), e.data.end());
        if (i + 1 < message.elements.size() && !engines::HasPredefinedLength(e.ai)) expected.push_back(engines::kFnc1);
        text += "(" + e.ai + ")" + e.data;
        bracketed += "[" + e.ai + "]" + e.data;
        parenthesis = parenthesis || e.data.find('(') != std::string::npos;
    }
    FUZZ_CHECK(message.data == expected);
    FUZZ_CHECK(message.text == text);

    FUZZ_CHECK(engines::ParseGs1(bracketed).data == message.data);
    if (!parenthesis) FUZZ_CHECK(engines::ParseGs1(message.text).data == message.data);

    const auto symbol = engines::EncodeCode128(message.data);
    FUZZ_CHECK(symbol.values.size() >= 4);
    return 0;
}
