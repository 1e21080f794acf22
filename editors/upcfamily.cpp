#include "upcfamily.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "editorhost.h"
#include "engines/Tean8unit.h"
#include "engines/Tupc_a_barunit.h"
#include "engines/Tupce_unit.h"
#include "engines/rounding.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/widgets.h"

namespace {
// An add-on adds its modules and the gap before it to the module count.
constexpr int kAddOnModules2 = 32;
constexpr int kAddOnModules5 = 59;

// The number a scanner reports. UPC-A and EAN-8 engines have appended the check digit
// to the message by the time they have drawn; a UPC-E symbol reads as its number
// system 0, the six digits and the check digit of their expansion.
std::string ScannedNumber(const engines::Tbar& engine) { return engine.Message(); }
std::string ScannedNumber(const engines::Tupce& engine) { return "0" + engine.Message() + engine.ExpandToUpcA(); }
}  // namespace

TUpcEditor::TUpcEditor(QWidget* parent, EditorHost& host, const UpcFamilyDesign& design)
    : TBarEditor(parent, host, design.frame), family_(design)
{
    Label2 = PanelLabel("Label2", "Single Bar Width (mils)", QRect(16, 44, 190, 17));
    barwidth = platform::NewEdit(Panel2, "barwidth", QStringLiteral("21"), QRect(210, 42, 90, 21));
    Label3 = PanelLabel("Label3", design.addOnLabel, QRect(16, 136, 190, 17), true);
    Supplementaltxt = platform::NewEdit(Panel2, "Supplementaltxt", {}, QRect(210, 134, 137, 21));
    Supplementaltxt->setMaxLength(5);
    barcodeedt->setMaxLength(design.messageLength);

    // No key moves the focus in these editors.
    platform::InstallNumericFilter(fheightedt, this, true, false);
    platform::InstallNumericFilter(barwidth, this, true, false);
    platform::InstallNumericFilter(barcodeedt, this, false, false);
    platform::InstallNumericFilter(Supplementaltxt, this, false, false);
    if (design.widthBeforeAddOn)
        platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button3, barwidth, Supplementaltxt});
    else
        platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button3, Supplementaltxt, barwidth});
}

bool TUpcEditor::LengthsAccepted()
{
    if (barcodeedt->text().size() != family_.messageLength) {
        platform::ShowNotice(this, QString::fromLatin1(family_.lengthNotice));
        barcodeedt->setFocus();
        return false;
    }
    const auto addOn = Supplementaltxt->text().size();
    if (addOn != 0 && addOn != 2 && addOn != 5) {
        platform::ShowNotice(this, QString::fromLatin1(family_.addOnNotice));
        Supplementaltxt->setFocus();
        return false;
    }
    return true;
}

template <class Engine>
void TUpcEditor::Build()
{
    if (!LengthsAccepted()) return;
    const std::string message = barcodeedt->text().toStdString();
    const std::string addOn = Supplementaltxt->text().toStdString();

    Engine engine;
    engine.ReadResolution();
    engine.SetBarColor(host.BarColor());
    engine.SetFont(&host.TextFont());
    engine.SetModuleCount(family_.modules +
                          (addOn.size() == 2 ? kAddOnModules2 : addOn.size() == 5 ? kAddOnModules5 : 0));
    const int r = engine.Resolution();
    engine.SetModuleWidth(engines::RoundToInt(platform::StrToInt(barwidth->text()) / 1000.0 * r));
    engine.SetBarHeight(engines::RoundToInt(platform::StrToFloat(fheightedt->text(), QLocale::c()) * r));
    engine.SetMessage(message);
    const PageValues page = host.Pages();
    engine.SetLeftSpace(page.fleft);
    engine.SetTopSpace(page.ftop);
    engine.SetRightSpace(page.fright);
    engine.SetDownSpace(page.fdown);
    engine.SetInterval(page.fiwidth);
    engine.Supplemental = addOn;

    // Pasted non-digits raise the conversion error here, before anything is drawn, so no
    // half-built symbol reaches the preview, the clipboard or the work bitmap.
    Engine probe;
    probe.SetMessage(message);
    probe.Encode(message);
    if (!addOn.empty()) engines::Tbar::EncodeSupplemental(addOn);

    if (!SizePicture(engine.SymbolWidth(), engine.SymbolHeight())) return;
    // After the sizing: a comment moves the symbol down but never enlarges the picture.
    engine.SetComment(heardtextedt->text().toStdString());
    BuiltSymbol built{
        .symbology = family_.symbology,
        .number = {},
        .addOn = QString::fromStdString(addOn),
        .comment = heardtextedt->text(),
        .resolution = r,
        .fontSize = host.TextFont().size,
        .interval = page.fiwidth,
        // Every text keeps one interval from the bars it faces. The digits under the
        // bars move down by two intervals while the picture grows by one, so below
        // them each pixel of interval is one pixel less.
        .leverage = {1, 1, 1, -1},
        .widthFor = WholeMilsInput(QStringLiteral("Single Bar Width"), r),
        .drawn = {},
    };
    {
        platform::ImageCanvas canvas(Image1->picture);
        canvas.SetLog(&built.drawn);
        engine.SetCanvas(&canvas);
        engine.Draw();
        if (!addOn.empty()) engine.DrawSupplemental();
    }
    built.number = QString::fromStdString(ScannedNumber(engine));
    FinishBuild(true, std::move(built));
}

template void TUpcEditor::Build<engines::Tupc_a>();
template void TUpcEditor::Build<engines::Tean8>();
template void TUpcEditor::Build<engines::Tupce>();
