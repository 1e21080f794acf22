// The errors an engine raises to its caller. Their texts are the sentences the user
// sees in the general error box.
#pragma once

#include <stdexcept>
#include <string>

namespace engines {

// A text that must be a number holds something else: "'<text>' is not a valid integer
// value" and the like. The number boxes of the windows raise it too.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A message the symbology cannot carry: a character outside its set, a wrong check
// digit, an Application Identifier it does not know, a field too long. The text names
// what is wrong and what is expected.
class EncodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The sentence for a number that ends in another digit than its check digit:
// "check digit 8 should be 7."
inline std::string WrongCheckDigit(char given, char expected)
{
    return std::string("check digit ") + given + " should be " + expected + ".";
}

}  // namespace engines
