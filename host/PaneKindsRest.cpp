#include "documents/RestViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndRestDetailMeas.h"

namespace host {

// The detailed measurement page of a resting record.
std::vector<PaneKind> RestPaneKinds()
{
    return {
        {"CWndRestDetailMeas", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndRestDetailMeas::SetRestViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             static_cast<CWndRestDetailMeas*>(w)->OnUpdate();
         }},
    };
}

}  // namespace host
