// libcups is opened by its runtime name on the first question and then kept for the run:
// linked at start-up it would load GnuTLS, Kerberos and Avahi into every start, though
// only the print option dialog asks it anything. Its header gives the types alone.
#include "printerdots.h"

#include <algorithm>
#include <cups/cups.h>
#include <dlfcn.h>

#include "engines/rounding.h"

namespace platform {

namespace {

// The few functions asked, each null where the library or the symbol is missing.
struct Cups {
    decltype(&::cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&::cupsCopyDestInfo) copyDestInfo = nullptr;
    decltype(&::cupsFindDestDefault) findDestDefault = nullptr;
    decltype(&::ippGetResolution) getResolution = nullptr;
    decltype(&::cupsFreeDestInfo) freeDestInfo = nullptr;
    decltype(&::cupsFreeDests) freeDests = nullptr;

    bool Complete() const
    {
        return getNamedDest && copyDestInfo && findDestDefault && getResolution && freeDestInfo && freeDests;
    }
};

template <typename Function>
void Find(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
}

Cups Load()
{
    Cups cups;
    // Never closed: the library may keep threads and state of its own for the run.
    void* library = dlopen("libcups.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (!library) return cups;
    Find(library, "cupsGetNamedDest", cups.getNamedDest);
    Find(library, "cupsCopyDestInfo", cups.copyDestInfo);
    Find(library, "cupsFindDestDefault", cups.findDestDefault);
    Find(library, "ippGetResolution", cups.getResolution);
    Find(library, "cupsFreeDestInfo", cups.freeDestInfo);
    Find(library, "cupsFreeDests", cups.freeDests);
    return cups;
}

const Cups& Library()
{
    static const Cups cups = Load();
    return cups;
}

}  // namespace

// Qt lays every page out at a resolution of its own (1200 dpi for a high-resolution
// printer) and does not tell the queue's: its list of supported resolutions holds 72 alone.
int QueueDefaultDots(const QString& queue)
{
    if (queue.isEmpty()) return 0;
    const Cups& cups = Library();
    if (!cups.Complete()) return 0;
    cups_dest_t* dest = cups.getNamedDest(CUPS_HTTP_DEFAULT, queue.toUtf8().constData(), nullptr);
    if (!dest) return 0;
    int dots = 0;
    if (cups_dinfo_t* info = cups.copyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        if (ipp_attribute_t* found = cups.findDestDefault(CUPS_HTTP_DEFAULT, dest, info, "printer-resolution")) {
            int y = 0;
            ipp_res_t units = IPP_RES_PER_INCH;
            const int x = cups.getResolution(found, 0, &y, &units);
            dots = units == IPP_RES_PER_INCH ? x : engines::RoundToInt(x * 2.54);
        }
        cups.freeDestInfo(info);
    }
    cups.freeDests(1, dest);
    return std::max(0, dots);
}

}  // namespace platform
