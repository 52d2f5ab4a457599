#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndExtraCommentRhythmWave.h"
#include "panes/WndExtraCommentWave.h"
#include "panes/WndExtraRhythmWave.h"
#include "panes/WndExtraWave.h"

namespace host {
namespace {

// MFER pages are the extra-lead pages plus 51.
constexpr int kMFEROffset = 51;

// The pane on an extra-lead record, or on an MFER record of the extra kind.
template <class Pane> CWnd* MakeExtraPane(CTavrionDoc& doc, bool showPatient)
{
    if (CWnd* pane = MakeOn<Pane, CExtraViewDoc>(doc, showPatient, &Pane::SetExtraViewDoc)) return pane;
    auto* mfer = dynamic_cast<CMFERViewDoc*>(&doc);
    const _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
    if (!item || !CMFERViewDoc::IsExtraFamily(item->uSystemCode)) return nullptr;
    return MakeOn<Pane, CMFERViewDoc>(doc, showPatient, &Pane::SetMFERViewDoc);
}

// A page style in the extra-lead numbering reaches whichever record the pane
// holds (the call of the other kind does nothing there); an MFER number
// goes to MFER records only.
template <class Pane> void ShowExtraPage(CWnd* wnd, int style)
{
    auto* pane = static_cast<Pane*>(wnd);
    if (style > kMFEROffset) {
        pane->ShowMFERPageStyle(style);
        return;
    }
    pane->ShowExtraPageStyle(style);
    pane->ShowMFERPageStyle(style + kMFEROffset);
}

template <class Pane> PaneKind ExtraKind(const char* name, std::vector<int> styles)
{
    PaneKind kind{name, std::move(styles), &MakeExtraPane<Pane>, &ShowExtraPage<Pane>};
    kind.mferOffset = kMFEROffset;
    return kind;
}

}  // namespace

std::vector<PaneKind> ExtraPaneKinds()
{
    return {
        ExtraKind<CWndExtraWave>("CWndExtraWave", {1, 2, 5, 6, 7, 8, 9, 10}),
        ExtraKind<CWndExtraRhythmWave>("CWndExtraRhythmWave", {3, 4, 11, 12, 13, 14, 15, 16}),
        ExtraKind<CWndExtraCommentWave>("CWndExtraCommentWave", {17, 18, 19, 23, 24, 25, 29}),
        ExtraKind<CWndExtraCommentRhythmWave>("CWndExtraCommentRhythmWave", {20, 21, 22, 26, 27, 28}),
    };
}

}  // namespace host
