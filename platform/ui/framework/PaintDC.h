// CPaintDC: BeginPaint for the life of the object, EndPaint after; the DC is
// limited to the part of the window to repaint (m_ps.rcPaint).
#pragma once

#include "platform/gdi/Dc.h"
#include "platform/ui/windowing/UiRecords.h"

class CWnd;

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps;   // what BeginPaint filled in

protected:
    HWND m_hWnd;
};
