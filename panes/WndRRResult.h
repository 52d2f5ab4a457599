// The result page of an RR-interval record: the patient strip, the RR
// statistics table and, below it, the interval histogram beside the trend.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRRViewDoc;
class CViewRRResult;
class CViewRRHistogram;
class CViewRRTrend;

class CWndRRResult : public CWnd {
    DECLARE_DYNAMIC(CWndRRResult)

public:
    CWndRRResult();
    ~CWndRRResult() override;

    void SetRRViewDoc(CRRViewDoc* pDoc) { m_pRRViewDoc = pDoc; }
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }
    void OnUpdate();

    // The children, for the RR result report and the host.
    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CViewRRResult* GetResultView() const { return m_pResultView; }
    CViewRRHistogram* GetHistogramView() const { return m_pHistogramView; }
    CViewRRTrend* GetTrendView() const { return m_pTrendView; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CRRViewDoc* m_pRRViewDoc;
    BOOL m_bShowPatientInfo;
    CFrameWnd* m_pPatientFrame;         // deletes itself with its window
    CViewRRResult* m_pResultView;       // child 201; deletes itself
    CViewRRHistogram* m_pHistogramView; // child 202
    CViewRRTrend* m_pTrendView;         // child 203
};
