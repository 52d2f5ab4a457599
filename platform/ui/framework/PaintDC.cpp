#include "platform/ui/framework/PaintDC.h"

#include "platform/ui/framework/Wnd.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps(), m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (Detach()) ::EndPaint(m_hWnd, &m_ps);
}
