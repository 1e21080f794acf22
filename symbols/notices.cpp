#include "notices.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <utility>

#include "engines/c39unit.h"
#include "engines/errors.h"
#include "engines/rounding.h"

namespace symbols {

namespace {

const std::pair<int, const char*> kCode39Statuses[] = {
    {1, "Width Error"},
    {2, "Height Error"},
    {3, "Font setting Error"},
    {4, "Narwidth param Error"},
    {5, "Natio Error"},
    {6, "Left blank space Error"},
    {7, "Right blank space Error"},
    {8, "DPI Error"},
    {9, "Line Message Error"},
    {10, "Barcode Message Error"},
    {11, "Top blank space Error"},
    {12, "Down blank space  Error"},
    {14, "Nation  Error!"},
};

[[noreturn]] void NotAnInteger(const QString& text)
{
    throw engines::ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

}  // namespace

QString FirstNonDigit(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9')) continue;
        return text.mid(i, text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1);
    }
    return {};
}

void RequireMessageDigits(const QString& message)
{
    if (const QString bad = FirstNonDigit(message); !bad.isEmpty()) NotAnInteger(bad);
}

void RequireAddOnDigits(const QString& addOn)
{
    const QString bad = FirstNonDigit(addOn);
    if (bad.isEmpty()) return;
    NotAnInteger(addOn.size() == 2 ? addOn : bad);
}

bool AddOnLengthAccepted(const QString& addOn) { return addOn.isEmpty() || addOn.size() == 2 || addOn.size() == 5; }

QString MessageNotice(Kind kind, const QString& message)
{
    if (kind == Kind::Code39) {
        const std::string unencodable = engines::Tc39::UnencodableChars(message.toStdString());
        return unencodable.empty() ? QString() : UnencodableNotice(unencodable);
    }
    const int digits = NamesOf(kind).messageDigits;
    if (digits == 0) return {};  // the encoder tells what it refuses
    if (message.size() != digits) return MessageLengthNotice(digits);
    if (kind != Kind::Ean13) return {};
    // Only pasted text can hold a non-digit; the engine cannot encode it.
    const QString bad = FirstNonDigit(message);
    return bad.isEmpty() ? QString() : NotADigitNotice(bad);
}

QString MessageLengthNotice(int digits)
{
    return QStringLiteral("The 'Bar code message' must contain %1 numbers.").arg(digits);
}

QString NotADigitNotice(const QString& character)
{
    return QStringLiteral("The 'Bar code message' holds '%1', which is not a digit.").arg(character);
}

QString AddOnLengthNotice(Kind kind)
{
    const char* addOnLabel = NamesOf(kind).addOnLabel;
    return QStringLiteral("The '%1 Supplemental' must contain 2 or 5 numbers.").arg(QLatin1String(addOnLabel));
}

QString Ean13WidthNotice() { return QStringLiteral("The 'Bar code Width' must be 1 to 9 inches."); }

QString Code39TooShortNotice() { return QStringLiteral("The 'Bar code message' must have two or above two characters."); }

QString Code39StatusNotice(int code)
{
    for (const auto& [status, text] : kCode39Statuses)
        if (status == code) return QString::fromLatin1(text);
    return {};
}

QString UnencodableNotice(const std::string& characters)
{
    // A long paste of foreign text is named by its first few, so the box stays readable.
    constexpr qsizetype kNamed = 10;
    const QList<uint> codes = QString::fromStdString(characters).toUcs4();
    QStringList names;
    for (qsizetype i = 0; i < std::min(codes.size(), kNamed); ++i) {
        const char32_t code = codes[i];
        names << (code == U' ' ? QStringLiteral("space") : QStringLiteral("'%1'").arg(QString::fromUcs4(&code, 1)));
    }
    QString list = names.join(QStringLiteral(", "));
    if (codes.size() > kNamed) list += QStringLiteral(" and %1 more").arg(codes.size() - kNamed);
    return QStringLiteral("The 'Bar code message' holds characters that Code 39 cannot encode: %1.").arg(list);
}

QString SizeNotice(long long width, long long height)
{
    if (width <= 0 || height <= 0)
        // Only negative values, pasted into the page setting or a size box, can shrink a picture to nothing.
        return QStringLiteral("The symbol would be %1 x %2 pixels, which leaves nothing to draw: "
                              "check the sizes and the page setting for negative values.")
            .arg(width)
            .arg(height);
    if (width <= engines::kMaxPixels && height <= engines::kMaxPixels && width * height <= engines::kMaxPictureArea)
        return {};
    return TooLargeNotice(width, height);
}

QString TooLargeNotice(long long width, long long height)
{
    // An engine reads both sides as the largest int when any of its lengths cannot be
    // laid out: there is no size to tell then.
    const bool unknown = width >= INT_MAX || height >= INT_MAX;
    const QString size = unknown ? QStringLiteral("more than %1 pixels on a side").arg(engines::kMaxPixels)
                                 : QStringLiteral("%1 x %2 pixels").arg(width).arg(height);
    return QStringLiteral("The symbol would be %1, too large to draw: make it smaller.").arg(size);
}

}  // namespace symbols
