// The encoders' element widths drawn into a picture and read back with ZXing-cpp, as a
// scanner would: a test checks what the symbol says, not how it was built.
#pragma once

#include <QImage>

#include <ZXing/ReadBarcode.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

struct ReadBack {
    std::string text;        // as ZXing gives it: FNC1 separators as ASCII 29
    std::string identifier;  // the symbology identifier, "]C1" for GS1-128
    int count = 0;           // how many symbols were read
};

// Bars and spaces alternating from a bar, each width in pixels, with `quiet` pixels of
// white on either side.
inline QImage DrawBars(const std::vector<int>& widths, int quiet, int height = 60)
{
    int total = 2 * quiet;
    for (int w : widths) total += w;
    QImage image(total, height, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    int x = quiet;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        for (int y = 0; y < height && i % 2 == 0; ++y)
            std::fill_n(image.scanLine(y) + x, widths[i], std::uint8_t{0});
        x += widths[i];
    }
    return image;
}

// Module widths drawn `pixels` pixels a module, with 10-module quiet zones.
inline QImage DrawModules(const std::vector<int>& modules, int pixels = 2)
{
    std::vector<int> widths;
    for (int m : modules) widths.push_back(m * pixels);
    return DrawBars(widths, 10 * pixels);
}

inline ReadBack ReadSymbol(const QImage& image, ZXing::BarcodeFormat format)
{
    const ZXing::ImageView view(image.constBits(), image.width(), image.height(), ZXing::ImageFormat::Lum,
                                static_cast<int>(image.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(format);
    hints.setTryHarder(true);
    ReadBack read;
    for (const auto& result : ZXing::ReadBarcodes(view, hints)) {
        if (!result.isValid()) continue;
        ++read.count;
        read.text = result.text();
        read.identifier = result.symbologyIdentifier();
    }
    return read;
}
