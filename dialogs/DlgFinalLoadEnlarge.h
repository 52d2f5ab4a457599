// The master-step enlarge dialog on a post-load beat of one lead, opened by
// a double-click on a post-load beat of the master-step comparison views.
#pragma once

#include "dialogs/DlgModal.h"

class CFinalViewDoc;

class CDlgFinalLoadEnlarge : public CDlgModal {
    DECLARE_DYNAMIC(CDlgFinalLoadEnlarge)

public:
    enum { IDD = 130 };

    explicit CDlgFinalLoadEnlarge(CWnd* pParent = nullptr);

    // Called before DoModal. The index is 0-based; -2 names the document's
    // current post-load comparison.
    void SetLeadID(int lead) { m_nLead = lead; }
    void SetLoadIndex(int index) { m_nLoadIndex = index; }
    void SetDoc(CFinalViewDoc* pDoc) { m_pDoc = pDoc; }
    int GetLeadID() const { return m_nLead; }
    int GetLoadIndex() const { return m_nLoadIndex; }
    CFinalViewDoc* GetDoc() const { return m_pDoc; }

private:
    int m_nLead = 0;                    // display lead index
    int m_nLoadIndex = -2;
    CFinalViewDoc* m_pDoc = nullptr;    // not owned
};
