// Code 128 (ISO/IEC 15417): a message of ASCII characters and FNC1 markers turned into
// symbol characters and their bar and space widths in modules. Code sets A, B and C are
// chosen so that the symbol has the fewest symbol characters, and with them the fewest
// modules. Nothing is drawn here: the widths go to whatever paints the symbol.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "errors.h"

namespace engines {

// A data character that is no ASCII character: Function 1, which opens a GS1-128
// symbol and separates its variable-length fields. It is one symbol character in any
// code set.
inline constexpr int kFnc1 = -1;

// Symbol character values with a meaning of their own.
inline constexpr int kCode128Shift = 98;    // the next character in the other of A and B
inline constexpr int kCode128CodeC = 99;
inline constexpr int kCode128CodeB = 100;   // in set B itself: FNC4
inline constexpr int kCode128CodeA = 101;   // in set A itself: FNC4
inline constexpr int kCode128Fnc1 = 102;
inline constexpr int kCode128StartA = 103;
inline constexpr int kCode128StartB = 104;
inline constexpr int kCode128StartC = 105;
inline constexpr int kCode128Stop = 106;

// Every symbol character is 11 modules; the stop character is 13, for it ends with a
// 2-module bar.
inline constexpr int kCode128CharModules = 11;
inline constexpr int kCode128StopModules = 13;

struct Code128Symbol {
    // Start, data and code set characters, the modulo-103 check character and stop.
    std::vector<int> values;
    // Module widths of the elements from left to right, bars and spaces alternating,
    // a bar first and last: six per symbol character, seven for the stop.
    std::vector<int> widths;
    // The symbol's width in modules, without its quiet zones.
    int modules = 0;
};

// The widths of one symbol character, bar first: six digits '1' to '4' for values 0 to
// 105, seven for the stop (106); empty for any other value.
std::string_view Code128Pattern(int value);

// The data characters of a text typed as UTF-8: each byte an ASCII character. A
// character beyond ASCII raises EncodeError naming it.
std::vector<int> Code128Data(std::string_view text);

// Encodes data characters (ASCII 0 to 127 and kFnc1). Raises EncodeError for an empty
// message or any other value, naming the first one.
Code128Symbol EncodeCode128(const std::vector<int>& data);
inline Code128Symbol EncodeCode128(std::string_view text) { return EncodeCode128(Code128Data(text)); }

// The human-readable line, as UTF-8: printable characters as they are, a control
// character as its Unicode control picture (U+2400 to U+241F, U+2421 for DEL), FNC1
// not at all.
std::string Code128Text(const std::vector<int>& data);

// How an error message names the character that starts at byte `at` of a UTF-8 text:
// "'é' (U+00E9)" for a whole character, "byte 0xC3" for a byte that starts no valid
// UTF-8 character. `length` receives how many bytes were named.
std::string NameCharacter(std::string_view text, std::size_t at, std::size_t* length = nullptr);

}  // namespace engines
