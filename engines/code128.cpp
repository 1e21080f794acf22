// Code 128: the symbol character table, the shortest choice of code sets and the
// check character.
#include "code128.h"

#include <array>
#include <cstdio>
#include <limits>

namespace engines {
namespace {

// Bar, space, bar, space, bar, space widths of values 0 to 105, and the stop's seven.
// Each pattern is 11 modules with an even count of bar modules.
constexpr std::array<std::string_view, 107> kPatterns{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",  //   0
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",  //  10
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",  //  20
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",  //  30
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",  //  40
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",  //  50
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",  //  60
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  //  70
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",  //  80
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",  //  90
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};                             // 100

enum Set { A = 0, B = 1, C = 2 };
constexpr int kSets = 3;

bool InA(int c) { return c == kFnc1 || (c >= 0 && c < 96); }
bool InB(int c) { return c == kFnc1 || (c >= 32 && c < 128); }
bool InSet(int set, int c) { return set == A ? InA(c) : InB(c); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// The value of a data character in set A or B.
int ValueIn(int set, int c)
{
    if (c == kFnc1) return kCode128Fnc1;
    if (set == A) return c < 32 ? c + 64 : c - 32;
    return c - 32;
}

// The character that switches to a code set.
int SwitchTo(int set) { return set == A ? kCode128CodeA : set == B ? kCode128CodeB : kCode128CodeC; }

// How the characters from one position on are encoded in a code set: one character in
// the set, one through Shift, or two digits (or FNC1) in set C.
enum Step { kNone, kPlain, kShifted, kPair, kFnc1InC };

// One cell of the search: the fewest symbol characters that encode the message up to a
// position and leave the symbol in a code set, and how the last step got there.
constexpr int kUnreached = std::numeric_limits<int>::max();
struct Cell {
    int cost = kUnreached;
    int fromSet = -1;  // the set before a switch at this position, or -1
    Step step = kNone;
    int stepSet = -1;  // the set the last data step was taken in
};

std::string Hex(unsigned value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
    return buffer;
}

std::string Utf8Of(char32_t cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// A code point as an error message shows it: control characters by number alone, for
// they have no face to quote.
std::string NameCodePoint(char32_t cp)
{
    const std::string number = "U+" + Hex(static_cast<unsigned>(cp), 4);
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) return number;
    if (cp < 0x80) return "'" + Utf8Of(cp) + "'";
    return "'" + Utf8Of(cp) + "' (" + number + ")";
}

// The code point of a well-formed UTF-8 sequence at `at`, and its length; 0 when the
// bytes there are no such sequence (overlong forms and surrogates are not).
std::size_t DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(at + i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

std::string NotAscii(const std::string& name) { return name + " is not an ASCII character: Code 128 takes ASCII 0 to 127."; }

}  // namespace

std::string_view Code128Pattern(int value)
{
    if (value < 0 || value >= static_cast<int>(kPatterns.size())) return {};
    return kPatterns[static_cast<std::size_t>(value)];
}

std::string NameCharacter(std::string_view text, std::size_t at, std::size_t* length)
{
    char32_t cp = 0;
    const std::size_t n = at < text.size() ? DecodeUtf8(text, at, cp) : 0;
    if (length) *length = n == 0 ? 1 : n;
    if (at >= text.size()) return "nothing";
    if (n == 0) return "byte 0x" + Hex(static_cast<unsigned char>(text[at]), 2);
    return NameCodePoint(cp);
}

std::vector<int> Code128Data(std::string_view text)
{
    std::vector<int> data;
    data.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::string name = NameCharacter(text, i);
            throw EncodeError(NotAscii(name.starts_with("byte") ? "B" + name.substr(1) : name));
        }
        data.push_back(c);
    }
    return data;
}

Code128Symbol EncodeCode128(const std::vector<int>& data)
{
    if (data.empty()) throw EncodeError("Code 128 needs at least one character to encode.");
    for (int c : data) {
        if (c == kFnc1 || (c >= 0 && c < 128)) continue;
        if (c > 0 && c <= 0x10FFFF) throw EncodeError(NotAscii(NameCodePoint(static_cast<char32_t>(c))));
        throw EncodeError("Character value " + std::to_string(c) + " is not an ASCII character: Code 128 takes ASCII 0 to 127.");
    }

    // cells[i][s]: the fewest symbol characters, start included, that encode data[0..i)
    // and leave the symbol in set s. Each position first takes the data steps that end
    // there, then the switches from those: a switch to one set is never bettered by two.
    // No switch at position 0: the start character picks the first set.
    const std::size_t n = data.size();
    std::vector<std::array<Cell, kSets>> cells(n + 1);
    for (int s = 0; s < kSets; ++s) cells[0][s].cost = 1;
    const auto relax = [&](std::size_t to, int set, int cost, Step step, int stepSet) {
        Cell& cell = cells[to][set];
        if (cost < cell.cost) cell = Cell{cost, -1, step, stepSet};
    };
    for (std::size_t i = 0; i <= n; ++i) {
        if (i > 0) {
            const std::array<Cell, kSets> stepped = cells[i];
            for (int to = 0; to < kSets; ++to)
                for (int from = 0; from < kSets; ++from)
                    if (from != to && stepped[from].cost != kUnreached && stepped[from].cost + 1 < cells[i][to].cost)
                        cells[i][to] = Cell{stepped[from].cost + 1, from, kNone, -1};
        }
        if (i == n) break;
        const int c = data[i];
        for (int s = 0; s < kSets; ++s) {
            const int cost = cells[i][s].cost;
            if (cost == kUnreached) continue;
            if (s == C) {
                if (c == kFnc1) relax(i + 1, C, cost + 1, kFnc1InC, C);
                else if (i + 1 < n && IsDigit(c) && IsDigit(data[i + 1])) relax(i + 2, C, cost + 1, kPair, C);
            } else if (InSet(s, c)) {
                relax(i + 1, s, cost + 1, kPlain, s);
            } else {
                relax(i + 1, s, cost + 2, kShifted, s == A ? B : A);
            }
        }
    }
    // Back from the cheapest set at the end (set B where two are as short), writing the
    // values in reverse.
    int set = B;
    for (int s : {C, A})
        if (cells[n][s].cost < cells[n][set].cost) set = s;
    std::vector<int> reversed;
    std::size_t i = n;
    while (i > 0) {
        const Cell& cell = cells[i][set];
        if (cell.fromSet >= 0) {
            reversed.push_back(SwitchTo(set));
            set = cell.fromSet;
            continue;
        }
        switch (cell.step) {
        case kPlain: reversed.push_back(ValueIn(set, data[i - 1])); i -= 1; break;
        case kShifted:
            reversed.push_back(ValueIn(cell.stepSet, data[i - 1]));
            reversed.push_back(kCode128Shift);
            i -= 1;
            break;
        case kPair: reversed.push_back((data[i - 2] - '0') * 10 + (data[i - 1] - '0')); i -= 2; break;
        case kFnc1InC: reversed.push_back(kCode128Fnc1); i -= 1; break;
        case kNone: throw std::logic_error("Code 128: no way back through the code set search");
        }
    }

    Code128Symbol symbol;
    symbol.values.reserve(reversed.size() + 3);
    symbol.values.push_back(kCode128StartA + set);
    symbol.values.insert(symbol.values.end(), reversed.rbegin(), reversed.rend());
    long long sum = symbol.values.front();
    for (std::size_t k = 1; k < symbol.values.size(); ++k) sum = (sum + static_cast<long long>(k % 103) * symbol.values[k]) % 103;
    symbol.values.push_back(static_cast<int>(sum));
    symbol.values.push_back(kCode128Stop);

    symbol.widths.reserve(symbol.values.size() * 6 + 1);
    for (int value : symbol.values)
        for (char w : Code128Pattern(value)) {
            symbol.widths.push_back(w - '0');
            symbol.modules += w - '0';
        }
    return symbol;
}

std::string Code128Text(const std::vector<int>& data)
{
    std::string text;
    text.reserve(data.size());
    for (int c : data) {
        if (c >= 0x20 && c < 0x7F) text += static_cast<char>(c);
        else if (c >= 0 && c < 0x20) text += Utf8Of(0x2400 + static_cast<char32_t>(c));
        else if (c == 0x7F) text += Utf8Of(0x2421);
    }
    return text;
}

}  // namespace engines
