#include "documents/FinalViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndFinalSTTrend.h"
#include "panes/WndFinalSummary.h"
#include "panes/WndFinalWaveCom.h"

namespace host {

std::vector<PaneKind> MasterStepPaneKinds()
{
    return {
        {"CWndFinalSummary", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndFinalSummary::SetFinalViewDoc); },
         ShowPageWithoutStyle<CWndFinalSummary>},
        {"CWndFinalWaveCom", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndFinalWaveCom::SetFinalViewDoc); },
         ShowPageWithoutStyle<CWndFinalWaveCom>},
        {"CWndFinalSTTrend", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndFinalSTTrend::SetFinalViewDoc); },
         ShowPageWithoutStyle<CWndFinalSTTrend>},
    };
}

}  // namespace host
