// Putting a picture on the clipboard. The writer can be replaced so that a refusing
// clipboard can be tested.
#pragma once

#include <QImage>
#include <functional>

namespace platform {

using ClipboardWriter = std::function<bool(const QImage&)>;
bool CopyImageToClipboard(const QImage& image);
void SetClipboardWriter(ClipboardWriter writer);

}  // namespace platform
