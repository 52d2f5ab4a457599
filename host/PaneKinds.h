// The panes the host's "pane" command can show, one list per kind of
// examination, each in a file of its own.
#pragma once

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/TavrionDoc.h"

namespace host {

// A pane the host can show: its class, the page styles it takes (none: one
// page) and the host's calls on it.
struct PaneKind {
    const char* name;
    std::vector<int> styles;
    // The pane on the document, null when the document is not of its kind.
    std::function<CWnd*(CTavrionDoc& doc, bool showPatient)> make;
    std::function<void(CWnd* pane, int style)> show;
    // For a pane whose page styles differ by the document's class: the
    // styles it takes on that document, in place of `styles`.
    std::function<std::vector<int>(CTavrionDoc& doc)> stylesFor;
};

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

std::vector<PaneKind> RRPaneKinds();
std::vector<PaneKind> RestPaneKinds();
std::vector<PaneKind> RhythmPaneKinds();
std::vector<PaneKind> SerialPaneKinds();
std::vector<PaneKind> ExtraPaneKinds();
std::vector<PaneKind> ExercisePaneKinds();
std::vector<PaneKind> MasterStepPaneKinds();

}  // namespace host
