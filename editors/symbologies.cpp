#include "symbologies.h"

#include "C39form.h"
#include "ENA13form.h"

namespace {

template <class Editor>
QWidget* Create(QWidget* parent, EditorHost& host)
{
    return new Editor(parent, host);
}

// A symbology whose editor is not built yet has no factory and shows no editor.
const SymbologyRow kSymbologies[] = {
    {"Bar Code C39", "C391", &Create<Tc39fm>},
    {"Bar Code ENA13", "ENA13", &Create<Tena13fm>},
    {"Bar Code UPC-A", "upca1", nullptr},
    {"Bar Code ENA8", "EAN81", nullptr},
    {"Bar Code UPC-E", "UPCE1", nullptr},
};

}  // namespace

std::span<const SymbologyRow> Symbologies() { return kSymbologies; }
