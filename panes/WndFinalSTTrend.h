// The ST trend page of a master-step record: the ST level of each of the
// twelve leads over the examination, one graph a lead in four columns of
// three. The host may make the page from its runtime class alone.
#pragma once

#include "platform/ui/framework/Wnd.h"

class CFinalViewDoc;
class CViewSTTrend;

class CWndFinalSTTrend : public CWnd {
    DECLARE_DYNCREATE(CWndFinalSTTrend)

public:
    static constexpr int kLeads = 12;

    CWndFinalSTTrend();
    ~CWndFinalSTTrend() override;

    void SetFinalViewDoc(CFinalViewDoc* pDoc) { m_pFinalViewDoc = pDoc; }
    // Kept for the host; the page has no patient strip to show.
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }
    void OnUpdate();

    CViewSTTrend* GetTrendView(int lead) const { return lead >= 0 && lead < kLeads ? m_pTrendView[lead] : nullptr; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CViewSTTrend* m_pTrendView[kLeads];   // children 201 to 212; delete themselves
    BOOL m_bShowPatientInfo;
    CFinalViewDoc* m_pFinalViewDoc;
};
