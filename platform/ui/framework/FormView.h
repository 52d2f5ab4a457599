// CFormView: a view made from a dialog template: the view's window is a
// child dialog with the template's controls, scrolled when it is smaller
// than the template. Tab and the other dialog keys work inside it.
#pragma once

#include "platform/base/Strings.h"
#include "platform/ui/framework/ScrollView.h"

class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    // Creates the dialog from the template (as a child, whatever the
    // template says), gives it the id and the requested place, and shows
    // it when WS_VISIBLE is asked for. FALSE when the template is missing.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwRequestedStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // Loads the members into the controls (UpdateData(FALSE)), then the view's update.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    LPCTSTR GetTemplateName() const { return m_lpszTemplateName; }

protected:
    explicit CFormView(UINT nIDTemplate);
    explicit CFormView(LPCTSTR lpszTemplateName);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    LPCTSTR m_lpszTemplateName;        // MAKEINTRESOURCE(id), or into m_strTemplateName
    CCreateContext* m_pCreateContext;  // the context while Create runs, for OnCreate
    HWND m_hWndFocus;                  // the control that had the focus when the view was deactivated

private:
    CString m_strTemplateName;
};
