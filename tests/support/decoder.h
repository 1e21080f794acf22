// An independent check that a symbol scans: decodes a bitmap with ZXing-cpp and
// returns every text it read (an EAN/UPC add-on is read too).
#pragma once

#include <QImage>
#include <QStringList>

// EanUpcWithAddOn reads only a symbol together with its add-on.
enum class Symbology { Code39, EanUpc, EanUpcWithAddOn };

QStringList DecodeSymbols(const QImage& image, Symbology symbology);
