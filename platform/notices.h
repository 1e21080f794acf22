// Message boxes: the "Notice" box with one OK button, the general error box with
// the application title as caption, and the one guard every UI handler runs behind
// so that no exception ever crosses a Qt frame.
#pragma once

#include <QString>
#include <exception>
#include <utility>

class QWidget;

namespace platform {

inline const QString kApplicationTitle = QStringLiteral("Ruvola BarCode Genertor");

void ShowNotice(QWidget* owner, const QString& text);
void ShowErrorBox(const QString& text);

template <class Handler>
void Guarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Unknown error"));
    }
}

}  // namespace platform
