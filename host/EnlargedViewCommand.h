// The host's "view" command for the enlarged views: a record's lead shown in
// the enlarged wave dialog, or the average beats of several records in the
// enlarged overlap dialog, saved painted as PNG.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ViewCommand.h"

class CDialog;

namespace host {

// True when the options ask for one of the enlarged views.
bool IsEnlargedViewRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunEnlargedViewCommand(int argc, char** argv, const RecordOpener& open);
// The overlap dialog on lead `lead` of the records of `files` (at most
// nine), as the serial average view opens it; `prepare` acts on the running
// dialog before it is saved into `png`. Lead -1: lead II, or the first
// record's first lead when it has none; a record without the lead is not
// compared. Returns the exit status.
int ShowOverlapDialog(const std::vector<std::string>& files, int lead, const RecordOpener& open, const std::string& png,
                      const std::function<void(CDialog&)>& prepare);

}  // namespace host
