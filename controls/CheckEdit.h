// An edit field bound to the document's control-data store by its dialog
// id. It looks like printed text until it takes the focus, and in numeric
// mode it never leaves an invalid or out-of-range number behind.
#pragma once

#include "controls/TypedTextLimit.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Edit.h"

class CTavrionDoc;

class CCheckEdit : public CEdit {
    DECLARE_DYNCREATE(CCheckEdit)
public:
    CCheckEdit();
    ~CCheckEdit() override;

    void SetDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    // A load: it reaches the store through the change notification like any
    // other text change.
    void InitialText(const CString& strText);
    void SetModifyFlag(BOOL bModify);
    BOOL GetModifyFlag() const { return m_bModify; }
    // Numeric mode with inclusive bounds.
    void SetRange(float fUpper, float fLower);
    void UpdateSelf();

    // The text a numeric field keeps on leaving it: empty unless it is one
    // number (digits with at most one point) within the bounds.
    static CString CheckNumber(const CString& strText, float fUpper, float fLower);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnChange();
    afx_msg void OnUpdate();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnPush(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsDocReadOnly() const;
    void PaintIdle();
    void RedrawInParent();

    BOOL m_bDisplay = 1;        // has not had the focus yet
    BOOL m_bModify = 0;
    CTavrionDoc* m_pDoc = nullptr;
    CBrush m_brGray;
    CBrush m_brWhite;
    CBrush m_brBack;            // rebuilt in the field colour at each colour request
    BOOL m_bFocus = 0;
    COLORREF m_crFrame = RGB(0xDC, 0xDC, 0xDC);
    BOOL m_bRange = 0;          // numeric mode
    float m_fUpper = 0.0f;
    float m_fLower = 0.0f;
    GuardedText m_guarded;      // what a typed change counts against, and what an undo brings back
};
