// The seam between resource images and the graphics layer's icon objects:
// the only place that turns pixels into HICON/HCURSOR handles and back.
#pragma once

#include "platform/ui/windowing/Resources.h"

namespace platform::ui::detail {

// A new icon or cursor handle for `image`; null when the image is
// inconsistent (no pixels, fewer pixels than its size says, a hot spot
// outside it) or the graphics layer refuses it.
HICON CreateImageHandle(const ResourceImage& image);
void DestroyImageHandle(HICON handle);
// Whether the graphics layer still knows the handle.
bool IsImageHandleAlive(HICON handle);

}  // namespace platform::ui::detail
