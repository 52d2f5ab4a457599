// The summary page of an exercise test: the patient strip and the exercise
// interpretation form at the top; under them a trend graph with the
// trend-kind combo above it, the summary average beats (rest, just after the
// load, maximum ST depression) beside it, and the stored ECG strip at the
// bottom. The pane keeps the trend kind across records: each record's combo
// list selects the entry of that kind, or the first one when it has none.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CExerViewDoc;
class CViewExerTrend;
class CViewExerSummaryAverage;
class CViewMemoryWave;
class CDlgCtrl;

class CWndExerSummary : public CWnd {
    DECLARE_DYNAMIC(CWndExerSummary)

public:
    static constexpr int kSummaryLeads = 3;

    // A lead-dependent combo entry: its text and the lead its trend shows.
    struct LeadEntry {
        CString text;
        int leadId = -1;
    };

    CWndExerSummary();
    ~CWndExerSummary() override;

    void SetExerViewDoc(CExerViewDoc* pDoc) { m_pExerViewDoc = pDoc; }
    void SetShowPatientInfo(BOOL show) { m_bShowPatientInfo = show; }
    BOOL IsShowPatientInfo() const { return m_bShowPatientInfo; }
    void OnUpdate();
    // Refills the trend-kind combo for the current record and selects the kept kind.
    void RestoreTrendStyle();
    // The trend kind of the combo's text goes to the trend view.
    void OnSelChangeTrendStyle();
    int GetTrendStyle() const { return m_nTrendStyle; }

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CFrameWnd* GetInterpretationFrame() const { return m_pInterpretationFrame; }
    CDlgCtrl* GetTrendKindStrip() const { return m_pTrendKindStrip; }
    CViewExerTrend* GetTrendView() const { return m_pTrendView; }
    CViewExerSummaryAverage* GetAverageView() const { return m_pAverageView; }
    CViewMemoryWave* GetMemoryView() const { return m_pMemoryView; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Adds an entry standing for `style` to the combo.
    void AddTrendKind(const CString& text, int style);
    // Bottom of the average view; places the views between the form and the bottom.
    int PlaceAverageView(int top, BOOL gridMode);
    void PlaceTrendKindStrip(int top, BOOL gridMode);
    void PlaceMemoryView(int averageBottom, BOOL gridMode);

    CFrameWnd* m_pPatientFrame;                   // frames and views delete themselves
    CFrameWnd* m_pInterpretationFrame;
    CDlgCtrl* m_pTrendKindStrip;                  // owned
    CViewExerTrend* m_pTrendView;                 // child 203
    CViewExerSummaryAverage* m_pAverageView;      // child 201
    CViewMemoryWave* m_pMemoryView;               // child 202
    CExerViewDoc* m_pExerViewDoc;
    BOOL m_bShowPatientInfo;
    LeadEntry m_stLevel[kSummaryLeads];
    LeadEntry m_stLoop[kSummaryLeads];
    int m_nTrendStyle;
};
