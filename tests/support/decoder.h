// An independent check that a symbol scans: decodes a bitmap with ZXing-cpp and
// returns every text it read (an EAN/UPC add-on is read too).
#pragma once

#include <QImage>
#include <QStringList>

// EanUpcWithAddOn reads only a symbol together with its add-on. A Code 128 text starts
// with its symbology identifier, ]C1 for GS1-128 (whose FNC1 separators read as ASCII
// 29), ]C0 otherwise. Itf reads Interleaved 2 of 5 (ITF-14).
enum class Symbology { Code39, EanUpc, EanUpcWithAddOn, Code128, Itf };

QStringList DecodeSymbols(const QImage& image, Symbology symbology);
