#include "fontdialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

FontColorDialog::FontColorDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FontDialog1"));
    setWindowTitle(QStringLiteral("Font"));
    Fonts = new QFontDialog(this);
    Fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    Fonts->setWindowFlags(Qt::Widget);

    auto* colorRow = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Color:"), this);
    Swatch = new QLabel(this);
    Swatch->setObjectName(QStringLiteral("Swatch"));
    Swatch->setFixedSize(48, 20);
    Swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    Swatch->setAutoFillBackground(true);
    ColorButton = new QPushButton(QStringLiteral("Color..."), this);
    ColorButton->setObjectName(QStringLiteral("ColorButton"));
    colorRow->addWidget(caption);
    colorRow->addWidget(Swatch);
    colorRow->addWidget(ColorButton);
    colorRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Fonts);
    layout->addLayout(colorRow);
    layout->addWidget(buttons);

    connect(ColorButton, &QPushButton::clicked, this, &FontColorDialog::ColorButtonClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SetColor(color_);
}

void FontColorDialog::SetCurrent(const QFont& font, const QColor& color)
{
    Fonts->setCurrentFont(font);
    SetColor(color);
}

QFont FontColorDialog::SelectedFont() const { return Fonts->currentFont(); }

void FontColorDialog::SetColor(const QColor& color)
{
    color_ = color;
    QPalette palette = Swatch->palette();
    palette.setColor(QPalette::Window, color);
    Swatch->setPalette(palette);
}

void FontColorDialog::ColorButtonClick()
{
    const QColor chosen = QColorDialog::getColor(color_, this, QStringLiteral("Color"));
    if (chosen.isValid()) SetColor(chosen);
}

}  // namespace platform
