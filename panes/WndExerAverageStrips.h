// What the exercise average pane shares with the memory and trend panes:
// the playback timer ids (the step is the id read as a signed number), the
// buttons of the time-step strip, check marks and combo lists of the
// strips, and the time of a stored block.
#pragma once

#include "platform/base/Strings.h"
#include "platform/ui/framework/Wnd.h"

class CDlgCtrl;
class CTavrionDoc;
class CWaveView;
struct _ECGDATA;

namespace panes {

// Forward play steps one block a tick, backward play one block back.
constexpr UINT_PTR kForwardTimer = 1;
constexpr UINT_PTR kBackwardTimer = static_cast<UINT_PTR>(-1);
// The 3D map's swing.
constexpr UINT_PTR kSwingTimer = 10;
constexpr UINT kAveragePlaybackMs = 500;
constexpr UINT kMemoryPlaybackMs = 1000;

// The time-step strip.
constexpr int kPlayBackward = 4174;
constexpr int kPlayStop = 4175;
constexpr int kPlayForward = 4177;
constexpr int kPlayTime = 4178;
// The information strip and its line.
constexpr int kInfoTemplate = 4180;
constexpr int kInfoText = 4181;
constexpr int kTimeStepTemplate = 160;

// The step a playback timer stands for: +1, -1 (any other id as it reads).
inline int TimerStep(UINT_PTR id) { return static_cast<int>(static_cast<INT_PTR>(id)); }

// The check mark of a strip button; nothing when either is missing.
void CheckStripButton(CDlgCtrl* strip, int id, BOOL check);
BOOL IsStripButtonChecked(CDlgCtrl* strip, int id);

// Combo boxes of a strip; every call does nothing (or answers CB_ERR) when
// the combo is missing.
void ComboFill(CDlgCtrl* strip, int id, const LPCWSTR* texts, int count);
int ComboFind(CDlgCtrl* strip, int id, LPCWSTR text);
int ComboCount(CDlgCtrl* strip, int id);
int ComboSelection(CDlgCtrl* strip, int id);
void ComboSelect(CDlgCtrl* strip, int id, int index);
CString ComboText(CDlgCtrl* strip, int id, int index);

// The time of a stored block in seconds: its first byte the signed minutes,
// its second the signed seconds. A block that does not read, or holds fewer
// than two bytes, has time 0.
int ReadBlockSeconds(CTavrionDoc* doc, _ECGDATA* image, UINT tag, int index);

// A playback timer of `id` on `pane`, after the one running (if any) is
// killed; the id now running.
UINT_PTR RestartTimer(CWnd* pane, UINT_PTR running, UINT_PTR id, UINT elapse);

// ---- playback of the stored blocks (average and memory pages) ------------------------------
// Each call takes the page's running timer id and answers the one running after it.

// Plays `button`'s way on a timer of `id`: the other button loses its check
// mark, the document plays and `view` takes no annotation input meanwhile.
UINT_PTR StartPlayback(CWnd* pane, CDlgCtrl* strip, UINT_PTR running, int button, UINT_PTR id, UINT elapse,
                       CTavrionDoc* doc, CWaveView* view);
// Kills the running timer; a document that was playing stops, and `view`
// becomes the annotation view again (WM_ANNOTATION_ACTIVE to the page).
UINT_PTR EndTimer(CWnd* pane, UINT_PTR running, CTavrionDoc* doc, CWaveView* view);
// Both play buttons unchecked, then EndTimer.
UINT_PTR StopPlayback(CWnd* pane, CDlgCtrl* strip, UINT_PTR running, CTavrionDoc* doc, CWaveView* view);
// A page left while it plays must not leave the document playing: every
// wave view of the record would refuse annotation input for good.
UINT_PTR EndPlaybackOnDestroy(CWnd* pane, UINT_PTR running, CTavrionDoc* doc);
// The view's annotations written to the document's item.
void SaveViewAnnotations(CWaveView* view, CTavrionDoc* doc);

}  // namespace panes
