// The form-view base of the patient-information strip and every
// interpretation form: the list of bound controls (one CCheckUI entry per
// row of the form's layout table), placement at the document's screen
// scale, texts, values and status from the control-data store, the end of
// the tab chain, and the click that makes the form its pane's active one.
#pragma once

#include <vector>

#include "controls/CheckUI.h"
#include "platform/ui/framework/FormView.h"

class CTavrionDoc;

class CFormEx : public CFormView {
    DECLARE_DYNAMIC(CFormEx)

public:
    ~CFormEx() override;

    // The pane calls it right after creating the form, before its initial update.
    void SetDocType(CTavrionDoc* pDoc, int nDocType);
    void SetJumpStatus(int bJump) { m_bJumpStatus = bJump; }
    int GetJumpStatus() const { return m_bJumpStatus; }
    // The control list, entry i for layout row i, with each control's design rectangle.
    const std::vector<CCheckUI>& GetCheckUIEntries() const { return m_arrCheckUI; }

    // 1 when no visible, enabled, not bound-static sibling follows `pCtrl` in
    // the direction (1 backwards, 2 forwards); 0 otherwise and for a null control.
    virtual int IsTabJumpEnd(int nDirection, CWnd* pCtrl);
    virtual void MoveCtrl(int nUnused);
    virtual void MoveGroupCtrls();
    virtual void InitCheckUIArray();
    virtual void UpdateCtrlValue();
    virtual void UpdateCtrlStatus();
    virtual void ShowText();
    virtual void LimitCtrl();
    virtual void InitItemGroups();

    void OnInitialUpdate() override;

protected:
    CFormEx();
    explicit CFormEx(UINT nIDTemplate);

    // Trim, in place, leading (LeftAlign) or trailing (RightAlign) blanks,
    // carriage returns and line feeds.
    static void LeftAlign(wchar_t* text);
    static void RightAlign(wchar_t* text);

    // The view's own framework document: placement, texts, status and background.
    CTavrionDoc* GetViewDoc() const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

    std::vector<CCheckUI> m_arrCheckUI;   // entry i belongs to row i of the form's layout table
    CTavrionDoc* m_pDoc;                  // SetDocType's: masters, lists, modified flags; not owned
    int m_nDocType;                       // _DOC_TYPE: 0 rest ... 6 MFER
    int m_bJumpStatus;                    // 1: the pane moved the focus here; the next Tab is swallowed
};
