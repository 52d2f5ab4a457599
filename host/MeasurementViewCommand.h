// The host's "view" and "print" commands for the measurement tables of a
// resting record: the detailed measurement form, the QRS number table and
// the QRS type table, painted into a PNG or printed through the PDF printer.
#pragma once

#include <string>

#include "host/ViewCommand.h"

namespace host {

// True when --view names one of the measurement tables.
bool IsMeasurementViewRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunMeasurementViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
