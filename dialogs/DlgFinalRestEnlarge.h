// The master-step enlarge dialog on the rest beat of one lead, opened by a
// double-click on a rest beat of the master-step comparison views.
#pragma once

#include "dialogs/DlgModal.h"

class CFinalViewDoc;

class CDlgFinalRestEnlarge : public CDlgModal {
    DECLARE_DYNAMIC(CDlgFinalRestEnlarge)

public:
    enum { IDD = 129 };

    explicit CDlgFinalRestEnlarge(CWnd* pParent = nullptr);

    // Called before DoModal.
    void SetLeadID(int lead) { m_nLead = lead; }
    void SetDoc(CFinalViewDoc* pDoc) { m_pDoc = pDoc; }
    int GetLeadID() const { return m_nLead; }
    CFinalViewDoc* GetDoc() const { return m_pDoc; }

private:
    int m_nLead = 0;                    // display lead index
    CFinalViewDoc* m_pDoc = nullptr;    // not owned
};
