// The host's "view" and "print" commands for the measurement tables of a
// resting record: the detailed measurement form, the QRS number table and
// the QRS type table, painted into a PNG or printed through the PDF printer.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ViewCommand.h"

namespace host {

// The tables' class names, as "--view all" adds them for a resting record.
const std::vector<std::string>& MeasurementTableNames();
// The table made as its page makes it (the QRS number table from its first
// beat), painted into a PNG; false when it could not be.
bool PaintMeasurementTable(CTavrionDoc& doc, CRuntimeClass* viewClass, int width, int height, const std::string& png);
// The table's printed pages handed to `print`, while the table lives, to
// print in its job; what `print` returns.
bool PrintMeasurementTable(CTavrionDoc& doc, CRuntimeClass* viewClass,
                           const std::function<bool(const std::vector<PdfPageDraw>& pages)>& print);

// True when --view names one of the measurement tables.
bool IsMeasurementViewRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunMeasurementViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
