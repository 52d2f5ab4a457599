// CWindowDC: a DC on a whole window, frame included (GetWindowDC / ReleaseDC).
#pragma once

#include "platform/gdi/Dc.h"

class CWnd;

class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd;   // the window the DC came from; null for the screen
};
