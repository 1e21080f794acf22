#include "upc_aunit.h"

#include "engines/Tupc_a_barunit.h"
#include "platform/notices.h"

namespace {
const UpcFamilyDesign kDesign = {
    .frame = UpcFrame("fmupc_a", 688, 445),
    .symbology = ScanSymbology::UpcA,
    .messageLength = 11,
    .lengthNotice = "The 'Bar code message' must contain 11 numbers.",
    .addOnLabel = "Upc-a Supplemental: ",
    .addOnNotice = "The 'Upc-a Supplemental' must contain 2 or 5 numbers.",
    .modules = 95,
    .widthBeforeAddOn = false,
};
}  // namespace

Tfmupc_a::Tfmupc_a(QWidget* parent, EditorHost& host) : TUpcEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("fmupc_a"));
}

void Tfmupc_a::Button1Click()
{
    platform::Guarded([this] { Build<engines::Tupc_a>(); });
}
