#include "svgcanvas.h"

#include <QFontMetrics>
#include <QString>

#include "platform/qtcanvas.h"

namespace platform {

namespace {

QByteArray Colour(engines::Rgb c)
{
    return QByteArray("#") + QByteArray::number((c.r << 16) | (c.g << 8) | c.b, 16).rightJustified(6, '0');
}

// XML takes no control character but tab, line feed and carriage return, no lone
// surrogate and neither U+FFFE nor U+FFFF: a control character is shown as its control
// picture (U+2400 to U+241F, U+2421 for delete), anything else XML refuses as U+FFFD,
// so that the file always parses and the text still shows where something was.
QString XmlText(const std::string& text)
{
    const std::u32string code = QString::fromStdString(text).toStdU32String();
    QString shown;
    shown.reserve(qsizetype(code.size()));
    for (const char32_t c : code) {
        char32_t kept = c;
        if (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D)
            kept = 0x2400 + c;
        else if (c == 0x7F)
            kept = 0x2421;
        else if ((c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE || c == 0xFFFF || c > 0x10FFFF)
            kept = 0xFFFD;
        shown += QString::fromUcs4(&kept, 1);
    }
    return shown;
}

QByteArray Escaped(const std::string& text) { return XmlText(text).toHtmlEscaped().toUtf8(); }

}  // namespace

void SvgCanvas::FillRect(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top) return;
    body_ += QByteArray("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                 .replace("%1", QByteArray::number(left))
                 .replace("%2", QByteArray::number(top))
                 .replace("%3", QByteArray::number(right - left))
                 .replace("%4", QByteArray::number(bottom - top))
                 .replace("%5", Colour(brush_));
}

bool SvgCanvas::TextOut(int x, int y, const std::string& text)
{
    // The same box and baseline as on a picture: the text's advance by the font's height.
    const QFont font = ToQFont(font_, PictureTextDpi());
    const QFontMetrics metrics(font);
    const QString s = QString::fromStdString(text);
    FillRect(x, y, x + metrics.horizontalAdvance(s), y + metrics.height());
    QByteArray element = "<text x=\"" + QByteArray::number(x) + "\" y=\"" + QByteArray::number(y + metrics.ascent()) +
                         "\" font-family=\"" + Escaped(font_.face) + "\" font-size=\"" +
                         QByteArray::number(font.pixelSize()) + "\" fill=\"" + Colour(font_.color) + "\"";
    if (font_.style & engines::fsBold) element += " font-weight=\"bold\"";
    if (font_.style & engines::fsItalic) element += " font-style=\"italic\"";
    if (font_.style & (engines::fsUnderline | engines::fsStrikeOut))
        element += QByteArray(" text-decoration=\"") + (font_.style & engines::fsUnderline ? "underline" : "") +
                   (font_.style & engines::fsUnderline && font_.style & engines::fsStrikeOut ? " " : "") +
                   (font_.style & engines::fsStrikeOut ? "line-through" : "") + "\"";
    body_ += element + " xml:space=\"preserve\">" + Escaped(text) + "</text>\n";
    return true;
}

QByteArray SvgDocument(int width, int height, int dpi, const std::function<void(engines::Canvas&)>& paint)
{
    SvgCanvas canvas;
    paint(canvas);
    const auto inches = [dpi](int pixels) { return QByteArray::number(double(pixels) / dpi, 'g', 10) + "in"; };
    const QByteArray w = QByteArray::number(width), h = QByteArray::number(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           inches(width) + "\" height=\"" + inches(height) + "\" viewBox=\"0 0 " + w + " " + h +
           "\" shape-rendering=\"crispEdges\">\n<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h +
           "\" fill=\"#ffffff\"/>\n" + canvas.Body() + "</svg>\n";
}

}  // namespace platform
