#include "upc_aunit.h"

#include "platform/notices.h"

namespace {
const UpcFamilyDesign kDesign = {
    .frame = UpcFrame("fmupc_a", 688, 445),
    .kind = symbols::Kind::UpcA,
    .addOnCaption = "Upc-a Supplemental: ",
    .widthBeforeAddOn = false,
};
}  // namespace

Tfmupc_a::Tfmupc_a(QWidget* parent, EditorHost& host) : TUpcEditor(parent, host, kDesign)
{
    setObjectName(QStringLiteral("fmupc_a"));
}

void Tfmupc_a::Button1Click()
{
    platform::Guarded([this] { Build(); });
}
