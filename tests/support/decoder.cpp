#include "decoder.h"

#include <ZXing/ReadBarcode.h>

QStringList DecodeSymbols(const QImage& image, Symbology symbology)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(grey.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    // One symbol is enough: ZXing 1.4 asserts (lineCount() == 1) when it compares two
    // reads of one EAN symbol to drop the second, a fault fixed in later releases.
    hints.setMaxNumberOfSymbols(1);
    if (symbology == Symbology::Code39) {
        hints.setFormats(ZXing::BarcodeFormat::Code39);
    } else if (symbology == Symbology::Code128) {
        hints.setFormats(ZXing::BarcodeFormat::Code128);
    } else if (symbology == Symbology::Itf) {
        hints.setFormats(ZXing::BarcodeFormat::ITF);
    } else {
        hints.setFormats(ZXing::BarcodeFormat::EAN13 | ZXing::BarcodeFormat::EAN8 | ZXing::BarcodeFormat::UPCA |
                         ZXing::BarcodeFormat::UPCE);
        hints.setEanAddOnSymbol(symbology == Symbology::EanUpcWithAddOn ? ZXing::EanAddOnSymbol::Require
                                                                         : ZXing::EanAddOnSymbol::Read);
    }
    QStringList texts;
    for (const auto& result : ZXing::ReadBarcodes(view, hints))
        if (result.isValid())
            texts << (symbology == Symbology::Code128 ? QString::fromStdString(result.symbologyIdentifier()) : QString()) +
                         QString::fromStdString(result.text());
    return texts;
}
