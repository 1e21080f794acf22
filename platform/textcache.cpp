#include "textcache.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/fonts.h"

namespace platform {

namespace {

// One drawn text: its face, size, style and colour, the box colour, the device
// resolution and the text itself.
struct TextKey {
    engines::Font font;
    QRgb box;
    int dpi;
    std::string text;
    friend bool operator==(const TextKey&, const TextKey&) = default;
};

// The bounding rectangle of every pixel not in the box colour.
QRect InkOf(const QImage& picture, QRgb box)
{
    QRect ink;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (row[x] != box) ink |= QRect(x, y, 1, 1);
    }
    return ink;
}

// The texts drawn lately, each as the picture TextOut leaves: its box in the brush
// colour with the text on it. A handful of entries serves every build; the store is
// emptied when it grows past its size, so odd texts (comment lines) cannot fill memory.
QSize BoxOf(const QFontMetrics& metrics, const QString& text)
{
    return {std::max(1, metrics.horizontalAdvance(text)), std::max(1, metrics.height())};
}

DrawnText CachedText(const TextKey& key)
{
    static std::vector<std::pair<TextKey, DrawnText>> store;
    for (const auto& [k, drawn] : store)
        if (k == key) return drawn;
    const QFont font = ToQFont(key.font, key.dpi);
    const QString s = QString::fromStdString(key.text);
    const QFontMetrics metrics(font);
    QImage picture(BoxOf(metrics, s), QImage::Format_RGB32);
    picture.fill(key.box);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(ToQColor(key.font.color));
        painter.drawText(0, metrics.ascent(), s);
    }
    if (store.size() >= 64) store.clear();
    const DrawnText drawn{picture, InkOf(picture, key.box)};
    store.emplace_back(key, drawn);
    return drawn;
}

}  // namespace

QSize TextBox(const engines::Font& font, int dpi, const std::string& text)
{
    return BoxOf(QFontMetrics(ToQFont(font, dpi)), QString::fromStdString(text));
}

DrawnText TextDrawn(const engines::Font& font, QRgb box, int dpi, const std::string& text)
{
    return CachedText({font, box, dpi, text});
}

}  // namespace platform
