#include "platform/ui/framework/SpinButtonCtrl.h"

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

CSpinButtonCtrl::~CSpinButtonCtrl() = default;

BOOL CSpinButtonCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(UPDOWN_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CSpinButtonCtrl::SetAccel(int nAccel, UDACCEL* pAccel)
{
    return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}

UINT CSpinButtonCtrl::GetAccel(int nAccel, UDACCEL* pAccel) const
{
    return static_cast<UINT>(SendMessage(UDM_GETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}

int CSpinButtonCtrl::SetBase(int nBase)
{
    return static_cast<int>(SendMessage(UDM_SETBASE, static_cast<WPARAM>(nBase)));
}

UINT CSpinButtonCtrl::GetBase() const
{
    return static_cast<UINT>(SendMessage(UDM_GETBASE));
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy)
{
    HWND buddy = pWndBuddy ? pWndBuddy->GetSafeHwnd() : nullptr;
    return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy))));
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return CWnd::FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    return static_cast<int>(static_cast<short>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0))));
}

int CSpinButtonCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(UDM_GETPOS));
}

int CSpinButtonCtrl::SetPos32(int nPos)
{
    return static_cast<int>(SendMessage(UDM_SETPOS32, 0, nPos));
}

int CSpinButtonCtrl::GetPos32(BOOL* lpbError) const
{
    return static_cast<int>(SendMessage(UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper)
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper)
{
    SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(nLower), nUpper);
}

DWORD CSpinButtonCtrl::GetRange() const
{
    return static_cast<DWORD>(SendMessage(UDM_GETRANGE));
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    const DWORD range = GetRange();
    lower = static_cast<short>(HIWORD(range));
    upper = static_cast<short>(LOWORD(range));
}

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const
{
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
