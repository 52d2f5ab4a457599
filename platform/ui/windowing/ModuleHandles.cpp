#include "platform/ui/windowing/ModuleHandles.h"

#include <dlfcn.h>
#include <sys/auxv.h>

namespace platform::ui {

HINSTANCE ModuleFromAddress(const void* address)
{
    if (!address) return nullptr;
    Dl_info info{};
    if (dladdr(address, &info) == 0) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

HINSTANCE ExecutableModule()
{
    // The program headers lie inside the executable's first mapping, also
    // for a position-dependent executable whose load bias is 0.
    static const HINSTANCE module = ModuleFromAddress(reinterpret_cast<const void*>(getauxval(AT_PHDR)));
    return module;
}

}  // namespace platform::ui
