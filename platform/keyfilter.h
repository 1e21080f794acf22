// The numeric key filter of the number boxes: typed digits, the point (where a
// fraction is allowed), backspace and Enter pass; any other typed character is
// swallowed. Keys without a character or with a control code for text (Delete, Esc)
// and pasted text are not touched. Optionally Enter moves the focus to the next
// control in tab order within the form; that Enter then ends at the box.
#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace platform {

class NumericKeyFilter : public QObject {
public:
    NumericKeyFilter(QWidget* form, bool allowPoint, bool enterMovesFocus);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool MoveFocusOnEnter(QObject* box, QKeyEvent* key);

    QWidget* form_;
    bool allowPoint_;
    bool enterMovesFocus_;
};

void InstallNumericFilter(QWidget* box, QWidget* form, bool allowPoint, bool enterMovesFocus);
// Moves the focus from widget to the next focusable control of form, wrapping round.
void FocusNextInForm(QWidget* widget, QWidget* form);

}  // namespace platform
