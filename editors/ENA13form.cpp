#include "ENA13form.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editorhost.h"
#include "engines/ena13unit.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/widgets.h"
#include "symbols/notices.h"
#include "symbols/symbolbuild.h"

namespace {

const EditorDesign kDesign = {
    .caption = "EAN-13",
    .client = {688, 446},
    .panelHeight = 214,
    .firstPicture = {8, 8, 656, 147},
    .colorButton = true,
    .releasesPicturesOnClose = true,
    .heightDefault = "1.3",
    .closeCaption = nullptr,
    .label1 = {12, 41, 165, 20},
    .fheightedt = {192, 39, 105, 21},
    .label7 = {62, 102, 110, 20},
    .heardtextedt = {191, 98, 346, 21},
    .label6 = {21, 128, 150, 20},
    .barcodeedt = {191, 125, 346, 21},
    .label4 = {68, 168, 100, 17},
    .label5 = {77, 188, 100, 17},
    .button1 = {456, 184, 81, 25},
    .button4 = {536, 184, 65, 25},
    .button3 = {},
    .button5 = {604, 184, 70, 25},
    .lowerInnerPanel = true,
};

}  // namespace

Tena13fm::Tena13fm(QWidget* parent, EditorHost& host) : TBarEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("ena13fm"));
    Label2 = PanelLabel("Label2", "Bar  code  Width (inches)", QRect(11, 70, 155, 20));
    ComboBox1 = new QComboBox(Panel2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(192, 68, 105, 21);
    for (int inches = 1; inches <= 9; ++inches) ComboBox1->addItem(QString::number(inches));
    ComboBox1->setCurrentIndex(1);
    Label3 = PanelLabel("Label3", "Ean13 Supplemental: ", QRect(21, 155, 153, 25), true);
    Edit1 = platform::NewEdit(Panel2, "Edit1", {}, QRect(192, 152, 137, 21));
    Edit1->setMaxLength(5);
    Label2->setBuddy(ComboBox1);
    // A list box would be named after the item it shows.
    ComboBox1->setAccessibleName(Label2->text());
    Label3->setBuddy(Edit1);
    barcodeedt->setMaxLength(symbols::NamesOf(symbols::Kind::Ean13).messageDigits);

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    platform::RouteKeyPresses(Edit1, [this](QKeyEvent* key) { return Edit1KeyPress(key); });
    platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button5, ComboBox1, Edit1});
}

// Enter moves on from the height and the message, not from the add-on.
bool Tena13fm::fheightedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(fheightedt, this, key, true, true); }
bool Tena13fm::barcodeedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(barcodeedt, this, key, false, true); }
bool Tena13fm::Edit1KeyPress(QKeyEvent* key) { return platform::FilterNumericKey(Edit1, this, key, false, false); }

void Tena13fm::Button1Click()
{
    platform::Guarded([this] { Build(); });
}

void Tena13fm::Build()
{
    barcodeedt->setFocus();
    EnableTurnButtons();
    // Only pasted text can hold a non-digit; the engine cannot encode it, so the last
    // good symbol stays where it is.
    const QString notice = symbols::MessageNotice(symbols::Kind::Ean13, barcodeedt->text());
    if (!notice.isEmpty()) return platform::ShowNotice(this, notice);
    // An add-on of another length is told, and the symbol built without it.
    QString addOn = Edit1->text();
    if (!symbols::AddOnLengthAccepted(addOn)) {
        platform::ShowNotice(this, symbols::AddOnLengthNotice(symbols::Kind::Ean13));
        Edit1->setFocus();
        addOn.clear();
    }
    WhitenPictures();
    if (fheightedt->text().isEmpty()) return;
    symbols::Inputs inputs = SharedInputs();
    inputs.message = barcodeedt->text().toStdString();
    inputs.addOn = addOn.toStdString();
    inputs.height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    inputs.width = ComboBox1->currentText().toInt();
    const symbols::Drawing drawing = symbols::Prepare(symbols::Kind::Ean13, inputs);
    // Without a resolution the build stops with the pictures white.
    if (drawing.refusal == symbols::Refusal::Resolution || !Accepted(drawing)) return;
    if (!SizePicture(drawing.width, drawing.height)) return;
    PaintPreview(drawing);
    FinishBuild(true, drawing, inputs);
}
