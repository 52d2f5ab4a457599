#include "host/PaneKinds.h"

namespace host {

std::vector<PaneKind> SerialPaneKinds()
{
    return {};
}

}  // namespace host
