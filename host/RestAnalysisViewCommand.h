// The resting analysis views in the host's "view" and "print" commands: the
// average beats, their overlapped form and the calibration column, set up as
// their panes and dialogs set them up, and printed as the report prints them.
#pragma once

#include <string>
#include <vector>

#include "platform/base/Geometry.h"

class CECGDC;
class CTavrionDoc;
class CView;

namespace host {

// The class names these views add to "--view all".
const std::vector<std::string>& RestAnalysisViewNames();
// Whether the view is one of them.
bool IsRestAnalysisView(CView* view);
// Configures a freshly made view for the record: document kind, pulse count
// (the calibration column's), sensitivities, and loads its beats.
void SetUpRestAnalysisView(CTavrionDoc& doc, CView* view, int calCount);
// Whether the view prints its own paper grid (the page's grid is left out).
bool PrintsOwnGrid(CView* view);
// Prints the view at the top left of `area` (device pixels) at pxPerMm.
bool PrintRestAnalysisView(CView* view, CECGDC* dc, const CRect& area, double pxPerMm);

}  // namespace host
