// The master-step enlarge dialog on a post-load beat of one lead (template
// 130), opened by a double-click on a post-load beat of the master-step
// comparison views: the resting beat and the post-load beat side by side
// beside a one-pulse calibration column, each with its own ruler, drag,
// zoom and scroll tools. It only shows and measures.
#pragma once

#include "dialogs/DlgModal.h"
#include "dialogs/FinalEnlargeSide.h"

class CFinalViewDoc;

class CDlgFinalLoadEnlarge : public CDlgModal {
    DECLARE_DYNAMIC(CDlgFinalLoadEnlarge)

public:
    enum { IDD = 130 };
    enum {
        IDC_REST_TITLE = 3538,
        IDC_LOAD_TITLE = 3539,
        IDC_REST_HORIZONTAL_BAR = 3540,
        IDC_LOAD_HORIZONTAL_BAR = 3541,
        IDC_REST_VERTICAL_BAR = 3542,
        IDC_LOAD_VERTICAL_BAR = 3543,
        IDC_REST_RULER = 3544,
        IDC_LOAD_RULER = 3545,
        IDC_REST_DRAG = 3546,
        IDC_LOAD_DRAG = 3547,
        IDC_REST_ZOOM_IN = 3548,
        IDC_LOAD_ZOOM_IN = 3549,
        IDC_REST_ZOOM_OUT = 3550,
        IDC_LOAD_ZOOM_OUT = 3551,
        IDC_REST_READOUT = 3552,
        IDC_LOAD_READOUT = 3553,
    };

    explicit CDlgFinalLoadEnlarge(CWnd* pParent = nullptr);

    // Called before DoModal. The index is 0-based; -2 names the document's
    // current post-load comparison.
    void SetLeadID(int lead) { m_nLead = lead; }
    void SetLoadIndex(int index) { m_nLoadIndex = index; }
    void SetDoc(CFinalViewDoc* pDoc) { m_pDoc = pDoc; }
    int GetLeadID() const { return m_nLead; }
    int GetLoadIndex() const { return m_nLoadIndex; }
    CFinalViewDoc* GetDoc() const { return m_pDoc; }
    // The resting side (TRUE) or the post-load side.
    CViewFinalEnlargeWave* GetWaveView(BOOL rest) const { return (rest ? m_rest : m_load).View(); }
    CViewCAL* GetCalibrationView() const { return m_pCalibration; }
    // 1 while the resting side is the one the last pan came from, else 0.
    int GetActiveSide() const { return m_nActive; }

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnToolButton(UINT nID);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnRulerReading(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnViewPanned(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnActiveSide(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CFinalEnlargeSide& Active() { return m_nActive ? m_rest : m_load; }

    CFinalEnlargeSide m_rest;
    CFinalEnlargeSide m_load;
    CViewCAL* m_pCalibration = nullptr;   // lives in its frame
    CFinalViewDoc* m_pDoc = nullptr;      // not owned
    int m_nLoadIndex = -2;
    int m_nLead = 0;                      // display lead index
    int m_nActive = 1;
};
