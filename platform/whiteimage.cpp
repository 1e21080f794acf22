#include "whiteimage.h"

#include <utility>

namespace platform {

namespace {
QImage NewImage(int width, int height) { return QImage(width, height, QImage::Format_RGB32); }
ImageAllocator& allocator()
{
    static ImageAllocator allocate = NewImage;
    return allocate;
}
}  // namespace

QImage WhiteImage(int width, int height)
{
    if (width <= 0 || height <= 0) return {};
    QImage image = allocator()(width, height);
    if (!image.isNull()) image.fill(Qt::white);
    return image;
}

void SetImageAllocator(ImageAllocator allocate) { allocator() = allocate ? std::move(allocate) : NewImage; }

}  // namespace platform
