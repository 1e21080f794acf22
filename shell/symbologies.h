// The symbologies the main window offers, in the Symbology menu's order: each row's
// names come from its kind; here stand its menu item, the handler the item calls and
// how its editor is made. Adding a symbology is one row here and one among the kinds.
#pragma once

#include <span>

#include "symbols/kind.h"

class EditorHost;
class QAction;
class QWidget;
class Tmainfm;

struct SymbologyRow {
    symbols::Kind kind;
    const char* menuItem;  // objectName of the Symbology menu item
    QAction* Tmainfm::*item;
    void (Tmainfm::*handler)();
    QWidget* (*create)(QWidget* parent, EditorHost& host);
};

std::span<const SymbologyRow> Symbologies();
