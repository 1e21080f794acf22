#include "symbologies.h"

#include "editors/C39form.h"
#include "editors/ENA13form.h"
#include "editors/ean8Unit.h"
#include "editors/linearfamily.h"
#include "editors/upc_aunit.h"
#include "editors/upce_unit.h"
#include "mainform.h"

namespace {

template <class Editor>
QWidget* Create(QWidget* parent, EditorHost& host)
{
    return new Editor(parent, host);
}

// The Code 128 family is one editor class; its kind picks the numbers.
template <symbols::Kind kind>
QWidget* CreateLinear(QWidget* parent, EditorHost& host)
{
    return new TLinearEditor(parent, host, kind);
}

using symbols::Kind;
const SymbologyRow kSymbologies[] = {
    {Kind::Code39, "C391", &Tmainfm::C391, &Tmainfm::C391Click, &Create<Tc39fm>},
    {Kind::Ean13, "ENA13", &Tmainfm::ENA13, &Tmainfm::ENA13Click, &Create<Tena13fm>},
    {Kind::Ean8, "EAN81", &Tmainfm::EAN81, &Tmainfm::EAN81Click, &Create<Tfmean8>},
    {Kind::UpcA, "upca1", &Tmainfm::upca1, &Tmainfm::upca1Click, &Create<Tfmupc_a>},
    {Kind::UpcE, "UPCE1", &Tmainfm::UPCE1, &Tmainfm::UPCE1Click, &Create<Tfmupce>},
    {Kind::Code128, "Code1281", &Tmainfm::Code1281, &Tmainfm::Code1281Click, &CreateLinear<Kind::Code128>},
    {Kind::Gs1_128, "GS11281", &Tmainfm::GS11281, &Tmainfm::GS11281Click, &CreateLinear<Kind::Gs1_128>},
    {Kind::Itf14, "ITF141", &Tmainfm::ITF141, &Tmainfm::ITF141Click, &CreateLinear<Kind::Itf14>},
};

}  // namespace

std::span<const SymbologyRow> Symbologies() { return kSymbologies; }
