#include "documents/MFERViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndRhythmComment.h"

namespace host {

namespace {

// The comment page on a rhythm record, else on an MFER record shown as rhythm.
CWnd* MakeRhythmComment(CTavrionDoc& doc, bool showPatient)
{
    if (CWnd* pane = MakeOn(doc, showPatient, &CWndRhythmComment::SetRhythmViewDoc)) return pane;
    return MakeOn(doc, showPatient, &CWndRhythmComment::SetMFERViewDoc);
}

// Rhythm page styles stand below 30, MFER ones above; a style of the other
// kind leaves the pane on its first page, brought up to date.
void ShowRhythmComment(CWnd* wnd, int style)
{
    auto* pane = static_cast<CWndRhythmComment*>(wnd);
    if (style < 30)
        pane->ShowRhythmPageStyle(style);
    else
        pane->ShowMFERPageStyle(style);
    if (pane->GetPageStyle() != style) {
        pane->OnUpdate();
        pane->SendMessage(WM_SIZE, 0, 0);
    }
}

}  // namespace

std::vector<PaneKind> RhythmCommentPaneKinds()
{
    return {
        {"CWndRhythmComment", {26, 27, 28, 22, 25, 49, 50, 51, 37, 40}, MakeRhythmComment, ShowRhythmComment, nullptr,
         [](CTavrionDoc& d) {
             return dynamic_cast<CRhythmViewDoc*>(&d) ? std::vector<int>{26, 27, 28, 22, 25}
                                                      : std::vector<int>{49, 50, 51, 37, 40};
         }},
    };
}

}  // namespace host
