#include "numtext.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace platform {
namespace {

QString Separator(const QLocale& locale) { return locale.decimalPoint(); }

// Digits of |value| rounded to 15 significant digits, and the decimal exponent of the first one.
void SignificantDigits(double value, std::string& digits, int& exponent)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    const std::string text(buffer);
    const auto e = text.find('e');
    digits = text.substr(0, 1) + text.substr(2, e - 2);
    exponent = std::stoi(text.substr(e + 1));
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

std::string FixedForm(const std::string& digits, int exponent)
{
    if (exponent < 0) return "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= whole) return digits + std::string(whole - digits.size(), '0');
    return digits.substr(0, whole) + "." + digits.substr(whole);
}

std::string ExponentForm(const std::string& digits, int exponent)
{
    std::string mantissa = digits.substr(0, 1);
    if (digits.size() > 1) mantissa += "." + digits.substr(1);
    return mantissa + "E" + std::to_string(exponent);
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Accepts [sign] digits [separator digits] [E [sign] digits] with at least one
// mantissa digit, and rewrites it with a point for from_chars.
bool Normalise(const QString& text, const QString& separator, std::string& out)
{
    const QString s = text.trimmed();
    int i = 0;
    out.clear();
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-')) out += '-';
        ++i;
    }
    int mantissaDigits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissaDigits) out += static_cast<char>(s[i].unicode());
    if (s.mid(i).startsWith(separator)) {
        out += '.';
        i += static_cast<int>(separator.size());
        for (; i < s.size() && IsDigit(s[i]); ++i, ++mantissaDigits) out += static_cast<char>(s[i].unicode());
    }
    if (mantissaDigits == 0) return false;
    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        out += 'e';
        ++i;
        if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) out += static_cast<char>(s[i++].unicode());
        int exponentDigits = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i, ++exponentDigits) out += static_cast<char>(s[i].unicode());
        if (exponentDigits == 0) return false;
    }
    return i == s.size();
}

}  // namespace

QString FloatToStr(double value, const QLocale& locale)
{
    if (value == 0) return QStringLiteral("0");
    if (!std::isfinite(value)) return QString::number(value);
    std::string digits;
    int exponent = 0;
    SignificantDigits(value, digits, exponent);
    // Decided on the rounded digits: 9.999999999999999E-6 rounds to 0.00001 and is written
    // so, as the value it reads back as is.
    const bool exponential = exponent < -5 || exponent >= 15;
    std::string text = exponential ? ExponentForm(digits, exponent) : FixedForm(digits, exponent);
    if (value < 0) text = "-" + text;
    return QString::fromStdString(text).replace(QLatin1Char('.'), Separator(locale));
}

bool TryStrToFloat(const QString& text, double& value, const QLocale& locale)
{
    std::string normalised;
    if (!Normalise(text, Separator(locale), normalised)) return false;
    double parsed = 0;
    const auto* end = normalised.data() + normalised.size();
    const auto [ptr, ec] = std::from_chars(normalised.data(), end, parsed);
    if (ec != std::errc() || ptr != end) return false;
    value = parsed;
    return true;
}

double StrToFloat(const QString& text, const QLocale& locale)
{
    double value = 0;
    if (!TryStrToFloat(text, value, locale))
        throw ConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
    return value;
}

double StrToFloatOrZero(const QString& text, const QLocale& locale)
{
    return text.isEmpty() ? 0.0 : StrToFloat(text, locale);
}

int StrToInt(const QString& text)
{
    // QString::toInt stops at a NUL and converts what stands before it: a pasted
    // "21<NUL>mils" would build with 21. The whole text must be the number.
    bool ok = !text.contains(QChar(u'\0'));
    const int value = ok ? text.trimmed().toInt(&ok) : 0;
    if (!ok) throw ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return value;
}

}  // namespace platform
