// The master-step enlarge dialog on the rest beat of one lead (template
// 129), opened by a double-click on a rest beat of the master-step
// comparison views: the beat enlarged beside a one-pulse calibration
// column, with the ruler, drag, zoom and scroll tools of the enlarged
// views. It only shows and measures.
#pragma once

#include "dialogs/DlgModal.h"
#include "dialogs/FinalEnlargeSide.h"

class CFinalViewDoc;

class CDlgFinalRestEnlarge : public CDlgModal {
    DECLARE_DYNAMIC(CDlgFinalRestEnlarge)

public:
    enum { IDD = 129 };
    enum {
        IDC_READOUT = 3530,
        IDC_RULER = 3531,
        IDC_DRAG = 3532,
        IDC_ZOOM_IN = 3533,
        IDC_ZOOM_OUT = 3534,
        IDC_HORIZONTAL_BAR = 3535,
        IDC_VERTICAL_BAR = 3536,
        IDC_TITLE = 3537,
    };

    explicit CDlgFinalRestEnlarge(CWnd* pParent = nullptr);

    // Called before DoModal.
    void SetLeadID(int lead) { m_nLead = lead; }
    void SetDoc(CFinalViewDoc* pDoc) { m_pDoc = pDoc; }
    int GetLeadID() const { return m_nLead; }
    CFinalViewDoc* GetDoc() const { return m_pDoc; }
    CViewFinalEnlargeWave* GetWaveView() const { return m_side.View(); }
    CViewCAL* GetCalibrationView() const { return m_pCalibration; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnToolButton(UINT nID);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnRulerReading(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewPanned(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    int m_nLead = 0;                    // display lead index
    CFinalViewDoc* m_pDoc = nullptr;    // not owned
    CFinalEnlargeSide m_side;
    CViewCAL* m_pCalibration = nullptr;   // lives in its frame
};
