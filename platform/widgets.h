// Small builders for controls placed at design positions, named after their fixed
// control names so that tests and automation can find them.
#pragma once

#include <QRect>
#include <QString>
#include <initializer_list>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace platform {

// The design fonts are given as heights in pixels: 11 for windows, 13 for panel labels.
void SetPixelFont(QWidget* widget, int pixels, bool bold = false);

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QRect place);
QLineEdit* NewEdit(QWidget* parent, const char* name, const QString& text, QRect place);
// Buttons keep Qt's auto-default: in a dialog, Enter presses the focused button
// (Enter in a number box ends there, see keyfilter.h); elsewhere Enter passes them by.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect place);

// Sets the tab order to the given sequence.
void SetTabOrder(std::initializer_list<QWidget*> order);

}  // namespace platform
