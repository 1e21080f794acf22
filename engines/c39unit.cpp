// Code 39 encoding and painting. Patterns are written module by module (a wide
// element as two equal modules) and then run-length coded into element widths.
#include "c39unit.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "environment.h"
#include "rounding.h"

namespace engines {
namespace {

constexpr std::array<std::pair<char, const char*>, 44> kPatterns{{
    {'$', "100100100101"}, {'%', "101001001001"}, {'*', "100101101101"}, {'+', "100101001001"},
    {'-', "100101011011"}, {'.', "110010101101"}, {'/', "100100101001"}, {'0', "101001101101"},
    {'1', "110100101011"}, {'2', "101100101011"}, {'3', "110110010101"}, {'4', "101001101011"},
    {'5', "110100110101"}, {'6', "101100110101"}, {'7', "101001011011"}, {'8', "110100101101"},
    {'9', "101100101101"}, {'A', "110101001011"}, {'B', "101101001011"}, {'C', "110110100101"},
    {'D', "101011001011"}, {'E', "110101100101"}, {'F', "101101100101"}, {'G', "101010011011"},
    {'H', "110101001101"}, {'I', "101101001101"}, {'J', "101011001101"}, {'K', "110101010011"},
    {'L', "101101010011"}, {'M', "110110101001"}, {'N', "101011010011"}, {'O', "110101101001"},
    {'P', "101101101001"}, {'Q', "101010110011"}, {'R', "110101011001"}, {'S', "101101011001"},
    {'T', "101011011001"}, {'U', "110010101011"}, {'V', "100110101011"}, {'W', "110011010101"},
    {'X', "100101101011"}, {'Y', "110010110101"}, {'Z', "100110110101"}, {'_', "100110101101"},
}};

// Width codes: a narrow bar, a narrow space, a wide space, a wide bar.
constexpr char kNarrowBar = '2';
constexpr char kNarrowSpace = '4';
constexpr char kWideSpace = '6';
constexpr char kWideBar = '8';

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A length in inches becomes pixels only when it is positive; otherwise the field
// keeps what it held. Returns false for a length too long to lay out.
bool StoreLength(std::int32_t& field, double inches, int dpi)
{
    if (!(inches > 0)) return true;
    const double pixels = inches * dpi;
    if (!(pixels <= kMaxPixels)) return false;
    field = RoundToInt(pixels);
    return true;
}

std::string RunLengthCode(const std::string& modules)
{
    std::string widths;
    for (std::size_t i = 0; i < modules.size();) {
        bool pair = i + 1 < modules.size() && modules[i] == modules[i + 1];
        if (pair) {
            widths += modules[i] == '1' ? kWideBar : kWideSpace;
            i += 2;
        } else {
            widths += modules[i] == '1' ? kNarrowBar : kNarrowSpace;
            i += 1;
        }
    }
    return widths;
}

// Splits UTF-8 text into its characters, so that a non-ASCII character is shown as one.
std::vector<std::string> Characters(const std::string& text)
{
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
        len = std::min(len, text.size() - i);
        chars.push_back(text.substr(i, len));
        i += len;
    }
    return chars;
}

}  // namespace

int Tc39::SetParams(const Font& aFont, int resolution, double aInterval, double height, double narrowWidth,
                    double ratio, double left, double right, const std::string& aComment,
                    const std::string& aMessage, double top, double down)
{
    if (resolution == 0) {
        dpi = ScreenResolution();
        if (dpi <= 0) return 8;
    } else if (resolution > 0) {
        dpi = resolution;
    }
    if (!StoreLength(interval, aInterval, dpi) || interval < 0) return 1;
    if (!StoreLength(barheight, height, dpi) || barheight <= 0) return 2;
    if (aFont.size > 0) font = &aFont;
    if (!StoreLength(narrow, narrowWidth, dpi) || narrow <= 0) return 4;
    if (ratio >= 2.0 && ratio <= 3.0) natio = ratio;
    if (natio <= 0) return 5;
    if (!StoreLength(leftspace, left, dpi) || leftspace < 0) return 6;
    if (!StoreLength(rightspace, right, dpi) || rightspace < 0) return 7;
    comment = aComment;
    if (aMessage.empty()) return 10;
    message = aMessage;
    if (!StoreLength(topspace, top, dpi) || topspace < 0) return 11;
    if (!StoreLength(downspace, down, dpi) || downspace < 0) return 12;
    return 0;
}

