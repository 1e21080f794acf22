// The numeric key filter of the number boxes: typed digits, the point (where a
// fraction is allowed), backspace and Enter pass; any other typed character is
// swallowed. Keys without a character or with a control code for text (Delete, Esc)
// and pasted text are not touched. Optionally Enter moves the focus to the next
// control in tab order within the form; that Enter then ends at the box.
#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

namespace platform {

// A key handler returns true for a key that goes no further than it.
using KeyHandler = std::function<bool(QKeyEvent*)>;

// Every key typed into a box reaches its handler (a window's handler named after the
// box) before the box sees it.
class KeyPressRoute : public QObject {
public:
    KeyPressRoute(QObject* parent, KeyHandler handler) : QObject(parent), handler_(std::move(handler)) {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyHandler handler_;
};

void RouteKeyPresses(QWidget* box, KeyHandler handler);

// The numeric key filter for one key typed into box on form: true when the key is
// swallowed, or is an Enter that moved the focus on.
bool FilterNumericKey(QWidget* box, QWidget* form, QKeyEvent* key, bool allowPoint, bool enterMovesFocus);

// Routes the box's keys to the numeric key filter alone.
void InstallNumericFilter(QWidget* box, QWidget* form, bool allowPoint, bool enterMovesFocus);
// Moves the focus from widget to the next focusable control of form, wrapping round.
void FocusNextInForm(QWidget* widget, QWidget* form);

}  // namespace platform
