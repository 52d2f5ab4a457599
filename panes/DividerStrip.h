// The divider strip of the rhythm and RR wave pages: a check box and a
// reading for each of the three caliper pairs, and the divider bits the
// document keeps for them (bit 0 pair I, bit 1 pair II, bit 2 pair III).
#pragma once

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

class CDlgCtrl;
class CTavrionDoc;
class CViewRhythmWave;
class CWnd;

namespace panes {

constexpr int kDividerStripTemplate = 133;
constexpr int kDividerCheck[3] = {3568, 3569, 3570};
constexpr int kDividerText[3] = {3571, 3572, 3573};

// The strip with its three readings shown and empty.
CDlgCtrl* CreateDividerStrip(CWnd* pane, CTavrionDoc* doc);
// The pair (0 to 2) whose check box has `id`, or -1.
int DividerPairOfCheck(UINT id);
// The reading line of a dropped divider: the pair from LPARAM (1 pair II,
// 2 pair III, any other pair I) and the interval in milliseconds.
CString DividerReading(int intervalMs, LPARAM pair);
// The reading into its text of the strip; the pair index (0 to 2) it went to.
int ShowDividerReading(CDlgCtrl* strip, int intervalMs, LPARAM pair);
// Each bit to the view's caliper pair, then the dividers shown; nothing for
// negative bits or no view.
void GiveDividerBits(CViewRhythmWave* view, int bits);
// The check boxes from the bits; nothing for negative bits.
void CheckDividerBoxes(CDlgCtrl* strip, int bits);
// The box's check state to the view and into the bits; the new bits.
int ToggleDividerPair(CDlgCtrl* strip, CViewRhythmWave* view, int pair, int bits);

}  // namespace panes
