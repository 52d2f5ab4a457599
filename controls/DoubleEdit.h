// An edit field for a number in a range with limited integer and decimal
// digits. Every keystroke is checked against the text it would produce, so
// the field never holds a text that is not such a number; the parent hears
// of refused input, Tab, Enter and out-of-range values through WM_COMMAND.
#pragma once

#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Edit.h"

// Notification codes sent in the high word of WM_COMMAND's wParam.
#define DEN_INVALID_INPUT 0x8000
#define DEN_TAB 0x8001
#define DEN_ENTER 0x8002
#define DEN_OUT_OF_RANGE 0x8003

class CDoubleEdit : public CEdit {
public:
    CDoubleEdit();
    ~CDoubleEdit() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;
    using CWnd::CreateEx;
    BOOL CreateEx(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetIntegerDigits(WORD nDigits) { m_nIntegerDigits = nDigits; }
    void SetDecimalDigits(WORD nDigits) { m_nDecimalDigits = nDigits; }
    void SetMaxValue(double dMax) { m_dMax = dMax; }
    void SetMinValue(double dMin) { m_dMin = dMin; }
    void EnableInput() { m_bInputEnabled = TRUE; }
    void DisableInput() { m_bInputEnabled = FALSE; }
    BOOL IsInputEnabled() const { return m_bInputEnabled; }
    // With TRUE the field holds one letter Y or N (either case) or nothing:
    // a letter goes into an empty field or over its one selected character;
    // digits, signs and other letters are refused with a beep.
    void SetYesNoMode(BOOL bYesNo) { m_bYesNo = bYesNo; }
    BOOL IsYesNoMode() const { return m_bYesNo; }
    void SetBkColor(COLORREF crBack) { m_crBack = crBack; }
    void SetTextColor(COLORREF crText) { m_crText = crText; }
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    void EnableBeep(BOOL bBeep) { m_bBeep = bBeep; }
    // FALSE lets a field whose input is disabled paint itself as a plain
    // right-aligned reading in its own colours.
    void SetDisplay(BOOL bDisplay) { m_bDisplay = bDisplay; }
    BOOL IsModified() const { return m_bModified; }
    void ClearModified() { m_bModified = FALSE; }

    // Whether the field may hold `strText` under the current limits.
    BOOL IsValidText(const CString& strText) const;

protected:
    // Tells the parent about a refused keystroke; beeps unless the parent
    // answers -1.
    virtual void OnBadInput();

    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChange();
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    LRESULT Notify(WORD wCode);
    BOOL IsOutOfRange() const;
    void OnSign(wchar_t chSign, const CString& strText, int nStart, int nEnd);
    // Passes the key to the edit when the candidate is valid, refuses it otherwise.
    void AcceptOrRefuse(const CString& strCandidate);
    // The yes/no mode's keystroke: a letter, Backspace or a refusal.
    void OnYesNoChar(wchar_t ch, const CString& strCandidate);

    BOOL m_bModified = FALSE;
    double m_dMin = -1e100;
    double m_dMax = 1e100;
    WORD m_nDecimalDigits = 5;
    WORD m_nIntegerDigits = 15;
    BOOL m_bBeep = TRUE;
    BOOL m_bInputEnabled = TRUE;
    BOOL m_bYesNo = FALSE;
    BOOL m_bFirstPaint = TRUE;     // the client edge is still to be removed
    BOOL m_bDisplay = TRUE;        // the standard edit paints even while input is disabled
    COLORREF m_crBack = RGB(255, 255, 255);
    CFont* m_pFont = nullptr;      // not owned
    COLORREF m_crText = RGB(0, 0, 0);
};
