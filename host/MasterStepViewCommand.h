// The host's "view" and "print" commands for the master-step views: the
// comparison page, a lead tile, the enlarged beat (painted only), the two
// trends and the protocol line of a master-step record.
#pragma once

#include <string>

#include "host/ViewCommand.h"

namespace host {

// True when --view names one of the master-step views.
bool IsMasterStepViewRequest(int argc, char** argv);
// command "view" or "print"; args: the files and options after it. Returns the exit status.
int RunMasterStepViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
