#include "documents/RRViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndRRComment.h"
#include "panes/WndRRResult.h"
#include "panes/WndRRWave.h"

namespace host {

std::vector<PaneKind> RRPaneKinds()
{
    return {
        {"CWndRRResult", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndRRResult::SetRRViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             static_cast<CWndRRResult*>(w)->OnUpdate();
         }},
        {"CWndRRComment", {6, 7, 8, 9},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndRRComment::SetRRViewDoc); },
         [](CWnd* w, int style) {
             auto* pane = static_cast<CWndRRComment*>(w);
             pane->ShowPageStyle(style);
             pane->OnUpdate();
         }},
        {"CWndRRWave", {3, 4, 5},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndRRWave::SetRRViewDoc); },
         [](CWnd* w, int style) { static_cast<CWndRRWave*>(w)->ShowPageStyle(style); }},
    };
}

}  // namespace host
