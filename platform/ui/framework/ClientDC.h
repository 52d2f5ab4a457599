// CClientDC: a DC on a window's client area for the life of the object
// (GetDC / ReleaseDC). A null window gives a DC of the screen's size.
#pragma once

#include "platform/gdi/Dc.h"

class CWnd;

class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;   // the window the DC came from; null for the screen
};
