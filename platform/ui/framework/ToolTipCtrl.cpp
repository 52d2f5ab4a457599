#include "platform/ui/framework/ToolTipCtrl.h"

#include "platform/ui/windowing/Resources.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

CToolTipCtrl::~CToolTipCtrl()
{
    DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    return CWnd::CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    ti = TOOLINFO{};
    ti.cbSize = sizeof(TOOLINFO);
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (nIDTool == 0) {
        // The window itself is the tool; its parent holds it.
        ti.hwnd = ::GetParent(hwnd);
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
    } else {
        ti.hwnd = hwnd;
        ti.uId = nIDTool;
    }
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd) return FALSE;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool) ti.rect = *lpRectTool;
    ti.lpszText = const_cast<LPTSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!pWnd) return FALSE;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    if (lpRectTool) ti.rect = *lpRectTool;
    ti.hinst = AfxFindStringResourceHandle(nIDText);
    ti.lpszText = MAKEINTRESOURCE(nIDText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPTSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.hinst = AfxFindStringResourceHandle(nIDText);
    ti.lpszText = MAKEINTRESOURCE(nIDText);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    if (!lpRect) return;
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.rect = *lpRect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    // Tool texts are at most this long: the common controls' own limit.
    wchar_t buffer[1024] = {0};
    TOOLINFO ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = buffer;
    str.Empty();
    if (SendMessage(TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti))) str = buffer;
}

int CToolTipCtrl::GetToolCount() const
{
    return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT));
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}

void CToolTipCtrl::SetDelayTime(UINT nDelay)
{
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
}

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime)
{
    SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
}

int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const
{
    return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration));
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth));
}

int CToolTipCtrl::GetMaxTipWidth() const
{
    return static_cast<int>(SendMessage(TTM_GETMAXTIPWIDTH));
}

void CToolTipCtrl::SetTipBkColor(COLORREF clr)
{
    SendMessage(TTM_SETTIPBKCOLOR, clr);
}

void CToolTipCtrl::SetTipTextColor(COLORREF clr)
{
    SendMessage(TTM_SETTIPTEXTCOLOR, clr);
}

void CToolTipCtrl::Pop()
{
    SendMessage(TTM_POP);
}

void CToolTipCtrl::Update()
{
    SendMessage(TTM_UPDATE);
}
