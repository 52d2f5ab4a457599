// The edit part of a bound combo box. It shows the text the combo box last
// took from the store or its list, and refuses every change while the combo
// box is read-only, letting only the navigation keys through.
#pragma once

#include "controls/TypedTextLimit.h"
#include "platform/ui/framework/Edit.h"

class CTavrionDoc;
class CCheckComboBox;

class CComboEdit : public CEdit {
    DECLARE_DYNAMIC(CComboEdit)
public:
    CComboEdit() = default;
    ~CComboEdit() override;

    void SetDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    void SetReadOnlyFlag(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
    BOOL GetReadOnlyFlag() const { return m_bReadOnly; }
    void SetShownText(const CString& strText) { m_strShown = strText; }
    const CString& GetShownText() const { return m_strShown; }
    // What a typed change counts against, and what an undo brings back.
    GuardedText& Guarded() { return m_guarded; }
    // Paints the idle face; the combo box calls it after its own fill.
    void DrawIdle();

    // Tab, Page Up, Page Down, End, Home and the arrows.
    static BOOL IsNavigationKey(UINT nChar);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CCheckComboBox* GetCombo() const;

    BOOL m_bFocus = 0;
    CString m_strShown;         // empty: the window text is shown
    GuardedText m_guarded;
    BOOL m_bReadOnly = 0;
    COLORREF m_crFrame = RGB(0xDC, 0xDC, 0xDC);
    CTavrionDoc* m_pDoc = nullptr;
};
