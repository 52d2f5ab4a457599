#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndRestDetailMeas.h"
#include "panes/WndRestRhythmWave.h"
#include "panes/WndRestRhythmWaveAme.h"

namespace host {

namespace {

// A wave page that serves a resting, an MFER or a rhythm record: the
// document goes to the setter of its kind.
template <class Pane> CWnd* MakeWavePage(CTavrionDoc& doc, bool showPatient)
{
    if (CWnd* pane = MakeOn(doc, showPatient, &Pane::SetRestViewDoc)) return pane;
    if (CWnd* pane = MakeOn(doc, showPatient, &Pane::SetMFERViewDoc)) return pane;
    return MakeOn(doc, showPatient, &Pane::SetRhythmViewDoc);
}

// The page style call of the document's kind (the host's style numbers are
// those of that kind), then the update the host runs after it.
template <class Pane> void ShowWavePage(CWnd* wnd, int style)
{
    auto* pane = static_cast<Pane*>(wnd);
    if (pane->GetRestViewDoc()) pane->ShowRestPageStyle(style);
    else if (pane->GetMFERViewDoc()) pane->ShowMFERPageStyle(style);
    else pane->ShowRhythmPageStyle(style);
    pane->OnUpdate();
}

// A rhythm record has page styles of its own on the wave pages.
template <int... Rhythm> std::vector<int> StylesByKind(CTavrionDoc& doc, const std::vector<int>& restAndMfer)
{
    if (dynamic_cast<CRhythmViewDoc*>(&doc)) return {Rhythm...};
    return restAndMfer;
}

const std::vector<int> kRestStyles = {1, 2, 5, 7, 8, 11, 13, 14, 17, 19, 20, 23, 25, 26, 29, 33, 34};
const std::vector<int> kAmeStyles = {3, 4, 6, 9, 10, 12, 15, 16, 18, 21, 22, 24, 27, 28, 30, 31, 32};

}  // namespace

// The resting pages: the waves, their US-style twin and the detailed measurement.
std::vector<PaneKind> RestPaneKinds()
{
    return {
        {"CWndRestRhythmWave", kRestStyles, MakeWavePage<CWndRestRhythmWave>, ShowWavePage<CWndRestRhythmWave>, nullptr,
         [](CTavrionDoc& d) { return StylesByKind<1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 18, 19>(d, kRestStyles); }},
        {"CWndRestRhythmWaveAme", kAmeStyles, MakeWavePage<CWndRestRhythmWaveAme>,
         ShowWavePage<CWndRestRhythmWaveAme>, nullptr,
         [](CTavrionDoc& d) { return StylesByKind<16, 17>(d, kAmeStyles); }},
        {"CWndRestDetailMeas", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndRestDetailMeas::SetRestViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             static_cast<CWndRestDetailMeas*>(w)->OnUpdate();
         }},
    };
}

}  // namespace host
