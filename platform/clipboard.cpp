#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <utility>

namespace platform {
namespace {
bool WriteToSystemClipboard(const QImage& image)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || image.isNull()) return false;
    clipboard->setImage(image);
    return true;
}
ClipboardWriter& writer()
{
    static ClipboardWriter write = WriteToSystemClipboard;
    return write;
}
}  // namespace

bool CopyImageToClipboard(const QImage& image) { return writer()(image); }

void SetClipboardWriter(ClipboardWriter write) { writer() = write ? std::move(write) : WriteToSystemClipboard; }

}  // namespace platform
