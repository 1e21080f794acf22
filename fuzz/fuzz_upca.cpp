// UPC-A: eleven digits, 95 modules, six set A and six set C groups (see halves.h).
#include "engines/Tupc_a_barunit.h"
#include "halves.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::CheckSetAThenSetC<engines::Tupc_a>(data, size, 11);
}
