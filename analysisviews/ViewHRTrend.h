// CViewHRTrend: the heart rate of a master-step examination over its
// minutes, with the time of the maximum ST depression marked. The heart-rate
// axis ends at 50 to 250 bpm and the time axis at 6 to 60 minutes, both
// chosen from the record's trend.
#pragma once

#include "platform/ui/framework/View.h"

class CECGDC;
class CFinalViewDoc;

class CViewHRTrend : public CView {
    DECLARE_DYNCREATE(CViewHRTrend)

public:
    CViewHRTrend() = default;

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // The chart with `pRect` as its plot. 0 without a device, else 1.
    int Print(CECGDC* pDC, CRect* pRect);

    // The examination kind the pane shows (the master step); kept only.
    void SetDocType(int kind) { m_nDocType = kind; }
    int GetTimeSpan() const { return m_nTimeSpan; }     // minutes
    int GetRateMax() const { return m_nRateMax; }       // bpm
    int GetMarkedTime() const { return m_nMarkedTime; } // seconds

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    void DrawHRTrendFrame(CDC* pDC, CRect plot, BOOL print);
    void DrawHRTrend(CDC* pDC, CRect plot, BOOL print);

private:
    CFinalViewDoc* FinalDoc() const;

    int m_nDocType = 1;
    int m_nRateMax = 50;       // bpm at the top of the axis
    int m_nTimeSpan = 6;       // minutes across
    int m_nMarkedTime = 0;     // seconds: the maximum ST depression
};
