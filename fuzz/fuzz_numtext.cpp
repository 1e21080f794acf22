// Number text both ways, in a locale with a decimal point and in one with a decimal
// comma: any finite normal double is written in the general form (at most 15
// significant digits, no trailing zeros) and reads back to a double that writes the
// same text; any text either converts to a finite number, the same way by every entry,
// or is refused with the program's fixed sentence naming it.
#include <fuzzer/FuzzedDataProvider.h>

#include <QLocale>
#include <QString>
#include <cmath>
#include <cstring>

#include "check.h"
#include "platform/numtext.h"

namespace {

int SignificantDigits(const QString& text)
{
    QString mantissa = text.section(QLatin1Char('E'), 0, 0);
    mantissa.remove(QLatin1Char('-')).remove(QLatin1Char('.')).remove(QLatin1Char(','));
    while (mantissa.startsWith(QLatin1Char('0'))) mantissa.remove(0, 1);
    return int(mantissa.size());
}

void CheckWritten(double value, const QLocale& locale)
{
    if (!(std::isnormal(value) || value == 0)) return;
    // Fifteen significant digits round the doubles above 1.79769313486231E308 up past the
    // largest double, so their text does not read back: a known limit of the written form
    // (a page value of that size is refused at the next build anyway), not checked here.
    if (std::fabs(value) > 1.79769313486231e308) return;
    const QString text = platform::FloatToStr(value, locale);
    const QChar separator = locale.decimalPoint().at(0);
    FUZZ_CHECK(SignificantDigits(text) <= 15);
    const QString mantissa = text.section(QLatin1Char('E'), 0, 0);
    if (mantissa.contains(separator)) FUZZ_CHECK(!mantissa.endsWith(QLatin1Char('0')) && !mantissa.endsWith(separator));
    double back = 0;
    FUZZ_CHECK(platform::TryStrToFloat(text, back, locale));
    FUZZ_CHECK(platform::FloatToStr(back, locale) == text);
    FUZZ_CHECK(std::fabs(back - value) <= 1e-14 * std::fabs(value));
}

// A sign and the digits 0 to 9, nothing else.
bool IsWholeNumber(const QString& text)
{
    qsizetype i = text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')) return false;
    return true;
}

// The error's text as the error box shows it: a pasted NUL ends it there too.
bool SameText(const std::exception& e, const QString& expected)
{
    return std::strcmp(e.what(), expected.toStdString().c_str()) == 0;
}

void CheckRead(const QString& text, const QLocale& locale)
{
    double value = 0;
    const bool accepted = platform::TryStrToFloat(text, value, locale);
    if (accepted) FUZZ_CHECK(std::isfinite(value));
    try {
        const double strict = platform::StrToFloat(text, locale);
        FUZZ_CHECK(accepted && (strict == value || (std::isnan(strict) && std::isnan(value))));
    } catch (const platform::ConvertError& e) {
        FUZZ_CHECK(!accepted);
        FUZZ_CHECK(SameText(e, QStringLiteral("'%1' is not a valid floating point value").arg(text)));
    }
    const QString separator = locale.decimalPoint();
    if (accepted) FUZZ_CHECK(text.count(separator) <= 1);
    try {
        const int whole = platform::StrToInt(text);
        FUZZ_CHECK(IsWholeNumber(text.trimmed()) && QString::number(whole) == QString::number(text.trimmed().toLongLong()));
    } catch (const platform::ConvertError& e) {
        FUZZ_CHECK(SameText(e, QStringLiteral("'%1' is not a valid integer value").arg(text)));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QLocale point = QLocale::c();
    static const QLocale comma(QLocale::German, QLocale::Germany);
    FuzzedDataProvider in(data, size);
    double value = 0;
    const auto bits = in.ConsumeBytes<std::uint8_t>(sizeof value);
    if (bits.size() == sizeof value) std::memcpy(&value, bits.data(), sizeof value);
    CheckWritten(value, point);
    CheckWritten(value, comma);
    const std::string bytes = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    CheckRead(text, point);
    CheckRead(text, comma);
    return 0;
}
