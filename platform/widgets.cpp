#include "widgets.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qtcanvas.h"

namespace platform {

void SetPixelFont(QWidget* widget, int pixels, bool bold)
{
    QFont font = widget->font();
    font.setFamily(DesignFamily());
    font.setPixelSize(pixels);
    font.setBold(bold);
    widget->setFont(font);
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QRect place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    return label;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, const QString& text, QRect place)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    return edit;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect place)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    return button;
}

void SetTabOrder(std::initializer_list<QWidget*> order)
{
    for (auto it = order.begin(); it + 1 < order.end(); ++it) QWidget::setTabOrder(*it, *(it + 1));
}

}  // namespace platform
