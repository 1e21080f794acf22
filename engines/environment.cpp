// Replaceable hooks for the screen resolution and for notices raised while painting.
#include "environment.h"

#include <cerrno>
#include <utility>

namespace engines {
namespace {
ResolutionSource& resolutionSource()
{
    static ResolutionSource source;
    return source;
}
NoticeSink& noticeSink()
{
    static NoticeSink sink;
    return sink;
}
}  // namespace

int ScreenResolution()
{
    return resolutionSource() ? resolutionSource()() : 0;
}

void SetScreenResolutionSource(ResolutionSource source) { resolutionSource() = std::move(source); }

void ShowEngineNotice(const std::string& text)
{
    if (noticeSink()) noticeSink()(text);
}

void SetNoticeSink(NoticeSink sink) { noticeSink() = std::move(sink); }

int LastSystemError() { return errno; }

}  // namespace engines
