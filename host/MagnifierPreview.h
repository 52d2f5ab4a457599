// The host's magnifier picture: the hover magnifier over a painted view, as
// if the mouse rested at one point of it, saved as a PNG.
#pragma once

#include <string>
#include <vector>

class CTavrionDoc;
class CView;

namespace host {

// The view must be a waveform view already painted in its pane; its grid
// counts place the magnified grid. FALSE (with a message) when no picture
// could be made or written.
bool SaveMagnifierPng(CTavrionDoc& doc, CView* view, int x, int y, float ratio, const std::string& png);
// The same for a view that reaches the magnifier through several documents
// (the serial comparison: its record's and the comparison's): each holds
// the one magnifier while the mouse rests; the first is the magnifier's own.
bool SaveMagnifierPng(const std::vector<CTavrionDoc*>& docs, CView* view, int x, int y, float ratio,
                      const std::string& png);

}  // namespace host
