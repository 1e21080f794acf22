#include "upcfamily.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editorhost.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/widgets.h"
#include "symbols/notices.h"
#include "symbols/symbolbuild.h"

TUpcEditor::TUpcEditor(QWidget* parent, EditorHost& host, const UpcFamilyDesign& design)
    : TBarEditor(parent, host, design.frame), family_(design)
{
    Label2 = PanelLabel("Label2", "Single Bar Width (mils)", QRect(16, 44, 190, 17));
    barwidth = platform::NewEdit(Panel2, "barwidth", QStringLiteral("21"), QRect(210, 42, 90, 21));
    Label3 = PanelLabel("Label3", design.addOnCaption, QRect(16, 136, 190, 17), true);
    Supplementaltxt = platform::NewEdit(Panel2, "Supplementaltxt", {}, QRect(210, 134, 137, 21));
    Supplementaltxt->setMaxLength(5);
    Label2->setBuddy(barwidth);
    Label3->setBuddy(Supplementaltxt);
    barcodeedt->setMaxLength(symbols::NamesOf(design.kind).messageDigits);

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(barwidth, [this](QKeyEvent* key) { return barwidthKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    platform::RouteKeyPresses(Supplementaltxt, [this](QKeyEvent* key) { return SupplementaltxtKeyPress(key); });
    if (design.widthBeforeAddOn)
        platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button5, Button3, barwidth, Supplementaltxt});
    else
        platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button5, Button3, Supplementaltxt, barwidth});
}

bool TUpcEditor::fheightedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(fheightedt, this, key, true, false); }
bool TUpcEditor::barwidthKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(barwidth, this, key, true, false); }
bool TUpcEditor::barcodeedtKeyPress(QKeyEvent* key) { return platform::FilterNumericKey(barcodeedt, this, key, false, false); }
bool TUpcEditor::SupplementaltxtKeyPress(QKeyEvent* key)
{
    return platform::FilterNumericKey(Supplementaltxt, this, key, false, false);
}

bool TUpcEditor::LengthsAccepted()
{
    if (const QString notice = symbols::MessageNotice(family_.kind, barcodeedt->text()); !notice.isEmpty()) {
        platform::ShowNotice(this, notice);
        barcodeedt->setFocus();
        return false;
    }
    if (!symbols::AddOnLengthAccepted(Supplementaltxt->text())) {
        platform::ShowNotice(this, symbols::AddOnLengthNotice(family_.kind));
        Supplementaltxt->setFocus();
        return false;
    }
    return true;
}

void TUpcEditor::Build()
{
    if (!LengthsAccepted()) return;
    symbols::Inputs inputs = SharedInputs();
    inputs.message = barcodeedt->text().toStdString();
    inputs.addOn = Supplementaltxt->text().toStdString();
    inputs.width = platform::StrToInt(barwidth->text());
    inputs.height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    BuildAndShow(family_.kind, inputs);
}
