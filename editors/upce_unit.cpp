#include "upce_unit.h"

#include "engines/Tupce_unit.h"
#include "platform/notices.h"

namespace {
const UpcFamilyDesign kDesign = {
    .frame = UpcFrame("fmupce", 690, 446),
    .symbology = ScanSymbology::UpcE,
    .messageLength = 6,
    .lengthNotice = "The 'Bar code message' must contain 6 numbers.",
    .addOnLabel = "Upc-e Supplemental: ",
    .addOnNotice = "The 'Upc-e Supplemental' must contain 2 or 5 numbers.",
    .modules = 51,
    .widthBeforeAddOn = false,
};
}  // namespace

Tfmupce::Tfmupce(QWidget* parent, EditorHost& host) : TUpcEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("fmupce"));
}

void Tfmupce::Button1Click()
{
    platform::Guarded([this] { Build<engines::Tupce>(); });
}
