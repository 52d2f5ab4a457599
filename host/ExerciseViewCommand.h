// The host's "view" and "print" commands for the exercise views: a record's
// exercise view at a chosen time and layout painted into a PNG, or printed
// by the view itself through the PDF printer.
#pragma once

#include "host/ViewCommand.h"

namespace host {

// True when --view names an exercise view, or is "all" over an exercise record.
bool IsExerciseViewRequest(int argc, char** argv, const RecordOpener& open);
// args: the files and options after the command word. Returns the exit status.
int RunExerciseViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
