// Module handles: a module's HINSTANCE is the address at which the loader
// mapped its image.
#pragma once

#include "platform/base/WinTypes.h"

namespace platform::ui {

// The module whose image contains `address` (its load base); null for an
// address outside every loaded image (the stack, the heap) or null.
HINSTANCE ModuleFromAddress(const void* address);

// The executable's own module handle.
HINSTANCE ExecutableModule();

}  // namespace platform::ui
