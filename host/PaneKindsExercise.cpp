#include "documents/ExerViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndExerAverage.h"
#include "panes/WndExerMemory.h"
#include "panes/WndExerTrend.h"

namespace host {
namespace {

constexpr int kHeartRateTrend = 1;

// The graph under the average beats and the stored strip is the host's to
// choose; a record for which none was chosen yet shows the heart rate.
bool HasTrend(CExerViewDoc* doc)
{
    _EXERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    return !item || item->nTrendStyle != 0;
}

}  // namespace

// The exercise pages in the host's order: the document, the window, then an
// update (the layout follows the window's size).
std::vector<PaneKind> ExercisePaneKinds()
{
    return {
        {"CWndExerAverage", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndExerAverage::SetExerViewDoc); },
         [](CWnd* w, int) {
             w->SendMessage(WM_SIZE, 0, 0);
             auto* pane = static_cast<CWndExerAverage*>(w);
             CExerViewDoc* doc = pane->GetExerViewDoc();
             if (!HasTrend(doc)) doc->GetCurrentDataItem()->nTrendStyle = kHeartRateTrend;
             pane->OnUpdate();
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
             auto* pane = static_cast<CWndExerMemory*>(w);
             if (!HasTrend(pane->GetExerViewDoc())) pane->MessageFromTrendWnd(kHeartRateTrend, 0);
             pane->OnUpdate();
         }},
    };
}

}  // namespace host
