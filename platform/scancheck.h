// What a scanner reads from a finished picture: the one place that knows the decoder
// library (ZXing-cpp). The editors ask for a symbology family and get back plain text.
#pragma once

#include <QImage>
#include <QString>

namespace platform {

enum class ScanFamily { Code39, EanUpc };

struct ScanRead {
    bool found = false;
    QString symbology;  // "Code 39", "EAN-13", "UPC-A", "EAN-8" or "UPC-E"
    QString text;       // the characters of the symbol, an EAN/UPC check digit included
    QString addOn;      // the 2- or 5-digit add-on read with an EAN/UPC symbol
};

// Reads at most one symbol of the family, in the picture as it stands (no turning).
// Never throws: a decoder failure reads as nothing found.
ScanRead ReadSymbol(const QImage& picture, ScanFamily family);

}  // namespace platform
