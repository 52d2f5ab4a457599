// The host's "view" and "print" commands for the master-step views: the
// comparison page, a lead tile, the enlarged beat (painted only), the two
// trends and the protocol line of a master-step record.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ViewCommand.h"

class CFinalViewDoc;

namespace host {

// The master-step views' class names, as "--view all" adds them for a
// master-step record (the enlarged beat is shown only, never printed).
const std::vector<std::string>& MasterStepViewNames();
// The view set up as its pane or dialog sets it up (the first comparison
// page, the first lead), painted into a PNG; false when it could not be.
bool PaintMasterStepView(CFinalViewDoc& doc, const std::string& view, int width, int height, const std::string& png);
// The view's printed pages (every comparison page, every lead's tile) handed
// to `print`, while the view lives, to print in its job; what `print` returns.
bool PrintMasterStepView(CFinalViewDoc& doc, const std::string& view,
                         const std::function<bool(const std::vector<PdfPageDraw>& pages)>& print);

// True when --view names one of the master-step views.
bool IsMasterStepViewRequest(int argc, char** argv);
// command "view" or "print"; args: the files and options after it. Returns the exit status.
int RunMasterStepViewCommand(const std::string& command, int argc, char** argv, const RecordOpener& open);

}  // namespace host
