// The resolution a print queue puts on paper, as the print system names its default.
// The print system's library is loaded only when this is first asked, so a window that
// never prints starts without it.
#pragma once

#include <QString>

namespace platform {

// The default resolution of the named queue in dots per inch; 0 where it cannot be known:
// no such queue, no resolution in its description, or no print system library installed.
int QueueDefaultDots(const QString& queue);

}  // namespace platform
