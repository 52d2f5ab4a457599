#include "panes/WndExerAverageStrips.h"

#include <vector>

#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "panes/PaneKit.h"
#include "waveviews/WaveView.h"

namespace panes {

void CheckStripButton(CDlgCtrl* strip, int id, BOOL check)
{
    if (CWnd* button = StripItem(strip, id)) button->SendMessage(BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED, 0);
}

BOOL IsStripButtonChecked(CDlgCtrl* strip, int id)
{
    CWnd* button = StripItem(strip, id);
    return button && button->SendMessage(BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ComboFill(CDlgCtrl* strip, int id, const LPCWSTR* texts, int count)
{
    CWnd* combo = StripItem(strip, id);
    if (!combo) return;
    combo->SendMessage(CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) combo->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[i]));
}

int ComboFind(CDlgCtrl* strip, int id, LPCWSTR text)
{
    CWnd* combo = StripItem(strip, id);
    if (!combo) return CB_ERR;
    const LRESULT found =
        combo->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    return static_cast<int>(found);
}

int ComboCount(CDlgCtrl* strip, int id)
{
    CWnd* combo = StripItem(strip, id);
    return combo ? static_cast<int>(combo->SendMessage(CB_GETCOUNT, 0, 0)) : CB_ERR;
}

int ComboSelection(CDlgCtrl* strip, int id)
{
    CWnd* combo = StripItem(strip, id);
    return combo ? static_cast<int>(combo->SendMessage(CB_GETCURSEL, 0, 0)) : CB_ERR;
}

void ComboSelect(CDlgCtrl* strip, int id, int index)
{
    if (CWnd* combo = StripItem(strip, id)) combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

CString ComboText(CDlgCtrl* strip, int id, int index)
{
    CWnd* combo = StripItem(strip, id);
    if (!combo || index < 0) return CString();
    const LRESULT length = combo->SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR || length < 0) return CString();
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
    combo->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return CString(text.data());
}

int ReadBlockSeconds(CTavrionDoc* doc, _ECGDATA* image, UINT tag, int index)
{
    if (!doc || !image || index < 0) return 0;
    const long size = doc->ecgGetData(image, tag, static_cast<UINT>(index), nullptr, 0, ECG_DATA_RAW);
    // Minutes and seconds take two bytes; a shorter record holds no time.
    if (size < 2) return 0;
    std::vector<BYTE> bytes(static_cast<size_t>(size));
    if (doc->ecgGetData(image, tag, static_cast<UINT>(index), bytes.data(), size, ECG_DATA_RAW) <= 0) return 0;
    return static_cast<signed char>(bytes[0]) * 60 + static_cast<signed char>(bytes[1]);
}

UINT_PTR RestartTimer(CWnd* pane, UINT_PTR running, UINT_PTR id, UINT elapse)
{
    if (running) pane->KillTimer(running);
    return pane->SetTimer(id, elapse, nullptr) ? id : 0;
}

namespace {
BOOL IsLive(CWnd* view) { return view && view->GetSafeHwnd(); }
}  // namespace

UINT_PTR StartPlayback(CWnd* pane, CDlgCtrl* strip, UINT_PTR running, int button, UINT_PTR id, UINT elapse,
                       CTavrionDoc* doc, CWaveView* view)
{
    const int other = button == kPlayForward ? kPlayBackward : kPlayForward;
    if (IsStripButtonChecked(strip, other)) CheckStripButton(strip, other, FALSE);
    CheckStripButton(strip, button, TRUE);
    running = RestartTimer(pane, running, id, elapse);
    if (IsLive(view)) view->SetAnnoViewActive(FALSE);
    if (doc) doc->SetPlayback(1);
    pane->SetFocus();
    return running;
}

UINT_PTR EndTimer(CWnd* pane, UINT_PTR running, CTavrionDoc* doc, CWaveView* view)
{
    if (running) pane->KillTimer(running);
    if (!doc) return 0;
    if (doc->IsPlayback()) pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(view), 0);
    doc->SetPlayback(0);
    return 0;
}

UINT_PTR StopPlayback(CWnd* pane, CDlgCtrl* strip, UINT_PTR running, CTavrionDoc* doc, CWaveView* view)
{
    CheckStripButton(strip, kPlayBackward, FALSE);
    CheckStripButton(strip, kPlayForward, FALSE);
    return EndTimer(pane, running, doc, view);
}

UINT_PTR EndPlaybackOnDestroy(CWnd* pane, UINT_PTR running, CTavrionDoc* doc)
{
    const BOOL playing = running == kForwardTimer || running == kBackwardTimer;
    if (running) pane->KillTimer(running);
    if (playing && doc) doc->SetPlayback(0);
    return 0;
}

void SaveViewAnnotations(CWaveView* view, CTavrionDoc* doc)
{
    if (IsLive(view) && doc) view->SaveAnnoToData(0, nullptr, doc->GetAnnotationFlag());
}

}  // namespace panes
