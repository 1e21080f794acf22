#include "symbologies.h"

#include "C39form.h"
#include "ENA13form.h"
#include "ean8Unit.h"
#include "upc_aunit.h"
#include "upce_unit.h"

namespace {

template <class Editor>
QWidget* Create(QWidget* parent, EditorHost& host)
{
    return new Editor(parent, host);
}

const SymbologyRow kSymbologies[] = {
    {"Bar Code C39", "C391", &Create<Tc39fm>},
    {"Bar Code ENA13", "ENA13", &Create<Tena13fm>},
    {"Bar Code UPC-A", "upca1", &Create<Tfmupc_a>},
    {"Bar Code ENA8", "EAN81", &Create<Tfmean8>},
    {"Bar Code UPC-E", "UPCE1", &Create<Tfmupce>},
};

}  // namespace

std::span<const SymbologyRow> Symbologies() { return kSymbologies; }
