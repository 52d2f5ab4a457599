// The host's measuring tools and pop-ups of the multi-lead view: dividers and
// the scale set through the view's own input, a double-click whose pop-up is
// saved as PNG, and the divider dialog's strip view (--view CViewDividerWave)
// shown in its dialog.
#pragma once

#include <string>
#include <vector>

#include "host/ViewCommand.h"

class CViewRhythmWave;

namespace host {

// What the multi-lead view options ask for beyond a page.
struct MeasureOptions {
    std::vector<int> dividers;   // pairs 1..3 switched on
    int scale[4] = {-1, -1, -1, -1};   // first and second point of the scale
    int clickX = -1;             // the double-click, -1 none
    int clickY = -1;
    std::string popupPng;        // where the pop-up is saved at its own size
};

// Parses "1,2,3" (pairs 1 to 3) and "X1,Y1,X2,Y2"; false on anything else.
bool ParseDividers(const std::string& text, std::vector<int>& pairs);
bool ParseScale(const std::string& text, int* points);

// The dividers shown and switched on, the scale's two points clicked, as a
// user does in measure mode.
bool ApplyMeasuringTools(CTavrionDoc& doc, CViewRhythmWave& view, const MeasureOptions& options);
// Double-clicks the view; the pop-up it opens is saved and cancelled. False
// when a pop-up was asked for and none opened or could be saved.
bool DoubleClickAndSavePopup(CViewRhythmWave& view, const MeasureOptions& options);

// True when the options ask for the divider strip view.
bool IsDividerViewRequest(int argc, char** argv);
// args: the files and options after the command word. Returns the exit status.
int RunDividerViewCommand(int argc, char** argv, const RecordOpener& open);

}  // namespace host
