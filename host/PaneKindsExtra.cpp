#include "host/PaneKinds.h"

namespace host {

std::vector<PaneKind> ExtraPaneKinds()
{
    return {};
}

}  // namespace host
