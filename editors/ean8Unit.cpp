#include "ean8Unit.h"

#include "platform/notices.h"

namespace {
const UpcFamilyDesign kDesign = {
    .frame = UpcFrame("fmean8", 687, 452),
    .kind = symbols::Kind::Ean8,
    .addOnCaption = "Ean8 Supplemental: ",
    .widthBeforeAddOn = true,
};
}  // namespace

Tfmean8::Tfmean8(QWidget* parent, EditorHost& host) : TUpcEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("fmean8"));
}

void Tfmean8::Button1Click()
{
    platform::Guarded([this] { Build(); });
}
