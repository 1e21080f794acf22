// What an engine needs from the machine without knowing the toolkit: the screen's
// horizontal resolution, the last system error number and a way to tell the user
// something. The application installs the real answers; tests install their own.
#pragma once

#include <functional>
#include <string>

namespace engines {

using ResolutionSource = std::function<int()>;
using NoticeSink = std::function<void(const std::string&)>;

int ScreenResolution();
void SetScreenResolutionSource(ResolutionSource source);

void ShowEngineNotice(const std::string& text);
void SetNoticeSink(NoticeSink sink);

int LastSystemError();

}  // namespace engines
