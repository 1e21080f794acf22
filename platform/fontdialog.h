// The font dialog of the shared text font: Qt's own font chooser with a colour
// choice beside it, since the text colour belongs to the font here and Qt's font
// dialog has none.
#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QFontDialog;
class QLabel;
class QPushButton;

namespace platform {

class FontColorDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontColorDialog(QWidget* parent);

    void SetCurrent(const QFont& font, const QColor& color);
    QFont SelectedFont() const;
    QColor SelectedColor() const { return color_; }
    void SetColor(const QColor& color);

    QFontDialog* Fonts = nullptr;
    QPushButton* ColorButton = nullptr;
    QLabel* Swatch = nullptr;

public slots:
    // Opens Qt's colour dialog; cancel keeps the colour.
    void ColorButtonClick();

private:
    QColor color_ = Qt::black;
};

}  // namespace platform
