// How CWnd receives messages: AfxWndProc, the lookup in the message maps,
// the call of a handler by its signature, command and notification
// routing, reflection to controls, and pre-translation.
#include <stdexcept>

#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/WindowManager.h"

namespace {

// The message being handled by a framework window; Default() repeats it.
thread_local MSG t_lastSent = {};

// While UpdateData runs on a window, the notifications its controls send
// (EN_CHANGE from setting their text) are not routed.
thread_local HWND t_lockoutNotify = nullptr;

platform::ui::MenuFromHandleFunction g_menuFromHandle = nullptr;
platform::ui::MenuDrawItemFunction g_menuDraw = nullptr;
platform::ui::MenuMeasureItemFunction g_menuMeasure = nullptr;

// What a reflected WM_CTLCOLORxxx carries to the control's CtlColor.
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType;
};

CPoint PointOf(LPARAM lParam)
{
    return CPoint(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
}

// The first entry of the class's maps, most derived first, for a window
// message (registered messages included).
const AFX_MSGMAP_ENTRY* FindWindowEntry(const AFX_MSGMAP* map, UINT message)
{
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry && entry->nSig != AfxSig_end; ++entry) {
            if (entry->nMessage == 0xC000 && message >= 0xC000) {
                const UINT* registered = reinterpret_cast<const UINT*>(entry->nSig);
                if (registered && *registered == message) return entry;
                continue;
            }
            if (entry->nMessage == message && entry->nCode == 0 && entry->nID == 0) return entry;
        }
    }
    return nullptr;
}

}  // namespace

namespace platform::ui {

MenuFromHandleFunction SetMenuFromHandle(MenuFromHandleFunction function)
{
    MenuFromHandleFunction previous = g_menuFromHandle;
    g_menuFromHandle = function;
    return previous;
}

CMenu* MenuFromHandle(HMENU menu)
{
    return g_menuFromHandle && menu ? g_menuFromHandle(menu) : nullptr;
}

void SetMenuOwnerDrawHandlers(MenuDrawItemFunction draw, MenuMeasureItemFunction measure)
{
    g_menuDraw = draw;
    g_menuMeasure = measure;
}

}  // namespace platform::ui

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = t_lastSent;
    t_lastSent = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    struct Restore {
        const MSG& saved;
        ~Restore() { t_lastSent = saved; }
    } restore{saved};

    // The framework centres a dialog that OnInitDialog neither moved nor showed.
    CRect before;
    DWORD styleBefore = 0;
    if (nMsg == WM_INITDIALOG) {
        ::GetWindowRect(hWnd, &before);
        styleBefore = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
    }
    const LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
    if (nMsg == WM_INITDIALOG && ::IsWindow(hWnd)) {
        CRect after;
        ::GetWindowRect(hWnd, &after);
        const DWORD style = static_cast<DWORD>(::GetWindowLongW(hWnd, GWL_STYLE));
        const bool untouched = after == before && !(style & WS_VISIBLE) && !(styleBefore & WS_VISIBLE);
        if (untouched && !(style & (WS_CHILD | WS_MINIMIZE | WS_MAXIMIZE | DS_ABSALIGN))) {
            if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd)) wnd->CenterWindow();
        }
    }
    return result;
}

LRESULT AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    // A window whose object let go without restoring its procedure.
    if (!pWnd) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return &t_lastSent;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_lastSent.message, t_lastSent.wParam, t_lastSent.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        result = 1;
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || !header->hwndFrom || !OnNotify(wParam, lParam, &result)) return FALSE;
    } else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        if (!HandleControlColor(message, wParam, lParam, &result)) return FALSE;
    } else {
        const AFX_MSGMAP_ENTRY* entry = FindWindowEntry(GetMessageMap(), message);
        if (!entry || !DispatchWindowMessage(entry, message, wParam, lParam, &result)) return FALSE;
    }
    if (pResult) *pResult = result;
    return TRUE;
}

BOOL CWnd::HandleControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* entry = FindWindowEntry(GetMessageMap(), WM_CTLCOLOR);
    if (!entry || entry->nSig != AfxSig_hDWw) return FALSE;
    typedef HBRUSH (CWnd::*Pfn)(CDC*, CWnd*, UINT);
    HBRUSH brush = (this->*AfxMemberCast<Pfn>(entry->pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                                          CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
                                                          message - WM_CTLCOLORMSGBOX);
    *pResult = reinterpret_cast<LRESULT>(brush);
    return TRUE;
}

