// Reads an EAN/UPC module string back into digits, group by group, with the number
// set of each group told apart by its parity (check.h) and its digit found in the
// number set tables.
#pragma once

#include <string>
#include <string_view>

#include "check.h"
#include "engines/numbersets.h"

namespace fuzz {

struct Group {
    char set = '?';
    char digit = '?';
};

inline Group ReadGroup(std::string_view modules, std::size_t at)
{
    Group group;
    if (at + 7 > modules.size()) return group;
    const std::string_view pattern = modules.substr(at, 7);
    group.set = SetOf(pattern);
    for (char d = '0'; d <= '9'; ++d)
        if (engines::DigitPattern(group.set, d) == pattern) group.digit = d;
    return group;
}

// The groups of count digits from module at on, with separators of gap modules between them.
inline void ReadGroups(std::string_view modules, std::size_t at, std::size_t count, std::size_t gap,
                       std::string& sets, std::string& digits)
{
    for (std::size_t i = 0; i < count; ++i) {
        const Group g = ReadGroup(modules, at + i * (7 + gap));
        sets += g.set;
        digits += g.digit;
    }
}

}  // namespace fuzz
