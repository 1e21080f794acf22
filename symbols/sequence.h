// Messages that count up by one from a first message, for a run of labels: each gets
// its own check digit when it is built.
#pragma once

#include <string>

#include "symbols/kind.h"

namespace symbols {

struct Counted {
    std::string message;
    std::string refusal;  // why there is none; the message is then empty
};

// The message n places after first (n = 0: first itself). EAN-13, EAN-8, UPC-A, UPC-E
// and ITF-14 count the whole number before its check digit (which the build adds);
// Code 39 and Code 128 count the run of digits the message ends with, keeping its
// count of digits ("LOT0099" -> "LOT0100"). Refused: a message that does not end in a
// digit, a GS1-128 element string (its data carries check digits and dates of its
// own), and a count that runs past the largest number of that many digits.
Counted CountUp(Kind kind, const std::string& first, long long n);

}  // namespace symbols
