#include "panes/WndExtraWave.h"

#include "panes/WndExtraWavePage.h"

IMPLEMENT_DYNAMIC(CWndExtraWave, CWndExtraWavePane)

namespace {

using panes::extra::PageWave;

const PageWave kPages[4] = {{1, 2, 22}, {5, 6, 24}, {7, 8, 26}, {9, 10, 28}};
// The overview strip shows the first extra lead; a missing screen font is
// passed on as none; the post-load time is captioned.
const panes::extra::WaveTwin kTwin = {kPages, 15, FALSE, FALSE, TRUE};

}  // namespace

CWndExtraWave::CWndExtraWave() : CWndExtraWavePane(kTwin) {}
