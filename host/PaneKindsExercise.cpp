#include "host/PaneKinds.h"

namespace host {

std::vector<PaneKind> ExercisePaneKinds()
{
    return {};
}

}  // namespace host
