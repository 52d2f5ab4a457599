// The system's stock cursors and icons, drawn here as small images: nothing
// ships Windows' own pictures, and only their size and hot spot matter to
// the system's code.
#pragma once

#include "platform/ui/windowing/Resources.h"

namespace platform::ui::detail {

// Stock cursors (IDC_ARROW… ids) and icons (IDI_APPLICATION… ids), 32 x 32.
ResourceTable BuildStockResources();

}  // namespace platform::ui::detail
