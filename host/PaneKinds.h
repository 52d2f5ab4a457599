// The panes the host's "pane" command can show, one list per kind of
// examination, each in a file of its own.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/TavrionDoc.h"
#include "platform/ui/framework/Wnd.h"

namespace host {

struct SerialRecordSet;

// A pane the host can show: its class, the page styles it takes (none: one
// page) and the host's calls on it.
struct PaneKind {
    const char* name;
    std::vector<int> styles;
    // The pane on the document, null when the document is not of its kind.
    std::function<CWnd*(CTavrionDoc& doc, bool showPatient)> make;
    std::function<void(CWnd* pane, int style)> show;
    // A pane that compares records is made on every file at once (make is
    // then not used).
    std::function<CWnd*(SerialRecordSet& records)> makeOnSet = nullptr;
    // The styles a pane takes on this document when they depend on its kind
    // (a page that serves resting and rhythm records numbers each apart);
    // when empty, `styles` serve every document.
    std::function<std::vector<int>(CTavrionDoc& doc)> stylesFor = nullptr;
    // A pane whose MFER pages are numbered on from its own (its style plus
    // this) takes those numbers on an MFER file too; 0 when it has none.
    int mferOffset = 0;
};

// The page styles `kind` takes on `doc`: none for a one-page pane.
inline std::vector<int> StylesOn(const PaneKind& kind, CTavrionDoc& doc)
{
    return kind.stylesFor ? kind.stylesFor(doc) : kind.styles;
}

template <class Pane, class = void> struct HasPatientStrip : std::false_type {};
template <class Pane>
struct HasPatientStrip<Pane, std::void_t<decltype(std::declval<Pane&>().SetShowPatientInfo(TRUE))>> : std::true_type {};

// A pane of class Pane on `doc` when it is a Doc, told whether the patient
// strip shows (panes without one take no such call).
template <class Pane, class Doc> CWnd* MakeOn(CTavrionDoc& doc, bool showPatient, void (Pane::*setDoc)(Doc*))
{
    Doc* typed = dynamic_cast<Doc*>(&doc);
    if (!typed) return nullptr;
    Pane* pane = new Pane;
    (pane->*setDoc)(typed);
    if constexpr (HasPatientStrip<Pane>::value) pane->SetShowPatientInfo(showPatient);
    return pane;
}

// The host's call on a page without styles: laid out, then filled from the record.
template <class Pane> void ShowPageWithoutStyle(CWnd* pane, int)
{
    pane->SendMessage(WM_SIZE, 0, 0);
    static_cast<Pane*>(pane)->OnUpdate();
}

std::vector<PaneKind> RRPaneKinds();
std::vector<PaneKind> RestPaneKinds();
std::vector<PaneKind> RhythmPaneKinds();
std::vector<PaneKind> RhythmCommentPaneKinds();
std::vector<PaneKind> SerialPaneKinds();
std::vector<PaneKind> ExtraPaneKinds();
std::vector<PaneKind> ExercisePaneKinds();
std::vector<PaneKind> MasterStepPaneKinds();
std::vector<PaneKind> ExerciseResultPaneKinds();

// Every kind above in one list, made once: the panes the host's commands know.
const std::vector<PaneKind>& AllPaneKinds();

}  // namespace host
