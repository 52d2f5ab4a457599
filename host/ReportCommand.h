// The host's "print --report" command: a record's report printed through a
// report class of the host, to PDF or as a raw HP-GL/2 or LIPS job.
#pragma once

#include "host/ViewCommand.h"

namespace host {

// True when the print command names a report (--report NAME).
bool IsReportRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunReportCommand(int argc, char** argv, const RecordOpener& open);

}  // namespace host
