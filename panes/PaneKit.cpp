#include "panes/PaneKit.h"

#include <cmath>

#include "controls/CheckEdit.h"
#include "controls/CheckStatic.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "forms/FormEx.h"
#include "platform/ui/framework/CreateContext.h"
#include "waveviews/ViewRhythmWave.h"

namespace panes {

// ---- children ------------------------------------------------------------------------------

CFrameWnd* CreateViewFrame(CWnd* pane, CTavrionDoc* doc, CRuntimeClass* viewClass,
                           const std::function<void(CView*)>& prepare)
{
    CFrameWnd* frame = new CFrameWnd;
    if (!frame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pane, nullptr, 0, nullptr)) {
        delete frame;
        return nullptr;
    }
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = doc;
    CView* view = dynamic_cast<CView*>(frame->CreateView(&context, AFX_IDW_PANE_FIRST));
    if (!view) return frame;
    view->ShowWindow(SW_SHOW);
    if (prepare) prepare(view);
    view->OnInitialUpdate();
    frame->SetActiveView(view, TRUE);
    frame->RecalcLayout(TRUE);
    view->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return frame;
}

CFrameWnd* CreateFormFrame(CWnd* pane, CTavrionDoc* doc, CRuntimeClass* formClass, int docType)
{
    return CreateViewFrame(pane, doc, formClass, [doc, docType](CView* view) {
        if (CFormEx* form = dynamic_cast<CFormEx*>(view)) form->SetDocType(doc, docType);
    });
}

CFormEx* FrameForm(CFrameWnd* frame)
{
    if (!frame || !frame->GetSafeHwnd()) return nullptr;
    return dynamic_cast<CFormEx*>(frame->GetActiveView());
}

CView* CreateChildView(CWnd* pane, CTavrionDoc* doc, CRuntimeClass* viewClass, UINT id)
{
    CView* view = dynamic_cast<CView*>(viewClass->CreateObject());
    if (!view) return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = viewClass;
    context.m_pCurrentDoc = doc;
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pane, id, &context)) {
        delete view;
        return nullptr;
    }
    return view;
}

CWnd* StripItem(CDlgCtrl* strip, int id)
{
    if (!strip || !strip->GetSafeHwnd()) return nullptr;
    return strip->GetDlgItem(id);
}

void SetStripText(CDlgCtrl* strip, int id, LPCWSTR text)
{
    if (CWnd* item = StripItem(strip, id)) item->SetWindowText(text);
}

void EnableStripItem(CDlgCtrl* strip, int id, BOOL enable)
{
    if (CWnd* item = StripItem(strip, id)) item->EnableWindow(enable);
}

void ShowStripItem(CDlgCtrl* strip, int id, BOOL show)
{
    if (CWnd* item = StripItem(strip, id)) item->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void SetStripFont(CDlgCtrl* strip, const int* ids, int count, CFont* font)
{
    const WPARAM handle = font ? reinterpret_cast<WPARAM>(font->GetSafeHandle()) : 0;
    for (int i = 0; i < count; ++i)
        if (CWnd* item = StripItem(strip, ids[i])) item->SendMessage(WM_SETFONT, handle, TRUE);
}

// ---- the virtual page ----------------------------------------------------------------------

int VirtualPage::PageHeight(BOOL showPatient)
{
    return showPatient ? kPageHeightWithPatient : kPageHeightWithPatient - kPatientStripHeight;
}

VirtualPage VirtualPage::OfClient(CWnd* wnd, BOOL showPatient)
{
    CRect client;
    wnd->GetClientRect(&client);
    return VirtualPage(client.Width(), client.Height(), PageHeight(showPatient));
}

VirtualPage::VirtualPage(int clientWidth, int clientHeight, int pageHeight)
    : m_width(clientWidth), m_height(clientHeight), m_pageHeight(pageHeight)
{
}

int VirtualPage::X(int units) const { return MulDiv(m_width, units, kPageWidth); }

int VirtualPage::Y(int units) const { return MulDiv(m_height, units, m_pageHeight); }

CRect VirtualPage::Rect(const PageRect& r) const
{
    const int left = X(r.x), top = Y(r.y);
    return CRect(left, top, left + X(r.w), top + Y(r.h));
}

void VirtualPage::Place(CWnd* wnd, const PageRect& r) const
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(Rect(r), TRUE);
}

CRect VirtualPage::RectBelow(int base, const PageRect& r) const
{
    const int left = X(r.x), top = Y(base) + Y(r.y);
    return CRect(left, top, left + X(r.w), top + Y(r.h));
}

void VirtualPage::PlaceBelow(CWnd* wnd, int base, const PageRect& r) const
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(RectBelow(base, r), TRUE);
}

CRect PixelStack::Next(int x, int width, int height)
{
    CRect rect(x, m_top, x + width, m_top + height);
    m_top += height;
    return rect;
}

int RowsInRoom(double room, double rowHeight)
{
    // A page the host made empty, or a grid without squares, gets no rows
    // rather than an infinite or negative count.
    if (!(rowHeight > 0.0) || !(room > 0.0)) return 0;
    const double rows = std::floor(room / rowHeight);
    if (rows > 1e6) return 0;
    return 5 * (static_cast<int>(rows) / 5);
}

int GridHeight(int rows, double rowHeight)
{
    if (rows <= 0 || !(rowHeight > 0.0)) return 1;
    return static_cast<int>(rows * rowHeight) + 1;
}

void PlaceFormFrame(CFrameWnd* frame, const VirtualPage& page, const PageRect& r, BOOL size)
{
    if (!frame || !frame->GetSafeHwnd()) return;
    page.Place(frame, r);
    CFormEx* form = FrameForm(frame);
    if (!form) return;
    if (size) form->SendMessage(WM_SIZE, 0, 0);
    form->ShowText();
}

