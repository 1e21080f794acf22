#include "sequence.h"

#include <algorithm>

namespace symbols {

namespace {

bool Digit(char c) { return c >= '0' && c <= '9'; }

// digits + n in as many digits; false when it needs more.
bool AddKeepingWidth(std::string& digits, long long n)
{
    for (auto it = digits.rbegin(); it != digits.rend() && n > 0; ++it) {
        const long long sum = (*it - '0') + n % 10;
        n /= 10;
        *it = char('0' + sum % 10);
        n += sum / 10;
    }
    return n == 0;
}

}  // namespace

Counted CountUp(Kind kind, const std::string& first, long long n)
{
    if (n < 0) return {{}, "a sequence counts up, not down"};
    if (kind == Kind::Gs1_128)
        return {{}, "a GS1-128 element string does not count up: its data carries check digits and dates of its own"};
    const bool whole = kind != Kind::Code39 && kind != Kind::Code128;
    std::string message = first;
    if (kind == Kind::Itf14 && message.size() == 14) message.pop_back();  // its check digit
    std::size_t from = message.size();
    while (from > 0 && Digit(message[from - 1])) --from;
    if (from == message.size()) return {{}, "the message '" + first + "' does not end in a digit to count up"};
    if (whole && from != 0) return {{}, "the message '" + first + "' is not a number to count up"};
    std::string digits = message.substr(from);
    if (!AddKeepingWidth(digits, n)) {
        const std::string largest = message.substr(0, from) + std::string(digits.size(), '9');
        return {{}, "counting up from '" + first + "' runs past " + largest};
    }
    return {message.substr(0, from) + digits, {}};
}

}  // namespace symbols
