#include "platform/ui/framework/WindowDC.h"

#include "platform/ui/framework/Wnd.h"

IMPLEMENT_DYNAMIC(CWindowDC, CDC)

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(m_hWnd ? ::GetWindowDC(m_hWnd) : ::GetDC(nullptr));
}

CWindowDC::~CWindowDC()
{
    HDC hdc = Detach();
    if (hdc) ::ReleaseDC(m_hWnd, hdc);
}
