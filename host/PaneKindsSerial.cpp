#include "host/PaneKinds.h"
#include "host/SerialRecordSet.h"
#include "panes/WndRestSerialComAve.h"
#include "panes/WndRestSerialComRhy.h"

namespace host {

namespace {

constexpr int kMferDoc = 6;

// The MFER page style that plays the part of a resting one.
int MferStyleOf(int style)
{
    switch (style) {
    case 41: return 45;
    case 42: return 46;
    case 43: return 48;
    default: return style;
    }
}

template <class Pane> Pane* MakeOnSet(SerialRecordSet& records)
{
    auto* pane = new Pane;
    pane->SetBaseECGDoc(&records.base);
    pane->SetRestViewDoc(&records.rest);
    pane->SetMFERViewDoc(&records.mfer);
    pane->SetDocType(records.kind);
    return pane;
}

}  // namespace

std::vector<PaneKind> SerialPaneKinds()
{
    return {
        {"CWndRestSerialComAve", {41, 42, 43},
         [](CTavrionDoc&, bool) -> CWnd* { return nullptr; },
         [](CWnd* w, int style) {
             auto* pane = static_cast<CWndRestSerialComAve*>(w);
             if (pane->GetDocType() == kMferDoc) pane->ShowMFERPageStyle(MferStyleOf(style));
             else pane->ShowRestPageStyle(style);
             pane->RestoreSerialFile();
         },
         [](SerialRecordSet& records) -> CWnd* { return MakeOnSet<CWndRestSerialComAve>(records); }},
        {"CWndRestSerialComRhy", {},
         [](CTavrionDoc&, bool) -> CWnd* { return nullptr; },
         [](CWnd* w, int style) {
             auto* pane = static_cast<CWndRestSerialComRhy*>(w);
             pane->ShowPageStyle(style);
             pane->RestoreSerialFile();
         },
         [](SerialRecordSet& records) -> CWnd* { return MakeOnSet<CWndRestSerialComRhy>(records); }},
    };
}

}  // namespace host
