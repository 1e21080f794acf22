#include "upce_unit.h"

#include "platform/notices.h"

namespace {
const UpcFamilyDesign kDesign = {
    .frame = UpcFrame("fmupce", 690, 446),
    .kind = symbols::Kind::UpcE,
    .addOnCaption = "Upc-e Supplemental: ",
    .widthBeforeAddOn = false,
};
}  // namespace

Tfmupce::Tfmupce(QWidget* parent, EditorHost& host) : TUpcEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("fmupce"));
}

void Tfmupce::Button1Click()
{
    platform::Guarded([this] { Build(); });
}
