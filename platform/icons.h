// The program icon and the 32 x 32 tool bar pictures, drawn in code so the program
// carries no image files.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace platform {

enum ToolIcon { iconFont = 0, iconHorizontal = 1, iconPageSetting = 2, iconTurn = 3, iconColour = 4 };

QPixmap ProgramPixmap();
QIcon ToolBarIcon(ToolIcon which);

}  // namespace platform
