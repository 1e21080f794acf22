// White pictures for builds, from an allocator that a test can make fail.
#pragma once

#include <QImage>
#include <functional>

namespace platform {

// A white RGB32 image of the given size; a null image when either side is 0 or
// memory cannot be had.
QImage WhiteImage(int width, int height);
// Replaces how WhiteImage allocates, so that a failing allocation can be tested;
// an empty allocator restores the real one.
using ImageAllocator = std::function<QImage(int width, int height)>;
void SetImageAllocator(ImageAllocator allocate);

}  // namespace platform
