// The trend page of an exercise record: twelve trend graphs in a grid of
// four columns and three rows, in one of three trend pages chosen by three
// buttons — the summary (heart rate, pressure, load and the like), the ST
// page (one ST measure in every lead, chosen in the combo) and the ST-HR
// loops. The page, the two combo choices and which list the combo held
// live in the record's item, so each record comes back to its own page.
// The page is always 1020 x 664 units.
#pragma once

#include "analysisviews/ViewExerTrend.h"
#include "platform/ui/framework/Wnd.h"

class CExerViewDoc;
class CDlgCtrl;

// The trend print layout of the page shown: 3 summary, 4 to 7 the ST
// measures, 8 ST-HR loops, 9 none of these.
typedef int _EXER_PRINT_STYLE;

class CWndExerTrend : public CWnd {
    DECLARE_DYNAMIC(CWndExerTrend)

public:
    static constexpr int VIEWS = 12;

    CWndExerTrend();
    ~CWndExerTrend() override;

    void SetExerViewDoc(CExerViewDoc* pDoc) { m_pExerViewDoc = pDoc; }
    void OnUpdate();
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // The trend style of the combo's text (or, with fromItem, of the item's
    // summary-page choice); 0 for none or without a record.
    _EXER_TREND_STYLE GetTrendTypeFromCmb(int fromItem);
    _EXER_PRINT_STYLE GetCurrentPrintStyle();

    CDlgCtrl* GetTrendStrip() const { return m_pTrendStrip; }
    CViewExerTrend* GetTrendView(int index) const
    {
        return index >= 0 && index < VIEWS ? m_pTrendView[index] : nullptr;
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    _EXERDATAITEM* CurrentItem() const;
    BOOL IsTreadmillRecord() const;
    void RestoreTrendStyle();
    void ShowTrend();
    // Checks the page button `id` and unchecks the other two.
    void CheckPageButton(int id);
    void ChangePage();
    void ChangeComboStyle();

    CDlgCtrl* m_pTrendStrip;                // template 159; owned
    CViewExerTrend* m_pTrendView[VIEWS];    // children 250-261; delete themselves
    CExerViewDoc* m_pExerViewDoc;           // not owned
};
