#include "documents/ExerViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndExerAverage.h"
#include "panes/WndExerMemory.h"
#include "panes/WndExerTrend.h"

namespace host {

// The exercise pages in the host's order: the document, the window, then an
// update (the layout follows the window's size).
std::vector<PaneKind> ExercisePaneKinds()
{
    return {
        {"CWndExerAverage", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndExerAverage::SetExerViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             static_cast<CWndExerAverage*>(w)->OnUpdate();
         }},
        {"CWndExerTrend", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndExerTrend::SetExerViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             static_cast<CWndExerTrend*>(w)->OnUpdate();
         }},
        {"CWndExerMemory", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndExerMemory::SetExerViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             static_cast<CWndExerMemory*>(w)->OnUpdate();
         }},
    };
}

}  // namespace host
