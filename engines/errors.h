// The errors an engine raises to its caller. Their texts are the sentences the user
// sees in the general error box.
#pragma once

#include <stdexcept>

namespace engines {

// A text that must be a number holds something else: "'<text>' is not a valid integer
// value" and the like. The number boxes of the windows raise it too.
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace engines
