#include "documents/ExerViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndExerResult.h"
#include "panes/WndExerSummary.h"

namespace host {

std::vector<PaneKind> ExerciseResultPaneKinds()
{
    return {
        {"CWndExerSummary", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndExerSummary::SetExerViewDoc); },
         ShowPageWithoutStyle<CWndExerSummary>},
        {"CWndExerResult", {},
         [](CTavrionDoc& d, bool p) { return MakeOn(d, p, &CWndExerResult::SetExerViewDoc); },
         ShowPageWithoutStyle<CWndExerResult>},
    };
}

}  // namespace host
