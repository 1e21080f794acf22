// What every fuzz target shares: a check that stops the run with the broken invariant
// named (libFuzzer then keeps the input that broke it), and the bar module readings
// the EAN/UPC targets decode their symbols with.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (0)

namespace fuzz {

inline bool AllDigits(std::string_view text)
{
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Only these module letters.
inline bool OnlyOf(std::string_view modules, std::string_view letters)
{
    return modules.find_first_not_of(letters) == std::string_view::npos;
}

// A number set digit as the standard tells them apart: every pattern is 7 modules of
// two bars and two spaces; set A starts light and has an odd count of dark modules,
// set B starts light with an even count, set C starts dark with an even count.
inline char SetOf(std::string_view pattern)
{
    if (pattern.size() != 7) return '?';
    int dark = 0, runs = 1;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        dark += pattern[i] == '1';
        if (i > 0 && pattern[i] != pattern[i - 1]) ++runs;
    }
    if (runs != 4) return '?';
    if (pattern.front() == '0' && pattern.back() == '1') return dark % 2 ? 'A' : 'B';
    if (pattern.front() == '1' && pattern.back() == '0' && dark % 2 == 0) return 'C';
    return '?';
}

// The weighted modulo-10 check digit of EAN/UPC: weight 3 on the digit nearest the
// check digit, then 1 and 3 alternately leftwards.
inline char ModTenCheck(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (std::size_t i = digits.size(); i-- > 0;) {
        sum += weight * (digits[i] - '0');
        weight = 4 - weight;
    }
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

}  // namespace fuzz
