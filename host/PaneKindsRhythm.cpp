#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "host/PaneKinds.h"
#include "panes/WndRestInterpretation.h"
#include "panes/WndRhythmWave.h"

namespace host {
namespace {

// The interpretation page serves resting, MFER and rhythm records, each with
// page styles of its own.
CWnd* MakeInterpretation(CTavrionDoc& doc, bool showPatient)
{
    if (CWnd* pane = MakeOn(doc, showPatient, &CWndRestInterpretation::SetRestViewDoc)) return pane;
    if (CWnd* pane = MakeOn(doc, showPatient, &CWndRestInterpretation::SetMFERViewDoc)) return pane;
    return MakeOn(doc, showPatient, &CWndRestInterpretation::SetRhythmViewDoc);
}

std::vector<int> InterpretationStyles(CTavrionDoc& doc)
{
    if (dynamic_cast<CRestViewDoc*>(&doc)) return {35, 36, 37, 38};
    if (dynamic_cast<CMFERViewDoc*>(&doc)) return {41, 42, 43, 44};
    return {29, 30};
}

void ShowInterpretation(CWnd* wnd, int style)
{
    // Each call takes only the styles of the pane's own document.
    auto* pane = static_cast<CWndRestInterpretation*>(wnd);
    pane->ShowRestPageStyle(style);
    pane->ShowMFERPageStyle(style);
    pane->ShowRhythmPageStyle(style);
    pane->OnUpdate();
    pane->UpdateDisplayInfo();
}

CWnd* MakeRhythmWave(CTavrionDoc& doc, bool showPatient)
{
    if (CWnd* pane = MakeOn(doc, showPatient, &CWndRhythmWave::SetRhythmViewDoc)) return pane;
    return MakeOn(doc, showPatient, &CWndRhythmWave::SetMFERViewDoc);
}

std::vector<int> RhythmWaveStyles(CTavrionDoc& doc)
{
    if (dynamic_cast<CMFERViewDoc*>(&doc)) return {35, 36, 37, 38, 39, 40};
    return {20, 21, 22, 23, 24, 25};
}

void ShowRhythmWave(CWnd* wnd, int style)
{
    auto* pane = static_cast<CWndRhythmWave*>(wnd);
    if (style >= 35)
        pane->ShowMFERPageStyle(style);
    else
        pane->ShowRhythmPageStyle(style);
}

}  // namespace

std::vector<PaneKind> RhythmPaneKinds()
{
    return {
        {"CWndRestInterpretation", {35, 36, 37, 38}, MakeInterpretation, ShowInterpretation, nullptr,
         InterpretationStyles},
        {"CWndRhythmWave", {20, 21, 22, 23, 24, 25}, MakeRhythmWave, ShowRhythmWave, nullptr, RhythmWaveStyles},
    };
}

}  // namespace host
