#include "platform/ui/framework/ClientDC.h"

#include "platform/ui/framework/Wnd.h"

IMPLEMENT_DYNAMIC(CClientDC, CDC)

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    // The window layer made the DC: it takes it back (CDC would only delete it).
    HDC hdc = Detach();
    if (hdc) ::ReleaseDC(m_hWnd, hdc);
}
