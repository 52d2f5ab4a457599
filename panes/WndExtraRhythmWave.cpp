#include "panes/WndExtraRhythmWave.h"

#include "panes/WndExtraWavePage.h"

IMPLEMENT_DYNAMIC(CWndExtraRhythmWave, CWndExtraWavePane)

namespace {

using panes::extra::PageWave;

const PageWave kPages[4] = {{3, 4, 22}, {11, 12, 24}, {13, 14, 26}, {15, 16, 28}};
// The overview strip shows the record's rhythm lead; nothing is laid out
// without the screen font; the post-load time is shown as the record keeps it.
const panes::extra::WaveTwin kTwin = {kPages, 13, TRUE, TRUE, FALSE};

}  // namespace

CWndExtraRhythmWave::CWndExtraRhythmWave() : CWndExtraWavePane(kTwin) {}
