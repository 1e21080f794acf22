#include "icons.h"

#include <QPainter>

namespace platform {
namespace {

QPixmap Blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawBars(QPainter& p, QRect area)
{
    static const int widths[] = {1, 2, 1, 3, 1, 1, 2, 1, 3, 1};
    int x = area.left();
    bool dark = true;
    for (int w : widths) {
        if (dark) p.fillRect(QRect(x, area.top(), w * 2, area.height()), Qt::black);
        x += w * 2;
        dark = !dark;
    }
}

// A disabled button shows its picture in light grey, so the user sees it is not yet usable.
QIcon WithDisabledLook(const QPixmap& pixmap)
{
    QPixmap grey = pixmap;
    QPainter p(&grey);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(grey.rect(), QColor(170, 170, 170));
    p.end();
    QIcon icon(pixmap);
    icon.addPixmap(grey, QIcon::Disabled);
    return icon;
}

}  // namespace

QPixmap ProgramPixmap()
{
    QPixmap pixmap = Blank(36);
    QPainter p(&pixmap);
    p.fillRect(QRect(2, 2, 32, 32), Qt::white);
    p.setPen(Qt::darkBlue);
    p.drawRect(QRect(2, 2, 31, 31));
    DrawBars(p, QRect(5, 6, 26, 24));
    return pixmap;
}

QIcon ToolBarIcon(ToolIcon which)
{
    QPixmap pixmap = Blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    switch (which) {
    case iconFont:
        // A letter A drawn as strokes: rendering it from a font costs a millisecond of
        // start-up for loading and laying out the face.
        p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(QPolygon({QPoint(7, 27), QPoint(16, 5), QPoint(25, 27)}));
        p.drawLine(QPoint(11, 19), QPoint(21, 19));
        break;
    case iconHorizontal:
        DrawBars(p, QRect(4, 8, 24, 16));
        break;
    case iconPageSetting:
        p.fillRect(QRect(7, 3, 18, 26), Qt::white);
        p.drawRect(QRect(7, 3, 18, 26));
        p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
        p.drawRect(QRect(10, 6, 12, 20));
        break;
    case iconTurn:
        p.save();
        p.translate(16, 16);
        p.rotate(90);
        DrawBars(p, QRect(-12, -8, 24, 16));
        p.restore();
        break;
    case iconColour:
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(QRect(4, 4, 16, 16));
        p.setBrush(QColor(40, 160, 40));
        p.drawEllipse(QRect(12, 12, 16, 16));
        break;
    }
    p.end();
    return WithDisabledLook(pixmap);
}

}  // namespace platform
