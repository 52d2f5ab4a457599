// The pop-up that shows a comment panel's whole text: a framed white window
// below the panel that hides itself when it loses the focus.
#pragma once

#include "platform/ui/framework/Wnd.h"

class CFont;

class CWndShowComment : public CWnd {
    DECLARE_DYNAMIC(CWndShowComment)

public:
    CWndShowComment();
    ~CWndShowComment() override;

    BOOL Create(CWnd* pOwner);
    using CWnd::Create;   // the child-window form of every window stays callable
    void SetText(const CString& text) { m_strText = text; }
    void SetFont(CFont* pFont) { m_pFont = pFont; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    DECLARE_MESSAGE_MAP()

    CString m_strClassName;
    HWND m_hOwner = nullptr;
    CString m_strText;
    CFont* m_pFont = nullptr;   // not owned
    COLORREF m_crBack = RGB(255, 255, 255);
    COLORREF m_crText = RGB(0, 0, 0);
};
