// A static text that behaves like a hyperlink on the interpretation forms:
// hand cursor, tooltip with its text, hover tracking, and a click that asks
// the parent form to open the additions. Colours and font come from the
// document.
#pragma once

#include "core/UserMessages.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Static.h"
#include "platform/ui/framework/ToolTipCtrl.h"

class CTavrionDoc;


class CLinkStatic : public CStatic {
public:
    CLinkStatic();
    ~CLinkStatic() override;

    void SetDoc(CTavrionDoc* pDoc);
    // A null cursor loads the default hand cursor.
    void SetLinkCursor(HCURSOR hCursor);
    void SetToolTipText(const CString& strText) { m_strToolTip = strText; }
    void SetAutoSize(BOOL bAutoSize) { m_bAutoSize = bAutoSize; }
    BOOL IsVisited() const { return m_bVisited; }
    BOOL IsHovering() const { return m_bHover; }

    // Sets the link up once the window holds its text and size; a dialog
    // control gets the same setup when it is subclassed.
    BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF) override;
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClicked();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    void SetupLink();
    void ApplyDocFont();
    void SizeToText();
    void LoadDefaultCursor();

    CTavrionDoc* m_pDoc = nullptr;   // not owned
    CBrush* m_pBrush = nullptr;      // background in colour slot 20
    BOOL m_bHover = FALSE;
    BOOL m_bVisited = FALSE;
    BOOL m_bAutoSize = TRUE;
    CString m_strToolTip;
    HCURSOR m_hCursor = nullptr;
    BOOL m_bOwnCursor = FALSE;       // m_hCursor is the copy loaded here
    CToolTipCtrl* m_pToolTip = nullptr;
    UINT m_nTimerID = 100;
    BOOL m_bCreating = FALSE;        // inside Create: the window has neither text nor size yet
};
