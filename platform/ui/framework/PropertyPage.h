// CPropertyPage: one page of a property sheet, a child dialog on its own
// template, created the first time its sheet shows it.
//
// The sheet tells the page: OnSetActive when it is shown (loading the
// members into the controls again after the first time), OnKillActive when
// it is left (taking the members from the controls; FALSE keeps the page),
// OnApply (which calls OnOK) when the sheet's OK or Apply is pressed, and
// OnReset (which calls OnCancel) when it is cancelled.
#pragma once

#include "platform/base/Strings.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/CommCtrl.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    ~CPropertyPage() override;

    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
    // Marks the page changed (the sheet's Apply button follows) or unchanged.
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bChanged; }
    // Asks every page of the sheet in turn; the first nonzero answer.
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

    // The tab text: the title given in m_psp (PSP_USETITLE), else the
    // caption string id, else the template's caption.
    CString GetCaption() const;

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual BOOL OnQueryCancel();
    void OnOK() override;
    void OnCancel() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    PROPSHEETPAGE m_psp;   // the page's description; the sheet reads dwFlags and pszTitle

protected:
    CPropertyPage();

    DECLARE_MESSAGE_MAP()

    BOOL m_bFirstSetActive;   // OnSetActive has not run yet (OnInitDialog loaded the controls)
    BOOL m_bChanged;          // SetModified(TRUE) since the last apply
    UINT m_nIDCaption;        // string id of the tab text; 0 for none

private:
    friend class CPropertySheet;
    CString m_strCaption;   // the template's caption, read when the page is first made
};
