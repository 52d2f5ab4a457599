// The editor-name prompt: asks who edits before an edit is stored with that
// name and the time.
#pragma once

#include "dialogs/DlgModal.h"

class CTavrionDoc;

class CDlgEditor : public CDlgModal {
    DECLARE_DYNAMIC(CDlgEditor)

public:
    enum { IDD = 119 };

    explicit CDlgEditor(CWnd* pParent = nullptr);
    ~CDlgEditor() override;

    void SetDoc(CTavrionDoc* pDoc) { m_pDoc = pDoc; }
    // The name chosen; meaningful after DoModal returned IDOK.
    CString GetEditorName() const { return m_strEditorName; }

    // Runs the prompt for `doc` under `pParent`; true with the chosen name
    // after OK. The library's edit stamps ask through it.
    static bool AskEditorName(CWnd* pParent, CTavrionDoc* pDoc, CString& name);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void ShowText();

    DECLARE_MESSAGE_MAP()

    CString m_strEditorName;    // set by OK: the combo box's text
    CTavrionDoc* m_pDoc;        // not owned; may stay null (then the list is empty)
};
