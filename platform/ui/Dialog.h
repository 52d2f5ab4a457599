// CDialog: the framework's dialog, for now as a modal dialog base class.
// DoModal creates a headless dialog window owned by the parent's top-level
// window (disabled while the dialog runs), runs OnInitDialog, then lets the
// modal driver (ModalDriver.h) act; a dialog nobody ends ends with IDCANCEL.
// Controls from the dialog template arrive with the window system.
#pragma once

#include "platform/base/Strings.h"
#include "platform/ui/Wnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog and returns what EndDialog was given: IDOK, IDCANCEL
    // or the dialog's own code; -1 when the dialog window cannot be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // The template's id; 0 for a template named by text.
    UINT GetTemplateId() const;
    LPCTSTR GetTemplateName() const { return m_lpszTemplateName; }

    // Called once the dialog window exists and before anyone acts on it.
    virtual BOOL OnInitDialog();

protected:
    CDialog();

    // IDOK and IDCANCEL commands end the dialog with that code.
    afx_msg virtual void OnOK();
    afx_msg virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

private:
    // The top-level window the dialog belongs to, disabled while it runs.
    HWND OwnerForModal() const;
    // OnInitDialog, then the driver; the value EndDialog was given.
    INT_PTR RunModal();

public:
    UINT m_nIDHelp;        // the help context: the template id, 0 for a named template
    CWnd* m_pParentWnd;    // the parent given at construction; null means the main window

protected:
    LPCTSTR m_lpszTemplateName;   // MAKEINTRESOURCE(id), or points into m_strTemplateName
    int m_nModalResult;           // the result of the last modal run; -1 while none has ended

private:
    CString m_strTemplateName;    // storage for a template named by text
};
