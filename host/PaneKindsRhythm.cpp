#include "host/PaneKinds.h"

namespace host {

std::vector<PaneKind> RhythmPaneKinds()
{
    return {};
}

}  // namespace host