BOOL CWnd::DispatchWindowMessage(const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* pResult)
{
    const AFX_PMSG pfn = entry->pfn;
    LRESULT& result = *pResult;
    const UINT_PTR sig = entry->nMessage == 0xC000 ? static_cast<UINT_PTR>(AfxSig_lwl) : entry->nSig;
    switch (sig) {
    case AfxSig_is:
        result = (this->*AfxMemberCast<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(reinterpret_cast<LPCREATESTRUCT>(lParam));
        return TRUE;
    case AfxSig_vv: (this->*AfxMemberCast<void (CWnd::*)()>(pfn))(); return TRUE;
    case AfxSig_vwii:
        (this->*AfxMemberCast<void (CWnd::*)(UINT, int, int)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                                     HIWORD(lParam));
        return TRUE;
    case AfxSig_vii:
        (this->*AfxMemberCast<void (CWnd::*)(int, int)>(pfn))(static_cast<SHORT>(LOWORD(lParam)),
                                                               static_cast<SHORT>(HIWORD(lParam)));
        return TRUE;
    case AfxSig_bD:
        result = (this->*AfxMemberCast<BOOL (CWnd::*)(CDC*)>(pfn))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        return TRUE;
    case AfxSig_vtimer: (this->*AfxMemberCast<void (CWnd::*)(UINT_PTR)>(pfn))(static_cast<UINT_PTR>(wParam)); return TRUE;
    case AfxSig_vwp:
        (this->*AfxMemberCast<void (CWnd::*)(UINT, CPoint)>(pfn))(static_cast<UINT>(wParam), PointOf(lParam));
        return TRUE;
    case AfxSig_bwsp:
        result = (this->*AfxMemberCast<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(
            LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointOf(lParam));
        return TRUE;
    case AfxSig_bWww:
        result = (this->*AfxMemberCast<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
            CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), static_cast<UINT>(static_cast<SHORT>(LOWORD(lParam))),
            HIWORD(lParam));
        return TRUE;
    case AfxSig_vwww:
        (this->*AfxMemberCast<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(static_cast<UINT>(wParam), LOWORD(lParam),
                                                                       HIWORD(lParam));
        return TRUE;
    case AfxSig_vW: {
        // WM_CAPTURECHANGED names the new capture in lParam, the focus messages in wParam.
        HWND other = reinterpret_cast<HWND>(message == WM_CAPTURECHANGED ? lParam : static_cast<LPARAM>(wParam));
        (this->*AfxMemberCast<void (CWnd::*)(CWnd*)>(pfn))(CWnd::FromHandle(other));
        return TRUE;
    }
    case AfxSig_vwwS:
        (this->*AfxMemberCast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(
            LOWORD(wParam), static_cast<UINT>(static_cast<SHORT>(HIWORD(wParam))),
            reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))));
        return TRUE;
    case AfxSig_hDw: {
        const auto* ctl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);
        if (!ctl) return FALSE;
        result = reinterpret_cast<LRESULT>(
            (this->*AfxMemberCast<HBRUSH (CWnd::*)(CDC*, UINT)>(pfn))(CDC::FromHandle(ctl->hDC), ctl->nCtlType));
        return TRUE;
    }
    case AfxSig_vwWb:
        (this->*AfxMemberCast<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(
            LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
        return TRUE;
    case AfxSig_vbw:
        (this->*AfxMemberCast<void (CWnd::*)(BOOL, UINT)>(pfn))(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return TRUE;
    case AfxSig_vPOS: (this->*AfxMemberCast<void (CWnd::*)(WINDOWPOS*)>(pfn))(reinterpret_cast<WINDOWPOS*>(lParam)); return TRUE;
    case AfxSig_vb: (this->*AfxMemberCast<void (CWnd::*)(BOOL)>(pfn))(static_cast<BOOL>(wParam)); return TRUE;
    case AfxSig_wv: result = (this->*AfxMemberCast<UINT (CWnd::*)()>(pfn))(); return TRUE;
    case AfxSig_vWp:
        (this->*AfxMemberCast<void (CWnd::*)(CWnd*, CPoint)>(pfn))(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),
                                                                    PointOf(lParam));
        return TRUE;
    case AfxSig_lp: result = (this->*AfxMemberCast<LRESULT (CWnd::*)(CPoint)>(pfn))(PointOf(lParam)); return TRUE;
    case AfxSig_iWww:
        result = (this->*AfxMemberCast<int (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
            CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), static_cast<UINT>(static_cast<SHORT>(LOWORD(lParam))),
            HIWORD(lParam));
        return TRUE;
    case AfxSig_vDRAW:
        (this->*AfxMemberCast<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(static_cast<int>(wParam),
                                                                            reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        result = TRUE;
        return TRUE;
    case AfxSig_vMEASURE:
        (this->*AfxMemberCast<void (CWnd::*)(int, LPMEASUREITEMSTRUCT)>(pfn))(
            static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        result = TRUE;
        return TRUE;
    case AfxSig_vMMI: (this->*AfxMemberCast<void (CWnd::*)(MINMAXINFO*)>(pfn))(reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
    case AfxSig_vwl: (this->*AfxMemberCast<void (CWnd::*)(UINT, LPARAM)>(pfn))(static_cast<UINT>(wParam), lParam); return TRUE;
    case AfxSig_vbNCP:
        (this->*AfxMemberCast<void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*)>(pfn))(
            static_cast<BOOL>(wParam), reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        return TRUE;
    case AfxSig_lwl: result = (this->*AfxMemberCast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam); return TRUE;
    case AfxSig_lwwM:
        result = (this->*AfxMemberCast<LRESULT (CWnd::*)(UINT, UINT, CMenu*)>(pfn))(
            LOWORD(wParam), HIWORD(wParam), platform::ui::MenuFromHandle(reinterpret_cast<HMENU>(lParam)));
        return TRUE;
    case AfxSig_vMwb:
        (this->*AfxMemberCast<void (CWnd::*)(CMenu*, UINT, BOOL)>(pfn))(
            platform::ui::MenuFromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case AfxSig_vwSTYLE:
        (this->*AfxMemberCast<void (CWnd::*)(int, LPSTYLESTRUCT)>(pfn))(static_cast<int>(wParam),
                                                                          reinterpret_cast<LPSTYLESTRUCT>(lParam));
        return TRUE;
    default: return FALSE;
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    int nCode = HIWORD(wParam);
    if (!hWndCtrl) {
        // A menu or accelerator command.
        if (nID == 0) return FALSE;
        nCode = CN_COMMAND;
    } else {
        if (t_lockoutNotify == m_hWnd) return TRUE;   // eaten while UpdateData runs
        if (ReflectLastMsg(hWndCtrl)) return TRUE;     // the control took its own notification
        if (nID == 0) return FALSE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (void)wParam;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return FALSE;
    HWND hWndCtrl = header->hwndFrom;
    // The sender's own id, not the one the header claims.
    const UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndCtrl));
    const int nCode = static_cast<int>(header->code);
    if (t_lockoutNotify == m_hWnd) return TRUE;
    if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
    AFX_NOTIFY notify = {pResult, header};
    return OnCmdMsg(nID, MORVELANCE_ROUTED_CODE(WM_NOTIFY, nCode), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM: return CWnd::OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    case WM_COMMAND: {
        const int nCode = HIWORD(wParam);
        if (CCmdTarget::OnCmdMsg(0, MORVELANCE_ROUTED_CODE(WM_REFLECT_BASE + WM_COMMAND, nCode), nullptr, nullptr)) {
            if (pResult) *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (!header) return FALSE;
        LRESULT ignored = 0;
        AFX_NOTIFY notify = {pResult ? pResult : &ignored, header};
        return CCmdTarget::OnCmdMsg(0, MORVELANCE_ROUTED_CODE(WM_REFLECT_BASE + WM_NOTIFY, static_cast<int>(header->code)),
                                    &notify, nullptr);
    }
    default: break;
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        AFX_CTLCOLOR ctl = {m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        LRESULT brush = 0;
        const BOOL handled = CWnd::OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), &brush);
        if (!handled || !brush) return FALSE;
        if (pResult) *pResult = brush;
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    return OnChildNotify(t_lastSent.message, t_lastSent.wParam, t_lastSent.lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    return child ? child->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    (void)pMsg;
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    if (!pMsg) return FALSE;
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (hWnd == hWndStop) break;
    }
    return FALSE;
}

BOOL CWnd::PreTranslateInput(LPMSG lpMsg)
{
    if (!lpMsg) return FALSE;
    const bool key = lpMsg->message >= WM_KEYFIRST && lpMsg->message <= WM_KEYLAST;
    const bool mouse = lpMsg->message >= WM_MOUSEFIRST && lpMsg->message <= WM_MOUSELAST;
    if (!key && !mouse) return FALSE;
    return IsDialogMessage(lpMsg);
}

BOOL CWnd::IsDialogMessage(LPMSG lpMsg)
{
    return ::IsDialogMessageW(m_hWnd, lpMsg);
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    struct Lockout {
        HWND previous;
        explicit Lockout(HWND hwnd) : previous(t_lockoutNotify) { t_lockoutNotify = hwnd; }
        ~Lockout() { t_lockoutNotify = previous; }
    } lockout(m_hWnd);
    try {
        DoDataExchange(&dx);
    } catch (const platform::ui::DataExchangeFailure&) {
        // The field has been reported and holds the focus.
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange* pDX)
{
    (void)pDX;
}

// ---- default handlers ------------------------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
void CWnd::OnStyleChanging(int, LPSTYLESTRUCT) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    CWnd* control = reinterpret_cast<CWnd*>(pScrollBar);
    if (control && control->SendChildNotifyLastMsg()) return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar)
{
    CWnd* control = reinterpret_cast<CWnd*>(pScrollBar);
    if (control && control->SendChildNotifyLastMsg()) return;
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    (void)pDC;
    (void)nCtlColor;
    LRESULT brush = 0;
    if (pWnd && pWnd->SendChildNotifyLastMsg(&brush)) return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    (void)nIDCtl;
    if (lpDrawItemStruct && lpDrawItemStruct->CtlType == ODT_MENU) {
        if (g_menuDraw && g_menuDraw(lpDrawItemStruct)) return;
    } else if (lpDrawItemStruct && ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType == ODT_MENU) {
        if (g_menuMeasure && g_menuMeasure(lpMeasureItemStruct)) return;
    } else if (lpMeasureItemStruct) {
        CWnd* child = GetDescendantWindow(nIDCtl, TRUE);
        if (child && child->SendChildNotifyLastMsg()) return;
    }
    Default();
}
