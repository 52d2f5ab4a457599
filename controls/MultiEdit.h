// The multi-line comment field of the interpretation forms: an edit face to
// type in while the field has the focus, and a display face that shows the
// text as the form prints it while the field is idle. A change marks the
// document's comment edited, never its patient data.
#pragma once

#include "controls/CheckEdit.h"
#include "controls/TypedTextLimit.h"
#include "platform/gdi/Gdi.h"
#include "platform/ui/framework/Edit.h"

class CTavrionDoc;

class CMultiEdit : public CWnd {
    DECLARE_DYNCREATE(CMultiEdit)
public:
    enum { IDC_EDIT_FACE = 1000, IDC_DISPLAY_FACE = 1001 };

    CMultiEdit() = default;
    ~CMultiEdit() override;

    void SetDoc(CTavrionDoc* pDoc);
    void InitialText(const CString& strText);
    void SetWindowText(LPCTSTR lpszText) { InitialText(lpszText); }
    void UpdateSelf();
    void EditChange();
    // A null font is passed on as null.
    void SetEditFont(CFont* pFont);
    void LimitCtrl(UINT nLimit);
    // The part of a text the field's store keeps whole (a leading part of
    // it): a typed change is fitted to it instead of to the limit's columns,
    // the limit then only bounding the characters typed. None: the limit alone.
    void SetTextFit(TextFit pfnFit) { m_pfnFit = pfnFit; }
    BOOL IsEditing() const { return m_bEditing; }
    CEdit& GetEditFace() { return m_edit; }
    CCheckEdit& GetDisplayFace() { return m_display; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    // The edit face: takes what the program sets into it as the text a
    // typed change counts against (a multi-line edit tells no change when
    // its text is set).
    class CEditFace : public CEdit {
    public:
        GuardedText m_guarded;   // what a typed change counts against, and what an undo brings back
    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    void ShowEditFace();
    void GuardTypedChange();

    CEditFace m_edit;
    CCheckEdit m_display;
    CTavrionDoc* m_pDoc = nullptr;
    CString m_strText;          // last loaded or typed, right-trimmed
    CBrush m_brBack;            // rebuilt in the field colour at each colour request
    BOOL m_bEditing = 0;        // the edit face is up
    TextFit m_pfnFit = nullptr;
};
