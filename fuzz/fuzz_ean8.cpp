// EAN-8: seven digits, 67 modules, four set A and four set C groups (see halves.h).
#include "engines/Tean8unit.h"
#include "halves.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzz::CheckSetAThenSetC<engines::Tean8>(data, size, 7);
}
