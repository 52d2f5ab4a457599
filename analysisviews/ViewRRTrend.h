// CViewRRTrend: the RR result page's trend of interval lengths against time
// over the record's first three minutes. One drawing serves the screen and
// the report; they differ only in the pens handed to it.
#pragma once

#include "analysisviews/RRViewPaint.h"
#include "platform/ui/framework/View.h"

class CECGDC;
struct _RRDATAITEM;

#define RR_TREND_SPAN_MS 180000   // the three minutes the time axis spans

class CViewRRTrend : public CView {
    DECLARE_DYNCREATE(CViewRRTrend)

public:
    CViewRRTrend();
    ~CViewRRTrend() override;

    void OnDraw(CDC* pDC) override;
    // The trend into rect on the report's device, in its current font.
    void Print(CECGDC* pDC, CRect* pRect);
    void DrawView(CDC* pDC, CRect* pRect);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    // The drawing's geometry: the rectangle, its widened width X, the text
    // metrics and the 0.2 s line.
    using Frame = CRRChartFrame;
    void DrawAxes(CDC* pDC, const Frame& f);
    void DrawGridAndFrame(CDC* pDC, const Frame& f);
    void DrawLine(CDC* pDC, const Frame& f, const _RRDATAITEM* pItem);
    // The point of an interval of v ms ending t ms after the first began.
    static CPoint PointOf(const Frame& f, long long t, int v);

    CPen* m_pFramePen;   // owned
    CPen* m_pGridPen;    // borrowed, set before each drawing
    CPen* m_pLinePen;    // borrowed, set before each drawing
};
