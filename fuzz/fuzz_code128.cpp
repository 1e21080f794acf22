// Code 128: any text is either refused with EncodeError, exactly when it is empty or
// holds a byte beyond ASCII, or encoded into a symbol that starts with a start
// character, ends with the stop, carries the right modulo-103 check character, has
// elements of 1 to 4 modules in the patterns of its values (11 modules a character, 13
// for the stop) and reads back to the text. The same holds for data characters with
// FNC1 among them, which are always encoded.
#include <fuzzer/FuzzedDataProvider.h>

#include <optional>
#include <vector>

#include "check.h"
#include "engines/code128.h"

namespace {

using engines::kFnc1;

// The data characters a scanner reads from the values between start and check.
std::optional<std::vector<int>> Read(const std::vector<int>& v)
{
    std::vector<int> out;
    char set = static_cast<char>('A' + v.front() - engines::kCode128StartA);
    const auto inSet = [](char s, int value) { return s == 'A' ? (value < 64 ? value + 32 : value - 64) : value + 32; };
    for (std::size_t i = 1; i + 2 < v.size(); ++i) {
        const int value = v[i];
        if (value == engines::kCode128Fnc1) {
            out.push_back(kFnc1);
        } else if (set == 'C' && value < 100) {
            out.push_back('0' + value / 10);
            out.push_back('0' + value % 10);
        } else if (set != 'C' && value == engines::kCode128Shift) {
            if (i + 3 >= v.size() || v[i + 1] > 95) return std::nullopt;
            out.push_back(inSet(set == 'A' ? 'B' : 'A', v[++i]));
        } else if (value == engines::kCode128CodeC && set != 'C') {
            set = 'C';
        } else if (value == engines::kCode128CodeB && set != 'B') {
            set = 'B';
        } else if (value == engines::kCode128CodeA && set != 'A') {
            set = 'A';
        } else if (set != 'C' && value < 96) {
            out.push_back(inSet(set, value));
        } else {
            return std::nullopt;  // FNC2, FNC3, FNC4 or a value no set has
        }
    }
    return out;
}

void CheckSymbol(const std::vector<int>& data, const engines::Code128Symbol& symbol)
{
    const std::vector<int>& v = symbol.values;
    FUZZ_CHECK(v.size() >= 4);
    FUZZ_CHECK(v.front() >= engines::kCode128StartA && v.front() <= engines::kCode128StartC);
    FUZZ_CHECK(v.back() == engines::kCode128Stop);
    long long sum = v.front();
    for (std::size_t i = 1; i + 2 < v.size(); ++i) {
        FUZZ_CHECK(v[i] >= 0 && v[i] <= 102);
        sum += static_cast<long long>(i) * v[i];
    }
    FUZZ_CHECK(sum % 103 == v[v.size() - 2]);
    // Never longer than one character each plus a switch or shift for each.
    FUZZ_CHECK(v.size() <= 2 * data.size() + 3);

    FUZZ_CHECK(symbol.widths.size() == 6 * (v.size() - 1) + 7);
    int modules = 0;
    std::size_t at = 0;
    for (int value : v)
        for (char w : engines::Code128Pattern(value)) {
            FUZZ_CHECK(at < symbol.widths.size() && symbol.widths[at] == w - '0');
            FUZZ_CHECK(symbol.widths[at] >= 1 && symbol.widths[at] <= 4);
            modules += symbol.widths[at++];
        }
    FUZZ_CHECK(modules == 11 * static_cast<int>(v.size() - 1) + 13);
    FUZZ_CHECK(symbol.modules == modules);

    const auto read = Read(v);
    FUZZ_CHECK(read && *read == data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider in(bytes, size);
    const bool asText = in.ConsumeBool();
    const std::string text = in.ConsumeRandomLengthString(200);
    if (asText) {
        bool ascii = !text.empty();
        for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
        try {
            const auto symbol = engines::EncodeCode128(text);
            FUZZ_CHECK(ascii);
            CheckSymbol(std::vector<int>(text.begin(), text.end()), symbol);
        } catch (const engines::EncodeError&) {
            FUZZ_CHECK(!ascii);
        }
    } else {
        // Bytes with the top bit set stand for FNC1, the rest for their ASCII character.
        std::vector<int> data;
        for (char c : text) data.push_back(static_cast<unsigned char>(c) >= 0x80 ? kFnc1 : c);
        if (data.empty()) return 0;
        CheckSymbol(data, engines::EncodeCode128(data));
    }
    return 0;
}
