#include "keyfilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace platform {
namespace {

// Backspace, Tab, Enter, and Delete and Esc as X11 sends them (0x7f, 0x1b): keys
// whose text is a control code edit or navigate; they are not typing.
bool IsControlCode(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }

// The box still sees its Enter, but the key goes no further: in a dialog the window
// would press its default button, which may be the very button that just took the
// focus, so a single Enter would both move on and save or print.
bool MoveFocusOnEnter(QWidget* box, QWidget* form, QKeyEvent* key)
{
    FocusNextInForm(box, form);
    static_cast<QObject*>(box)->event(key);
    key->accept();
    return true;
}

}  // namespace

bool KeyPressRoute::eventFilter(QObject*, QEvent* event)
{
    return event->type() == QEvent::KeyPress && handler_(static_cast<QKeyEvent*>(event));
}

void RouteKeyPresses(QWidget* box, KeyHandler handler) { box->installEventFilter(new KeyPressRoute(box, std::move(handler))); }

bool FilterNumericKey(QWidget* box, QWidget* form, QKeyEvent* key, bool allowPoint, bool enterMovesFocus)
{
    // Shortcuts such as Ctrl+V paste; pasted text is not filtered.
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) return enterMovesFocus && MoveFocusOnEnter(box, form, key);
    const QString text = key->text();
    if (text.isEmpty() || IsControlCode(text.at(0))) return false;
    const QChar c = text.at(0);
    const bool passes = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (allowPoint && c == QLatin1Char('.'));
    return !passes;
}

void InstallNumericFilter(QWidget* box, QWidget* form, bool allowPoint, bool enterMovesFocus)
{
    RouteKeyPresses(box, [box, form, allowPoint, enterMovesFocus](QKeyEvent* key) {
        return FilterNumericKey(box, form, key, allowPoint, enterMovesFocus);
    });
}

void FocusNextInForm(QWidget* widget, QWidget* form)
{
    for (QWidget* next = widget->nextInFocusChain(); next && next != widget; next = next->nextInFocusChain()) {
        const bool takesTab = (next->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
        if (takesTab && next->isEnabled() && next->isVisibleTo(form) && form->isAncestorOf(next)) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

}  // namespace platform
