#include "scancheck.h"

#include <QSysInfo>
#include <ZXing/ReadBarcode.h>

#include <exception>

namespace platform {

namespace {

struct FormatName {
    ZXing::BarcodeFormat format;
    const char* name;
};

const FormatName kNames[] = {
    {ZXing::BarcodeFormat::Code39, "Code 39"}, {ZXing::BarcodeFormat::EAN13, "EAN-13"},
    {ZXing::BarcodeFormat::UPCA, "UPC-A"},     {ZXing::BarcodeFormat::EAN8, "EAN-8"},
    {ZXing::BarcodeFormat::UPCE, "UPC-E"},     {ZXing::BarcodeFormat::Code128, "Code 128"},
    {ZXing::BarcodeFormat::ITF, "ITF"},
};

QString NameOf(const ZXing::Result& result)
{
    const ZXing::BarcodeFormat format = result.format();
    if (format == ZXing::BarcodeFormat::Code128 && result.symbologyIdentifier() == "]C1")
        return QStringLiteral("GS1-128");
    if (format == ZXing::BarcodeFormat::ITF && result.text().size() == 14) return QStringLiteral("ITF-14");
    for (const auto& [f, name] : kNames)
        if (f == format) return QString::fromLatin1(name);
    return QString::fromLatin1(ZXing::ToString(format));
}

// The 32-bit pictures every build makes are read in place: converting them to grey
// first would cost more than the decoding itself.
ZXing::ImageFormat PixelLayout()
{
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? ZXing::ImageFormat::BGRX : ZXing::ImageFormat::XRGB;
}

ZXing::DecodeHints Hints(ScanFamily family)
{
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    // One symbol only: ZXing 1.4 asserts (lineCount() == 1) when it compares two reads
    // of one EAN symbol to drop the second.
    hints.setMaxNumberOfSymbols(1);
    if (family == ScanFamily::Code39) {
        hints.setFormats(ZXing::BarcodeFormat::Code39);
    } else if (family == ScanFamily::Code128) {
        hints.setFormats(ZXing::BarcodeFormat::Code128);
    } else if (family == ScanFamily::Itf) {
        hints.setFormats(ZXing::BarcodeFormat::ITF);
    } else {
        hints.setFormats(ZXing::BarcodeFormat::EAN13 | ZXing::BarcodeFormat::EAN8 | ZXing::BarcodeFormat::UPCA |
                         ZXing::BarcodeFormat::UPCE);
        hints.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
    }
    return hints;
}

}  // namespace

ScanRead ReadSymbol(const QImage& picture, ScanFamily family)
{
    if (picture.isNull()) return {};
    const QImage pixels = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32
                              ? picture
                              : picture.convertToFormat(QImage::Format_RGB32);
    try {
        const ZXing::ImageView view(pixels.constBits(), pixels.width(), pixels.height(), PixelLayout(),
                                    static_cast<int>(pixels.bytesPerLine()));
        const ZXing::Results results = ZXing::ReadBarcodes(view, Hints(family));
        if (results.empty() || !results.front().isValid()) return {};
        const ZXing::Result& result = results.front();
        ScanRead read{true, NameOf(result), QString::fromStdString(result.text()), {}};
        // An EAN/UPC add-on comes after the symbol's digits, parted by one blank.
        if (family == ScanFamily::EanUpc) {
            const qsizetype blank = read.text.indexOf(QLatin1Char(' '));
            if (blank >= 0) {
                read.addOn = read.text.mid(blank + 1);
                read.text.truncate(blank);
            }
        }
        return read;
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace platform
