#include "host/PaneKinds.h"

namespace host {

std::vector<PaneKind> MasterStepPaneKinds()
{
    return {};
}

}  // namespace host
