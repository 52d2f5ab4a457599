// The one-line comment panel of the page panes: a label showing the start of
// the comment, and a pop-up with the whole text that a click opens.
#pragma once

#include <memory>

#include "dialogs/DlgCtrl.h"

class CFont;
class CWndShowComment;

class CDlgCommentCtrl : public CDlgCtrl {
    DECLARE_DYNAMIC(CDlgCommentCtrl)

public:
    enum { IDD = 176 };

    explicit CDlgCommentCtrl(CWnd* pParent = nullptr);
    ~CDlgCommentCtrl() override;

    void SetComment(const CString& text);
    void SetCommentFont(CFont* pFont);
    void SetRightAlign(BOOL bRight) { m_bRightAlign = bRight ? 1 : 0; }

    // The start of a comment that fits the label: at most 12 display
    // columns, ending before the first line break.
    static CString GetShortComment(const CString& text);
    // Lines of at most 29 display columns the pop-up shows the text in.
    static int CountCommentLines(const CString& text);

    CWndShowComment* GetPopup() const { return m_pPopup.get(); }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    void MeasurePopup();
    void Replace();

    int m_nPopupWidth = 0;
    int m_nPopupHeight = 0;
    std::unique_ptr<CWndShowComment> m_pPopup;
    CString m_strComment;
    CFont* m_pFont = nullptr;   // not owned
    int m_bRightAlign = 0;
};
