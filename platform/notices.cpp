#include "notices.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

void ShowNotice(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Notice"), text, QMessageBox::Ok, owner);
    box.exec();
}

void ShowErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace platform