std::string Tc39::CharPattern(char c)
{
    for (const auto& [ch, pattern] : kPatterns)
        if (ch == c) return pattern;
    return kInvalid;
}

std::string Tc39::EncodeWidths(const std::string& text)
{
    std::string modules = CharPattern('*') + "0";
    for (char c : text) {
        std::string pattern = CharPattern(Upper(c));
        if (pattern == kInvalid) return kInvalid;
        modules += pattern + "0";
    }
    modules += CharPattern('*');
    return RunLengthCode(modules);
}

std::string Tc39::UnencodableChars(const std::string& text)
{
    // A set of those named already: a paste of thousands of different foreign
    // characters is named in linear time, not by searching the list for each.
    std::string bad;
    std::set<std::string> named;
    for (const auto& ch : Characters(text)) {
        bool invalid = ch.size() > 1 || CharPattern(Upper(ch[0])) == kInvalid;
        if (invalid && named.insert(ch).second) bad += ch;
    }
    return bad;
}

int Tc39::Wide() const { return RoundToInt(narrow * natio); }

// The pixel width of one element code; -1 for a code that is no element (the
// letters of the invalid marker).
int Tc39::ElementWidth(char code) const
{
    if (code == kNarrowBar || code == kNarrowSpace) return narrow;
    if (code == kWideBar || code == kWideSpace) return Wide();
    return -1;
}

// Sums are taken in 64 bits and capped, so that a long message of wide elements
// reads as too large rather than wrapping round.
int Tc39::Clamp(std::int64_t pixels) { return static_cast<int>(std::min<std::int64_t>(pixels, INT32_MAX)); }

int Tc39::ElementsWidth(const std::string& widths) const
{
    std::int64_t total = 0;
    for (char w : widths) {
        const int width = ElementWidth(w);
        total = width < 0 ? -1 : total + width;
    }
    return Clamp(total);
}

int Tc39::SymbolWidth() const
{
    return Clamp(std::int64_t{ElementsWidth(EncodeWidths(message))} + leftspace + rightspace);
}

int Tc39::SymbolHeight() const
{
    std::int64_t height = std::int64_t{4} * interval + barheight + topspace + downspace;
    return Clamp(comment.empty() ? height : height + std::int64_t{2} * FontPixels());
}

void Tc39::Draw(Canvas& canvas) const
{
    const std::string widths = EncodeWidths(message);
    if (font) canvas.SetFont(*font);
    // The same text height that SymbolHeight measured with.
    const int s = FontPixels();
    if (!comment.empty()) {
        canvas.SetBrushColor(kWhite);
        if (!canvas.TextOut(leftspace, topspace + interval, comment))
            ShowEngineNotice("Error Code is " + std::to_string(LastSystemError()));
    }

    const int barTop = comment.empty() ? topspace + interval : topspace + 2 * interval + s;
    int x = leftspace;
    for (char w : widths) {
        const int width = ElementWidth(w);
        if (width < 0) continue;
        canvas.SetBrushColor(w == kNarrowBar || w == kWideBar ? kBlack : kWhite);
        canvas.FillRect(x, barTop, x + width, barTop + barheight);
        x += width;
    }

    canvas.SetBrushColor(kWhite);
    const int textTop = comment.empty() ? topspace + barheight + interval : s + topspace + barheight + 3 * interval;
    DrawMessageText(message, SymbolWidth(), leftspace + 12 * narrow, textTop, rightspace + 12 * narrow, canvas);
}

void Tc39::DrawMessageText(const std::string& text, int totalWidth, int firstX, int y, int rightReserve,
                           Canvas& canvas) const
{
    const auto chars = Characters(text);
    const auto n = static_cast<int>(chars.size());
    // The characters are spread from the first to the last position; a single
    // character has no spread and cannot be laid out.
    if (n < 2) throw LayoutError("The message needs at least two characters to be laid out.");
    const int step = RoundToInt(static_cast<double>(totalWidth - firstX - rightReserve) / (n - 1));
    for (int i = 0; i < n; ++i)
        canvas.TextOut(firstX + i * step, y, chars[static_cast<std::size_t>(i)]);
}

}  // namespace engines
