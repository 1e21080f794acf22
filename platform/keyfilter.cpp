#include "keyfilter.h"

#include <QKeyEvent>
#include <QWidget>

namespace platform {

NumericKeyFilter::NumericKeyFilter(QWidget* form, bool allowPoint, bool enterMovesFocus)
    : QObject(form), form_(form), allowPoint_(allowPoint), enterMovesFocus_(enterMovesFocus)
{
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts such as Ctrl+V paste; pasted text is not filtered.
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) {
        if (enterMovesFocus_) FocusNextInForm(static_cast<QWidget*>(watched), form_);
        return false;
    }
    // Tab carries a character too, but it is focus navigation, not typing.
    const int k = key->key();
    if (k == Qt::Key_Backspace || k == Qt::Key_Tab || k == Qt::Key_Backtab || key->text().isEmpty()) return false;
    const QChar c = key->text().at(0);
    const bool passes = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (allowPoint_ && c == QLatin1Char('.'));
    return !passes;
}

void InstallNumericFilter(QWidget* box, QWidget* form, bool allowPoint, bool enterMovesFocus)
{
    box->installEventFilter(new NumericKeyFilter(form, allowPoint, enterMovesFocus));
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
