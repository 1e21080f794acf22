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
    if (symbology == Symbology::Code39) {
        hints.setFormats(ZXing::BarcodeFormat::Code39);
    } else {
        hints.setFormats(ZXing::BarcodeFormat::EAN13 | ZXing::BarcodeFormat::EAN8 | ZXing::BarcodeFormat::UPCA |
                         ZXing::BarcodeFormat::UPCE);
        hints.setEanAddOnSymbol(ZXing::EanAddOnSymbol::Read);
    }
    QStringList texts;
    for (const auto& result : ZXing::ReadBarcodes(view, hints))
        if (result.isValid()) texts << QString::fromStdString(result.text());
    return texts;
}