void PlacePatientFrame(CFrameWnd* frame, const VirtualPage& page, const PageRect& r, BOOL show)
{
    if (!frame || !frame->GetSafeHwnd()) return;
    if (!show) {
        frame->ShowWindow(SW_HIDE);
        return;
    }
    page.Place(frame, r);
    frame->ShowWindow(SW_SHOW);
    if (CFormEx* form = FrameForm(frame)) {
        form->SendMessage(WM_SIZE, 0, 0);
        form->ShowText();
    }
}

// ---- focus jump ----------------------------------------------------------------------------

FocusJump ReadFocusJump(WPARAM wParam)
{
    const int* values = reinterpret_cast<const int*>(wParam);
    if (!values) return FocusJump{0, 0, 0};
    return FocusJump{values[0], values[1], values[2]};
}

namespace {

constexpr int kEntryControl2 = 4017;

BOOL IsFocusable(CWnd* child, const FocusRule& rule)
{
    if (!child->IsWindowVisible() || !child->IsWindowEnabled()) return FALSE;
    if (child->IsKindOf(RUNTIME_CLASS(CCheckStatic))) return FALSE;
    if (rule.skipReadOnlyEdits && child->IsKindOf(RUNTIME_CLASS(CCheckEdit)) && (child->GetStyle() & ES_READONLY))
        return FALSE;
    return TRUE;
}

// The first focusable child walking from the first (or the last) child.
CWnd* FirstFocusable(CWnd* form, BOOL fromLast, const FocusRule& rule)
{
    CWnd* child = form->GetWindow(GW_CHILD);
    if (child && fromLast) child = child->GetWindow(GW_HWNDLAST);
    for (; child; child = child->GetWindow(fromLast ? GW_HWNDPREV : GW_HWNDNEXT))
        if (IsFocusable(child, rule)) return child;
    return nullptr;
}

CWnd* ChildWithId(CWnd* form, int id)
{
    for (CWnd* child = form->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        if (child->GetDlgCtrlID() == id) return child;
    return nullptr;
}

BOOL IsLive(CWnd* child) { return child && child->IsWindowVisible() && child->IsWindowEnabled(); }

LRESULT FocusEdgeControl(CWnd* pane, CFormEx* form, BOOL fromLast, const FocusRule& rule)
{
    CWnd* control = FirstFocusable(form, fromLast, rule);
    if (!control) return 0;
    if (!fromLast || rule.backwardViaPane) {
        if (rule.setJumpStatus) form->SetJumpStatus(TRUE);
        if (rule.paneTakesFocus) pane->SetFocus();
    }
    control->SetFocus();
    return 1;
}

}  // namespace

LRESULT JumpFocusInto(CWnd* pane, CFrameWnd* target, const FocusJump& jump, const FocusRule& rule)
{
    CFormEx* form = FrameForm(target);
    if (!form || !form->IsWindowVisible()) return 0;
    if (jump.direction == kBackward) return jump.entry == 0 ? FocusEdgeControl(pane, form, TRUE, rule) : 0;
    if (jump.direction != kForward) return 0;
    switch (jump.entry) {
    case 0:
    case 3:
        return FocusEdgeControl(pane, form, FALSE, rule);
    case 1: {
        CWnd* control = ChildWithId(form, rule.entry1Control);
        if (!IsLive(control)) return 0;
        control->SetFocus();
        return 1;
    }
    case 2: {
        CWnd* control = ChildWithId(form, kEntryControl2);
        if (!IsLive(control)) return 0;
        control->SendMessage(WM_SETFOCUS, 0, 0);
        return 1;
    }
    default:
        return 0;
    }
}

LRESULT JumpBetweenForms(CWnd* pane, CFrameWnd* patient, CFrameWnd* interpretation, WPARAM wParam)
{
    const FocusJump jump = ReadFocusJump(wParam);
    CFrameWnd* target = nullptr;
    if (jump.source == kFromPatientForm) target = interpretation;
    if (jump.source == kFromInterpretation || jump.source == kFromUSInterpretation) target = patient;
    if (!target) return 0;
    return JumpFocusInto(pane, target, jump, FocusRule());
}

LRESULT JumpIntoOnlyForm(CWnd* pane, CFrameWnd* patient, WPARAM wParam)
{
    const FocusJump jump = ReadFocusJump(wParam);
    if (jump.source != kFromHost) return 0;
    FocusRule rule;
    rule.setJumpStatus = FALSE;   // the only form has no other form to come back from
    return JumpFocusInto(pane, patient, jump, rule);
}

void RepaintView(CWnd* view)
{
    if (view && view->GetSafeHwnd()) view->InvalidateRect(nullptr, TRUE);
}

// ---- relays --------------------------------------------------------------------------------

LRESULT RelayStripDrag(CTavrionDoc* doc, CViewRhythmWave* view, int sample)
{
    if (!view || !view->GetSafeHwnd()) return 0;
    if (doc && doc->GetNotifyWnd() && sample != view->GetStartTime()) doc->SendToNotifyWnd(WM_STRIP_DRAGGED, 0, 0);
    view->SetStartTime(sample);
    view->UpdateDrawDC();
    view->InvalidateRect(nullptr, FALSE);
    return 0;
}

LRESULT RelayAnnotationActive(CWnd* active, CWaveView* const* views, int count)
{
    for (int i = 0; i < count; ++i) {
        CWaveView* view = views[i];
        if (!view || !view->GetSafeHwnd()) continue;
        view->SetAnnoViewActive(view == active);
        view->InvalidateRect(nullptr, FALSE);
    }
    return 0;
}

int GridModeMargin() { return static_cast<int>(10 * g_dXUnit); }

}  // namespace panes
