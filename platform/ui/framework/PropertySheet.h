// CPropertySheet: a tabbed dialog of property pages.
//
// The sheet is a dialog window holding a tab control (one tab per page,
// texts from the pages' captions) and, when modal, OK, Cancel and Apply
// buttons. A page's window is made the first time the page is shown, in
// the tab's display area, as a child dialog (its controls join the sheet's
// tab order). Leaving a page asks it (OnKillActive); OK and Apply apply
// every page made so far; Cancel resets them.
//
// DoModal runs the sheet through the modal driver (ModalDriver.h), whose
// script may take the sheet as CPropertySheet&. Create makes a modeless
// sheet without buttons; with WS_CHILD it sits inside a dialog, Tab moves
// through the dialog's controls and the page's as one, and Ctrl+Tab (and
// the other page-turning keys) on the dialog's own controls turns the pages.
#pragma once

#include <vector>

#include "platform/base/Strings.h"
#include "platform/ui/framework/PropertyPage.h"
#include "platform/ui/framework/TabCtrl.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/CommCtrl.h"
#include "platform/ui/windowing/DialogTemplate.h"

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // A modeless sheet; dwStyle -1 gives a visible pop-up with a caption.
    virtual BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
    using CWnd::Create;   // the child-window form of every window stays callable
    // IDOK or IDCANCEL; -1 when the sheet cannot be made or WM_QUIT ended the run.
    virtual INT_PTR DoModal();

    // Pages stay the caller's: the sheet never deletes them.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Before the sheet exists, chooses the page it starts on. FALSE when the
    // index is out of range, the current page refuses to be left, or the
    // page cannot be made.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    // Null until the sheet's window exists.
    CTabCtrl* GetTabControl() const;
    void EndDialog(int nEndID);
    // PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW.
    void PressButton(int nButton);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // A page-turning key typed in `host` outside its child sheets (on the
    // dialog's own buttons) turns the page of the sheet the dialog holds;
    // TRUE when a sheet took it.
    static BOOL TurnChildSheetPage(CWnd& host, MSG* pMsg);

    PROPSHEETHEADER m_psh;   // dwFlags (PSH_NOAPPLYNOW…) and nStartPage are read

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUnchanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnQuerySiblings(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCurSel(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPressButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTabControl(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCurrentPageHwnd(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    friend class CPropertyPage;   // hands the sheet its page-turning keys

    bool LoadPageTemplate(CPropertyPage& page, platform::ui::DialogTemplate& out) const;
    platform::ui::DialogTemplate SheetTemplate(DWORD style, DWORD exStyle) const;
    BOOL CreateSheetWindow(HWND hWndParent, DWORD style, DWORD exStyle);
    void BuildControls();
    RECT DisplayArea();
    BOOL CreatePageWindow(int index);
    BOOL ActivatePage(int index, bool askCurrent);
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+Page Down or Ctrl+Page Up, wherever in
    // the sheet it was typed.
    static bool IsPageTurnKey(const MSG* pMsg);
    // Turns the page for such a key (TRUE: the key is the sheet's).
    BOOL TurnPageByKey(const MSG* pMsg);
    // Gives the keyboard to the page's first control that takes it.
    void FocusPage(int index);
    BOOL ApplyPages();
    BOOL CancelPages();

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;     // the parent given at construction; null means the main window
    int m_nCurPage;         // the page shown; -1 while none is
    BOOL m_bModeless;       // made by Create: no buttons
    int m_nModalResult;     // the button that ended the sheet; -1 while none has
    CTabCtrl m_tabCtrl;
};
