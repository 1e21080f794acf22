#include "upcfamily.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "editorhost.h"
#include "symbolbuild.h"
#include "engines/Tean8unit.h"
#include "engines/Tupc_a_barunit.h"
#include "engines/Tupce_unit.h"
#include "engines/rounding.h"
#include "platform/export.h"
#include "platform/keyfilter.h"
#include "platform/notices.h"
#include "platform/numtext.h"
#include "platform/qtcanvas.h"
#include "platform/widgets.h"

namespace {
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

    platform::RouteKeyPresses(fheightedt, [this](QKeyEvent* key) { return fheightedtKeyPress(key); });
    platform::RouteKeyPresses(barwidth, [this](QKeyEvent* key) { return barwidthKeyPress(key); });
    platform::RouteKeyPresses(barcodeedt, [this](QKeyEvent* key) { return barcodeedtKeyPress(key); });
    platform::RouteKeyPresses(Supplementaltxt, [this](QKeyEvent* key) { return SupplementaltxtKeyPress(key); });
    if (design.widthBeforeAddOn)
        platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button3, barwidth, Supplementaltxt});
    else
        platform::SetTabOrder({fheightedt, heardtextedt, barcodeedt, Button1, Button4, Button3, Supplementaltxt, barwidth});
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

    symbols::Inputs inputs;
    inputs.message = message;
    inputs.addOn = addOn;
    inputs.width = platform::StrToInt(barwidth->text());
    inputs.height = platform::StrToFloat(fheightedt->text(), QLocale::c());
    inputs.page = host.Pages();
    inputs.barColor = host.BarColor();
    // The engine keeps the font by address: a copy of its own outlives the build for exports.
    const auto font = std::make_shared<const engines::Font>(host.TextFont());
    Engine engine;
    symbols::ConfigureUpc(engine, inputs, family_.modules, font.get());
    const int r = engine.Resolution();
    const PageValues& page = inputs.page;
    // Pasted non-digits raise the conversion error here, before anything is drawn, so no
    // half-built symbol reaches the preview, the clipboard or the work bitmap.
    RequireMessageDigits(barcodeedt->text());
    if (!addOn.empty()) RequireAddOnDigits(Supplementaltxt->text());

    // The picture is sized before the comment is set: a comment moves the symbol down
    // but never enlarges the picture.
    const int width = engine.SymbolWidth(), height = engine.SymbolHeight();
    engine.SetComment(heardtextedt->text().toStdString());
    const platform::SymbolPainter paint = symbols::UpcPainter(engine, font);
    if (!BarsAccepted(paint, width, height, r, "'Single Bar Width'", symbols::kLowBarsHint)) return;
    if (!SizePicture(width, height)) return;
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
    FinishBuild(true, std::move(built), paint);
}

template void TUpcEditor::Build<engines::Tupc_a>();
template void TUpcEditor::Build<engines::Tean8>();
template void TUpcEditor::Build<engines::Tupce>();
