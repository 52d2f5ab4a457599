// The host's magnifier picture: the hover magnifier over a painted view, as
// if the mouse rested at one point of it, saved as a PNG.
#pragma once

#include <string>

class CTavrionDoc;
class CView;

namespace host {

// The view must be a waveform view already painted in its pane; its grid
// counts place the magnified grid. FALSE (with a message) when no picture
// could be made or written.
bool SaveMagnifierPng(CTavrionDoc& doc, CView* view, int x, int y, float ratio, const std::string& png);

}  // namespace host
