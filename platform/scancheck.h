// What a scanner reads from a finished picture: the one place that knows the decoder
// library (ZXing-cpp). The editors ask for a symbology family and get back plain text.
#pragma once

#include <QImage>
#include <QString>

namespace platform {

enum class ScanFamily { Code39, EanUpc, Code128, Itf };

struct ScanRead {
    bool found = false;
    // "Code 39", "EAN-13", "UPC-A", "EAN-8", "UPC-E", "Code 128", "GS1-128" (Code 128
    // opened by FNC1), "ITF-14" (Interleaved 2 of 5 of 14 digits) or "ITF"
    QString symbology;
    // The characters of the symbol, an EAN/UPC check digit included; GS1-128 fields
    // parted by the group separator (ASCII 29) where FNC1 parts them.
    QString text;
    QString addOn;      // the 2- or 5-digit add-on read with an EAN/UPC symbol
};

// Reads at most one symbol of the family, in the picture as it stands (no turning).
// Never throws: a decoder failure reads as nothing found.
ScanRead ReadSymbol(const QImage& picture, ScanFamily family);

}  // namespace platform
