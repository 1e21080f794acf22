// Reading a screenshot the way a person reads the screen: the words of the menu bar,
// the rows of an open menu and their check marks, the icons of a tool bar, the grey
// preview area and the picture inside it. Nothing here knows the program's code.
#pragma once

#include <QImage>
#include <QList>
#include <QRect>

namespace e2e {

// The items of a menu bar (the first line of dark text from the top), left to right.
QList<QRect> MenuBarItems(const QImage& window);
// The item rows of an open menu, top to bottom.
QList<QRect> MenuRows(const QImage& menu);
// Whether the check box left of a menu row holds a mark.
bool RowChecked(const QImage& menu, const QRect& row);
// The icons of a tool bar lying in band, left to right (thin separators are no icons).
QList<QRect> ToolIcons(const QImage& window, const QRect& band);

struct Preview {
    QRect viewport;  // the visible grey area, null when there is none
    QRect picture;   // what stands on the grey, null when nothing does
};
Preview FindPreview(const QImage& window);

// Whether two pictures have the same size and pixels (QImage's == also compares the
// colour spaces that PNG readers attach).
bool SamePixels(const QImage& a, const QImage& b);
// The smallest rectangle holding every pixel darker than mid grey; null when none is.
QRect DarkBox(const QImage& image);
// Whether every pixel is pure black or pure white.
bool OnlyBlackAndWhite(const QImage& image);
// The picture on a white sheet with margin pixels all round, as when it is pasted into a document.
QImage OnWhiteSheet(const QImage& picture, int margin);

}  // namespace e2e
