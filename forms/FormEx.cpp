#include "forms/FormEx.h"

#include <cwchar>

#include "core/UserMessages.h"
#include "controls/CheckStatic.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/Brush.h"

IMPLEMENT_DYNAMIC(CFormEx, CFormView)

BEGIN_MESSAGE_MAP(CFormEx, CFormView)
    ON_WM_LBUTTONDOWN()
    ON_WM_MBUTTONDOWN()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {
constexpr UINT kEmptyForm = 100;
constexpr int kBackgroundSlot = 20;

bool IsTrimmed(wchar_t c)
{
    return c == L' ' || c == L'\r' || c == L'\n';
}
}  // namespace

CFormEx::CFormEx() : CFormEx(kEmptyForm)
{
}

CFormEx::CFormEx(UINT nIDTemplate) : CFormView(nIDTemplate), m_pDoc(nullptr), m_nDocType(0), m_bJumpStatus(0)
{
}

CFormEx::~CFormEx() = default;

void CFormEx::SetDocType(CTavrionDoc* pDoc, int nDocType)
{
    m_pDoc = pDoc;
    m_nDocType = nDocType;
}

CTavrionDoc* CFormEx::GetViewDoc() const
{
    return DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument());
}

int CFormEx::IsTabJumpEnd(int nDirection, CWnd* pCtrl)
{
    if (!pCtrl) return 0;
    if (nDirection != 1 && nDirection != 2) return 0;
    const UINT step = nDirection == 1 ? GW_HWNDPREV : GW_HWNDNEXT;
    for (HWND sibling = ::GetWindow(pCtrl->m_hWnd, step); sibling; sibling = ::GetWindow(sibling, step)) {
        if (!::IsWindowVisible(sibling) || !::IsWindowEnabled(sibling)) continue;
        CWnd* wnd = CWnd::FromHandlePermanent(sibling);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CCheckStatic))) continue;
        return 0;
    }
    return 1;
}

void CFormEx::MoveCtrl(int)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return;
    const double fx = doc->GetXScale();
    const double fy = doc->GetYScale();
    for (const CCheckUI& entry : m_arrCheckUI) {
        CWnd* control = entry.GetCtrl();
        if (!control || !control->m_hWnd) continue;
        const CRect design = entry.GetRect();
        control->MoveWindow(static_cast<int>(design.left * fx), static_cast<int>(design.top * fy),
                            static_cast<int>(design.Width() * fx), static_cast<int>(design.Height() * fy), TRUE);
    }
}

void CFormEx::MoveGroupCtrls()
{
}

void CFormEx::InitCheckUIArray()
{
}

void CFormEx::UpdateCtrlValue()
{
    for (CCheckUI& entry : m_arrCheckUI) entry.UpdateValue();
}

void CFormEx::UpdateCtrlStatus()
{
    for (CCheckUI& entry : m_arrCheckUI) entry.UpdateStatus();
}

void CFormEx::ShowText()
{
    CTavrionDoc* doc = GetViewDoc();
    for (CCheckUI& entry : m_arrCheckUI) {
        CWnd* control = entry.GetCtrl();
        if (!control || !control->m_hWnd || control->GetDlgCtrlID() == 0) continue;
        entry.SetDoc(doc);
        entry.InitialText();
    }
}

void CFormEx::LimitCtrl()
{
}

void CFormEx::InitItemGroups()
{
}

void CFormEx::OnInitialUpdate()
{
    SetScrollSizes(MM_TEXT, CSize(0, 0));
    CFormView::OnInitialUpdate();
}

void CFormEx::LeftAlign(wchar_t* text)
{
    if (!text) return;
    size_t start = 0;
    while (text[start] && IsTrimmed(text[start])) ++start;
    if (start) std::wmemmove(text, text + start, std::wcslen(text + start) + 1);
}

void CFormEx::RightAlign(wchar_t* text)
{
    if (!text) return;
    size_t end = std::wcslen(text);
    while (end > 0 && IsTrimmed(text[end - 1])) --end;
    text[end] = L'\0';
}

void CFormEx::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A label takes no click and passes the press on to the form: the field
    // being typed in keeps the focus, or what was typed would be left
    // half-entered. Only the bare background (a group box's inside too)
    // brings the focus back to the form's first control.
    const HWND under = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE);
    bool background = !under || under == m_hWnd;
    if (!background) {
        wchar_t className[16] = {};
        ::GetClassNameW(under, className, 16);
        background = std::wcscmp(className, L"Button") == 0 &&
                     (::GetWindowLong(under, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    }
    if (CWnd* first = GetWindow(GW_CHILD); first && background) first->SetFocus();
    CWnd* parent = GetParent();
    CWnd* pane = parent ? parent->GetParent() : nullptr;
    if (pane) pane->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(this), 0);
    CFormView::OnLButtonDown(nFlags, point);
}

void CFormEx::OnMButtonDown(UINT, CPoint)
{
}

void CFormEx::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (CWnd* first = GetWindow(GW_CHILD)) first->SetFocus();
    CFormView::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CFormEx::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (CWnd* first = GetWindow(GW_CHILD)) first->SetFocus();
    CFormView::OnVScroll(nSBCode, nPos, pScrollBar);
}

BOOL CFormEx::OnEraseBkgnd(CDC* pDC)
{
    CTavrionDoc* doc = GetViewDoc();
    if (!doc) return TRUE;
    CRect clip;
    pDC->GetClipBox(&clip);
    CBrush brush;
    brush.CreateSolidBrush(doc->GetWaveColor(kBackgroundSlot, 0));
    pDC->FillRect(&clip, &brush);
    return TRUE;
}

void CFormEx::OnDestroy()
{
    m_arrCheckUI.clear();
    CFormView::OnDestroy();
}
