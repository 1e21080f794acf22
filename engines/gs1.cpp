// GS1 element strings: the Application Identifier table, the checks of each field and
// the Code 128 data characters with their FNC1 separators.
#include "gs1.h"

#include <algorithm>
#include <array>

#include "code128.h"
#include "numbersets.h"

namespace engines {
namespace {

// How a field is written.
enum class Format {
    Numeric,      // digits
    Characters,   // GS1 AI encodable character set 82
    Date,         // YYMMDD; day 00 stands for the last day of the month
    Currency,     // a 3-digit ISO 4217 currency code, then an amount in digits
    Country,      // a 3-digit ISO 3166 country code, then characters of set 82
    DateHour,     // YYMMDDHH, then optionally minutes and then seconds
};

struct AiRule {
    // Two to four digits; with decimals, the first three of a four-digit AI whose last
    // digit, n from 0 to maxDecimal, places the decimal point.
    std::string_view ai;
    bool decimals;
    char maxDecimal;
    Format format;
    int minLength, maxLength;
    bool checkDigit;
};

constexpr AiRule Fixed(std::string_view ai, int length, bool check = false)
{
    return {ai, false, '0', Format::Numeric, length, length, check};
}
constexpr AiRule Up(std::string_view ai, Format format, int max) { return {ai, false, '0', format, 1, max, false}; }
constexpr AiRule Date(std::string_view ai) { return {ai, false, '0', Format::Date, 6, 6, false}; }
constexpr AiRule Measure(std::string_view stem) { return {stem, true, '5', Format::Numeric, 6, 6, false}; }
constexpr AiRule Amount(std::string_view stem, Format format) { return {stem, true, '9', format, format == Format::Currency ? 4 : 1, format == Format::Currency ? 18 : 15, false}; }

constexpr std::array kRules{
    Fixed("00", 18, true),  // SSCC
    Fixed("01", 14, true),  // GTIN
    Fixed("02", 14, true),  // GTIN of contained trade items
    Up("10", Format::Characters, 20),  // batch or lot
    Date("11"), Date("12"), Date("13"), Date("15"), Date("16"), Date("17"),  // production ... expiration
    Fixed("20", 2),  // variant
    Up("21", Format::Characters, 20),  // serial number
    Up("22", Format::Characters, 20),  // consumer product variant
    Up("30", Format::Numeric, 8),      // variable count
    // Trade and logistic measures, six digits with the decimal point n places from the right.
    Measure("310"), Measure("311"), Measure("312"), Measure("313"), Measure("314"), Measure("315"), Measure("316"),
    Measure("320"), Measure("321"), Measure("322"), Measure("323"), Measure("324"), Measure("325"), Measure("326"),
    Measure("327"), Measure("328"), Measure("329"),
    Measure("330"), Measure("331"), Measure("332"), Measure("333"), Measure("334"), Measure("335"), Measure("336"),
    Measure("337"),
    Measure("340"), Measure("341"), Measure("342"), Measure("343"), Measure("344"), Measure("345"), Measure("346"),
    Measure("347"), Measure("348"), Measure("349"),
    Measure("350"), Measure("351"), Measure("352"), Measure("353"), Measure("354"), Measure("355"), Measure("356"),
    Measure("357"),
    Measure("360"), Measure("361"), Measure("362"), Measure("363"), Measure("364"), Measure("365"), Measure("366"),
    Measure("367"), Measure("368"), Measure("369"),
    Up("37", Format::Numeric, 8),  // count of trade items
    Amount("390", Format::Numeric), Amount("391", Format::Currency),  // amount payable
    Amount("392", Format::Numeric), Amount("393", Format::Currency),  // amount payable, variable measure item
    Up("400", Format::Characters, 30),  // customer's purchase order
    Up("401", Format::Characters, 30),  // consignment number
    Fixed("402", 17, true),             // shipment identification
    Up("403", Format::Characters, 30),  // routing code
    // Global Location Numbers: ship to, bill to, purchased from, ship for, location,
    // invoicing party, production or service location, party.
    Fixed("410", 13, true), Fixed("411", 13, true), Fixed("412", 13, true), Fixed("413", 13, true),
    Fixed("414", 13, true), Fixed("415", 13, true), Fixed("416", 13, true), Fixed("417", 13, true),
    Up("420", Format::Characters, 20),  // ship to postal code
    AiRule{"421", false, '0', Format::Country, 4, 12, false},  // ship to postal code with country
    Fixed("422", 3),  // country of origin
    AiRule{"8008", false, '0', Format::DateHour, 8, 12, false},  // date and time of production
    Up("8020", Format::Characters, 25),  // payment slip reference
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// GS1 AI encodable character set 82.
bool InSet82(char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c)) return true;
    return std::string_view("!\"%&'()*+,-./:;<=>?_").find(c) != std::string_view::npos;
}

const AiRule* FindRule(std::string_view ai)
{
    for (const AiRule& rule : kRules) {
        if (!rule.decimals && rule.ai == ai) return &rule;
        if (rule.decimals && ai.size() == 4 && ai.substr(0, 3) == rule.ai && ai[3] >= '0' && ai[3] <= rule.maxDecimal)
            return &rule;
    }
    return nullptr;
}

// A piece of the typed text in quotes, cut short when long.
std::string Quote(std::string_view text)
{
    if (text.size() > 40) {
        // Cut before a character, not inside one.
        std::size_t cut = 37;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        return "'" + std::string(text.substr(0, cut)) + "...'";
    }
    return "'" + std::string(text) + "'";
}

int Number(std::string_view digits)
{
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

class FieldCheck {
public:
    FieldCheck(std::string_view ai, char opener) : ai_(ai), opener_(opener) {}

    [[noreturn]] void Fail(const std::string& what) const { throw EncodeError("AI (" + ai_ + "): " + what); }

    void Digits(std::string_view field) const
    {
        for (std::size_t i = 0; i < field.size(); ++i)
            if (!IsDigit(field[i])) Refuse(field, i, "is not a digit; this field takes digits only");
    }

    void Characters(std::string_view field) const
    {
        for (std::size_t i = 0; i < field.size(); ++i)
            if (!InSet82(field[i]))
                Refuse(field, i,
                       "is not in the GS1 character set this field takes (letters, digits and !\"%&'()*+,-./:;<=>?_)");
    }

    // YYMMDD with a real month and day; day 00 only where the AI allows it. The century
    // is that of the years near today, 2000 to 2099 for any date written now, so a year
    // divisible by 4 is a leap year.
    void Date(std::string_view field, bool dayZero) const
    {
        const int year = Number(field.substr(0, 2)), month = Number(field.substr(2, 2)), day = Number(field.substr(4, 2));
        const std::string date = std::string(field.substr(0, 6));
        if (month < 1 || month > 12) Fail(date + " is not a date YYMMDD: there is no month " + std::string(field.substr(2, 2)) + ".");
        constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int days = kDays[static_cast<std::size_t>(month - 1)] + (month == 2 && year % 4 == 0 ? 1 : 0);
        if (day == 0 && !dayZero) Fail(date + " is not a date YYMMDD: there is no day 00.");
        if (day > days)
            Fail(date + " is not a date YYMMDD: month " + std::string(field.substr(2, 2)) + " of 20" +
                 std::string(field.substr(0, 2)) + " has " + std::to_string(days) + " days.");
    }

    void CheckDigit(std::string_view field) const
    {
        const int expected = Gs1CheckDigit(field.substr(0, field.size() - 1));
        if (field.back() - '0' != expected) Fail(WrongCheckDigit(field.back(), char('0' + expected)));
    }

private:
    [[noreturn]] void Refuse(std::string_view field, std::size_t i, const std::string& why) const
    {
        const char other = opener_ == '(' ? '[' : '(';
        if (field[i] == other)
            Fail(std::string("'") + other + "' cannot stand in this field: write every AI in the same brackets as the first, " +
                 (opener_ == '(' ? "(01)." : "[01]."));
        Fail(NameCharacter(field, i) + " " + why + ".");
    }

    std::string ai_;
    char opener_;
};

void CheckField(const AiRule& rule, std::string_view ai, std::string_view field, char opener)
{
    const FieldCheck check(ai, opener);
    const std::string name = "AI (" + std::string(ai) + ")";
    if (field.empty()) throw EncodeError(name + " has no data after it.");
    const int length = static_cast<int>(field.size());
    const bool fixed = rule.minLength == rule.maxLength;
    const bool digitsOnly = rule.format == Format::Numeric || rule.format == Format::Date ||
                            rule.format == Format::Currency || rule.format == Format::DateHour;

    // The characters first: a stray letter is named rather than counted.
    switch (rule.format) {
    case Format::Characters: check.Characters(field); break;
    case Format::Country:
        check.Digits(field.substr(0, std::min<std::size_t>(3, field.size())));
        if (field.size() > 3) check.Characters(field.substr(3));
        break;
    default: check.Digits(field); break;
    }

    const std::string unit = digitsOnly ? " digits" : " characters";
    if (fixed && length != rule.minLength)
        throw EncodeError(name + " takes exactly " + std::to_string(rule.minLength) + unit + "; " + Quote(field) +
                          " has " + std::to_string(length) + ".");
    if (rule.format == Format::Currency && (length < 4 || length > 18))
        throw EncodeError(name + " takes a 3-digit ISO currency code and then an amount of 1 to 15 digits; " +
                          Quote(field) + " has " + std::to_string(length) + " digits.");
    if (rule.format == Format::Country && (length < 4 || length > 12))
        throw EncodeError(name + " takes a 3-digit ISO country code and then 1 to 9 characters; " + Quote(field) +
                          " has " + std::to_string(length) + " characters.");
    if (rule.format == Format::DateHour && length != 8 && length != 10 && length != 12)
        throw EncodeError(name + " takes YYMMDDHH, YYMMDDHHMM or YYMMDDHHMMSS; " + Quote(field) + " has " +
                          std::to_string(length) + " digits.");
    if (length > rule.maxLength)
        throw EncodeError(name + " takes at most " + std::to_string(rule.maxLength) + unit + "; " + Quote(field) +
                          " has " + std::to_string(length) + ".");

    if (rule.format == Format::Date) check.Date(field, true);
    if (rule.format == Format::DateHour) {
        check.Date(field, false);
        if (Number(field.substr(6, 2)) > 23) check.Fail("hour " + std::string(field.substr(6, 2)) + " is past 23.");
        if (length >= 10 && Number(field.substr(8, 2)) > 59)
            check.Fail("minute " + std::string(field.substr(8, 2)) + " is past 59.");
        if (length == 12 && Number(field.substr(10, 2)) > 59)
            check.Fail("second " + std::string(field.substr(10, 2)) + " is past 59.");
    }
    if (rule.checkDigit) check.CheckDigit(field);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

int Gs1CheckDigit(std::string_view digits) { return CheckDigitOf(digits, ConvertDigit); }

bool HasPredefinedLength(std::string_view ai)
{
    if (ai.size() < 2 || !IsDigit(ai[0]) || !IsDigit(ai[1])) return false;
    const int prefix = Number(ai.substr(0, 2));
    return prefix <= 4 || (prefix >= 11 && prefix <= 20) || prefix == 23 || (prefix >= 31 && prefix <= 36) ||
           prefix == 41;
}

Gs1Message ParseGs1(std::string_view typed)
{
    while (!typed.empty() && IsBlank(typed.front())) typed.remove_prefix(1);
    while (!typed.empty() && IsBlank(typed.back())) typed.remove_suffix(1);
    if (typed.empty())
        throw EncodeError("Type at least one Application Identifier in brackets and its data, as (01)09501101530003.");
    const char opener = typed.front();
    if (opener != '(' && opener != '[')
        throw EncodeError("A GS1 element string starts with an Application Identifier in brackets, as (01); this one "
                          "starts with " + NameCharacter(typed, 0) + ".");
    const char closer = opener == '(' ? ')' : ']';

    Gs1Message message;
    std::size_t at = 0;
    while (at < typed.size()) {
        // typed[at] is an opening bracket.
        const std::size_t close = typed.find(closer, at + 1);
        const std::size_t nextOpen = typed.find(opener, at + 1);
        if (close == std::string_view::npos || (nextOpen != std::string_view::npos && nextOpen < close))
            throw EncodeError(Quote(typed.substr(at, std::min<std::size_t>(typed.size(), nextOpen) - at)) +
                              " has no closing bracket '" + closer + "' after its Application Identifier.");
        const std::string_view ai = typed.substr(at + 1, close - at - 1);
        if (ai.size() < 2 || ai.size() > 4 || !std::all_of(ai.begin(), ai.end(), IsDigit))
            throw EncodeError(Quote(typed.substr(at, close - at + 1)) +
                              " is not an Application Identifier: write 2 to 4 digits in brackets, as (01).");
        const AiRule* rule = FindRule(ai);
        if (!rule) throw EncodeError("AI (" + std::string(ai) + ") is not a GS1 Application Identifier this program knows.");
        const std::size_t end = std::min(typed.find(opener, close + 1), typed.size());
        const std::string_view field = typed.substr(close + 1, end - close - 1);
        for (const Gs1Element& earlier : message.elements)
            if (earlier.ai == ai)
                throw EncodeError("AI (" + std::string(ai) + ") is given twice; a symbol holds each AI once.");
        CheckField(*rule, ai, field, opener);
        message.elements.push_back({std::string(ai), std::string(field)});
        at = end;
    }

    message.data.push_back(kFnc1);
    for (std::size_t i = 0; i < message.elements.size(); ++i) {
        const Gs1Element& element = message.elements[i];
        for (char c : element.ai) message.data.push_back(c);
        for (char c : element.data) message.data.push_back(c);
        if (i + 1 < message.elements.size() && !HasPredefinedLength(element.ai)) message.data.push_back(kFnc1);
        message.text += "(" + element.ai + ")" + element.data;
    }
    const std::size_t count = message.data.size() - 1;
    if (count > static_cast<std::size_t>(kGs1MaxCharacters))
        throw EncodeError("This element string needs " + std::to_string(count) +
                          " characters in the symbol (AI digits, data and separators between fields); GS1-128 "
                          "holds at most " + std::to_string(kGs1MaxCharacters) + ".");
    return message;
}

}  // namespace engines
