// The editor-name dialog: asks who edits an annotation before the edit is
// stamped with that name and the time.
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
    // The name entered; meaningful after DoModal returned IDOK.
    CString GetEditorName() const { return m_strEditorName; }
    // Fills the name field, as typing into it does.
    void SetEditorName(const CString& name) { m_strEditorName = name; }

protected:
    CTavrionDoc* m_pDoc;        // the document the dialog works on; not owned, may be null
    CString m_strEditorName;    // the name field; starts empty
};
