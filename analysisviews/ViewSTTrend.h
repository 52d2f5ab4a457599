// CViewSTTrend: the ST level of one lead of a master-step examination over
// its minutes, -5 to +5 mm, with the time of the maximum ST depression
// marked. In the summary pane it follows the record's lead of maximum ST
// depression; elsewhere it shows the lead it is given.
#pragma once

#include "platform/ui/framework/View.h"

class CECGDC;
class CFinalViewDoc;
struct _FINALDATAITEM;

class CViewSTTrend : public CView {
    DECLARE_DYNCREATE(CViewSTTrend)

public:
    CViewSTTrend() = default;

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // 0 without a device, else 1.
    int Print(CECGDC* pDC, CRect rect);
    // The chart in `rect` less the margins of the last OnDraw or Print, for
    // display lead `lead`.
    void PubDraw(CDC* pDC, CRect rect, UINT lead);

    // The examination kind the pane shows (the master step); kept only.
    void SetDocType(int kind) { m_nDocType = kind; }
    // The display lead shown when not following the deepest lead.
    void SetLead(int lead) { m_nLead = lead; }
    // Non-zero (the summary pane): follow the record's lead of maximum ST
    // depression, with larger markers and a narrower chart.
    void SetIfInSummary(int follow) { m_bFollow = follow; }
    int GetLead() const { return m_nLead; }
    // Minutes between the time labels: 2, 5, 10 or 20 by the last trend time.
    static int GetTimeStep(const _FINALDATAITEM& item);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CFinalViewDoc* FinalDoc() const;
    // The lead drawn: the deepest lead when following, else the view's; 0
    // for a lead outside the twelve.
    UINT ShownLead() const;
    void DrawGrid(CDC* pDC, const CRect& plot, BOOL print);
    void DrawTimeAxis(CDC* pDC, const CRect& plot, const _FINALDATAITEM& item, BOOL print);
    void DrawSeries(CDC* pDC, const CRect& plot, const _FINALDATAITEM& item, UINT lead, BOOL print);

    int m_nLeft = 0;      // margins around the plot
    int m_nRight = 0;
    int m_nTop = 0;
    int m_nBottom = 0;
    BOOL m_bPrint = FALSE;
    int m_bFollow = 0;
    int m_nDocType = 1;
    int m_nLead = -1;     // display lead 0..11
};
