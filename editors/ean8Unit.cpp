#include "ean8Unit.h"

#include "engines/Tean8unit.h"
#include "platform/notices.h"

namespace {
const UpcFamilyDesign kDesign = {
    .frame = UpcFrame("fmean8", 687, 452),
    .symbology = ScanSymbology::Ean8,
    .messageLength = 7,
    .lengthNotice = "The 'Bar code message' must contain 7 numbers.",
    .addOnLabel = "Ean8 Supplemental: ",
    .addOnNotice = "The 'Ean8 Supplemental' must contain 2 or 5 numbers.",
    .modules = 67,
    .widthBeforeAddOn = true,
};
}  // namespace

Tfmean8::Tfmean8(QWidget* parent, EditorHost& host) : TUpcEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("fmean8"));
}

void Tfmean8::Button1Click()
{
    platform::Guarded([this] { Build<engines::Tean8>(); });
}
