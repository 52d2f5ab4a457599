// The summary page of a master-step record: the patient strip, the
// master-step interpretation form, the protocol line with the heart-rate and
// ST trends under it, a caption line, and two rows of one-lead rest versus
// post-load beats, each row led by a calibration column. The rows end five
// units above the bottom of the page, with the patient strip or without.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CFinalViewDoc;
class CViewHRTrend;
class CViewSTTrend;
class CViewSummaryProtocol;
class CViewFinalCom1Lead;
class CViewCAL;
class CDlgCtrl;

class CWndFinalSummary : public CWnd {
    DECLARE_DYNAMIC(CWndFinalSummary)

public:
    static constexpr int kLeadViews = 12;
    static constexpr int kRows = 2;

    CWndFinalSummary();
    ~CWndFinalSummary() override;

    void SetFinalViewDoc(CFinalViewDoc* pDoc) { m_pFinalViewDoc = pDoc; }
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }
    void OnUpdate();
    // The caption line: the rest label, the post-load time and the settings.
    void UpdateDisplayInfo();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CFrameWnd* GetInterpretationFrame() const { return m_pInterpretationFrame; }
    CViewHRTrend* GetHRTrendView() const { return m_pHRTrendView; }
    CViewSTTrend* GetSTTrendView() const { return m_pSTTrendView; }
    CViewSummaryProtocol* GetProtocolView() const { return m_pProtocolView; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }
    CViewFinalCom1Lead* GetLeadView(int i) const { return i >= 0 && i < kLeadViews ? m_pLeadView[i] : nullptr; }
    CViewCAL* GetCalView(int row) const { return row >= 0 && row < kRows ? m_pCalView[row] : nullptr; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The caption strip and its three statics above the rows, at `top`.
    void PlaceCaption(int top, BOOL gridMode);
    // The calibration column and the six one-lead views of row r.
    void PlaceRow(int r, int top, int calHeight, BOOL gridMode);

    CFrameWnd* m_pPatientFrame;          // frames and views delete themselves
    CFrameWnd* m_pInterpretationFrame;
    CViewHRTrend* m_pHRTrendView;        // child 201
    CViewSTTrend* m_pSTTrendView;        // child 202
    CViewSummaryProtocol* m_pProtocolView;   // child 203
    CDlgCtrl* m_pCaptionStrip;           // owned
    CViewFinalCom1Lead* m_pLeadView[kLeadViews];   // children 206 to 217
    CViewCAL* m_pCalView[kRows];         // children 204 and 205
    CFinalViewDoc* m_pFinalViewDoc;
    BOOL m_bShowPatientInfo;
};
