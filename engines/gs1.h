// GS1 element strings for GS1-128: the text typed as on the label, "(01)09501101530003
// (17)250101(10)AB-123" (square brackets as well), checked against the Application
// Identifiers GS1 defines (their lengths, character sets, check digits and dates) and turned into Code 128 data
// characters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "errors.h"

namespace engines {

// GS1-128 carries at most 48 data characters: AI digits, field data and the FNC1
// separators between fields, not the FNC1 that opens the symbol.
inline constexpr int kGs1MaxCharacters = 48;

struct Gs1Element {
    std::string ai;    // "01", "3103", "8008"
    std::string data;  // the field as typed, check digit included
};

struct Gs1Message {
    std::vector<Gs1Element> elements;
    // The Code 128 data characters: kFnc1, then each AI and its field, kFnc1 after each
    // field whose AI has no predefined length unless it is the last.
    std::vector<int> data;
    // The human-readable line: each AI in parentheses before its field.
    std::string text;
};

// Parses and checks a typed element string. Surrounding blanks are ignored; the first
// AI's brackets, round or square, are those of every AI (within square brackets a
// field may hold parentheses). Anything wrong raises EncodeError naming the AI and
// what is wrong with it.
Gs1Message ParseGs1(std::string_view typed);

// Whether a field needs no FNC1 after it, its length being fixed by the first two
// digits of its AI (00 to 04, 11 to 20, 23, 31 to 36, 41).
bool HasPredefinedLength(std::string_view ai);

// The GS1 check digit of digits that do not hold it: weights 3 and 1 alternating from
// the rightmost. Raises ConvertError on a non-digit.
int Gs1CheckDigit(std::string_view digits);

}  // namespace engines
