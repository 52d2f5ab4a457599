#include "platform/ui/windowing/ImageHandles.h"

#include "platform/gdi/Gdi.h"
#include "platform/gdi/Icon.h"

namespace platform::ui::detail {

namespace {

const int kLargestImage = 256;   // pixels a side; Windows' own limit for icons

bool IsConsistent(const ResourceImage& image)
{
    if (image.width <= 0 || image.height <= 0) return false;
    if (image.width > kLargestImage || image.height > kLargestImage) return false;
    if (image.argb.size() < static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) return false;
    return image.hotX >= 0 && image.hotY >= 0 && image.hotX < image.width && image.hotY < image.height;
}

}  // namespace

HICON CreateImageHandle(const ResourceImage& image)
{
    // The graphics layer would clamp a stray hot spot; a resource with one is broken, and loads as nothing.
    if (!IsConsistent(image)) return nullptr;
    HICON handle = platform::gdi::CreateIconFromPixels(image.width, image.height, image.argb.data(), image.hotX, image.hotY);
    // Loaded icons and cursors are shared: a caller's DestroyIcon leaves them alive.
    if (handle) platform::gdi::MarkIconShared(handle);
    return handle;
}

void DestroyImageHandle(HICON handle)
{
    if (!handle) return;
    platform::gdi::DestroySharedIcon(handle);
}

bool IsImageHandleAlive(HICON handle)
{
    return handle && platform::gdi::GetIconMetrics(handle, nullptr, nullptr);
}

}  // namespace platform::ui::detail
