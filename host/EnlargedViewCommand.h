// The host's "view" command for the enlarged views: a record's lead shown in
// the enlarged wave dialog, or the average beats of several records in the
// enlarged overlap dialog, saved painted as PNG.
#pragma once

#include "host/ViewCommand.h"

namespace host {

// True when the options ask for one of the enlarged views.
bool IsEnlargedViewRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunEnlargedViewCommand(int argc, char** argv, const RecordOpener& open);

}  // namespace host
