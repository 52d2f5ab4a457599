// CDialog: the framework's dialog on a template of the resources.
//
// DoModal disables the parent's top-level window (the main window when
// there is no parent), creates the dialog from its template with its
// controls, runs OnInitDialog (which loads the members into the controls
// with UpdateData), shows it and lets the modal driver (ModalDriver.h) act;
// a dialog nobody ends ends with IDCANCEL. Create makes a modeless dialog,
// a child panel when its template says WS_CHILD.
//
// A template missing from the resources makes an empty dialog with a
// caption, so that a dialog runs while its template is still to come.
#pragma once

#include <vector>

#include "platform/base/Strings.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/DialogTemplate.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless creation; FALSE when the template is missing or the dialog cannot be made.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const platform::ui::DialogTemplate& dialogTemplate, CWnd* pParentWnd = nullptr);
    // DoModal then uses these bytes instead of a named template.
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog and returns what EndDialog was given: IDOK, IDCANCEL
    // or the dialog's own code; -1 when the dialog window cannot be created
    // or WM_QUIT ended the run.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT lpRect) const;

    // The template's id; 0 for a template named by text.
    UINT GetTemplateId() const;
    LPCTSTR GetTemplateName() const { return m_lpszTemplateName; }

    // The window a modal pop-up of `pParentWnd` belongs to and disables
    // while it runs: the parent's top-level window, else the main window's,
    // else the window the person works in (the active window, or the owner
    // of a modeless pop-up that is active); a window a modal loop holds
    // already hands over to the pop-up running on it. Null when there is none.
    static HWND ModalOwnerOf(CWnd* pParentWnd);

    // Called once the dialog window and its controls exist and before
    // anyone acts on it; loads the members into the controls. TRUE gives
    // the first control the focus.
    virtual BOOL OnInitDialog();
    virtual void OnSetFont(CFont* pFont);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    CDialog();

    // IDOK takes the members from the controls (UpdateData) and ends the
    // dialog with IDOK; IDCANCEL ends it with IDCANCEL.
    afx_msg virtual void OnOK();
    afx_msg virtual void OnCancel();
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT HandleSetFont(WPARAM wParam, LPARAM lParam);

    // The template DoModal and Create use: the one given indirectly, else
    // the named one from the resources. False when there is none.
    bool LoadTemplate(platform::ui::DialogTemplate& out) const;
    // Creates the dialog window from a template for this object.
    BOOL CreateFromTemplate(const platform::ui::DialogTemplate& dialogTemplate, HWND hWndParent);

    DECLARE_MESSAGE_MAP()

private:
    // The top-level window the dialog belongs to, disabled while it runs.
    HWND OwnerForModal() const;

public:
    UINT m_nIDHelp;        // the help context: the template id, 0 for a named template
    CWnd* m_pParentWnd;    // the parent given at construction; null means the main window

protected:
    LPCTSTR m_lpszTemplateName;   // MAKEINTRESOURCE(id), or points into m_strTemplateName
    int m_nModalResult;           // the result of the last modal run; -1 while none has ended

private:
    CString m_strTemplateName;        // storage for a template named by text
    std::vector<BYTE> m_indirectTemplate;   // a template given as bytes (InitModalIndirect); empty otherwise
};
