// CEdit: the framework's edit control, an "Edit" window. Every operation is
// the EM_ or WM_ message of the same meaning; SetSel also scrolls the caret
// into view unless told not to, as the framework's does.
#pragma once

#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/ControlRecords.h"

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    ~CEdit() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    using CWnd::Create;   // the child-window form of every window stays callable

    // ---- text and selection ----------------------------------------------------------
    // The selection: start in the low word, end in the high word.
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    // A start of -1 removes the selection; an end of -1 means the end of the text.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    BOOL CanUndo() const;
    BOOL Undo();
    void EmptyUndoBuffer();
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    // 0 removes the limit (as far as it goes).
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    TCHAR GetPasswordChar() const;
    void SetPasswordChar(TCHAR ch);

    // ---- lines ----------------------------------------------------------------------------
    int GetLineCount() const;
    // The line copied without a terminator; returns the characters copied.
    int GetLine(int nIndex, LPTSTR lpszBuffer) const;
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    // -1: the line of the caret.
    int LineIndex(int nLine = -1) const;
    int LineLength(int nLine = -1) const;
    int LineFromChar(int nIndex = -1) const;
    int GetFirstVisibleLine() const;
    void LineScroll(int nLines, int nChars = 0);

    // ---- geometry -------------------------------------------------------------------------
    void GetRect(LPRECT lpRect) const;
    void SetRect(LPCRECT lpRect);
    void SetRectNP(LPCRECT lpRect);
    void SetMargins(UINT nLeft, UINT nRight);
    DWORD GetMargins() const;
    CPoint PosFromChar(UINT nChar) const;
    int CharFromPos(CPoint pt) const;
    BOOL SetTabStops(int nTabStops, LPINT rgTabStops);
};
