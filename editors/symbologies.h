// The symbologies the program offers, in the order they are compared with the name
// the settings file holds: the stored name (also the status bar text), the menu item
// that stands for it, and how its editor is made. Adding a symbology is one row here.
#pragma once

#include <span>

class EditorHost;
class QWidget;

struct SymbologyRow {
    const char* name;
    const char* menuItem;  // objectName of the Symbology menu item
    QWidget* (*create)(QWidget* parent, EditorHost& host);
};

std::span<const SymbologyRow> Symbologies();
