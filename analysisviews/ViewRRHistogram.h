// CViewRRHistogram: the RR result page's histogram of interval lengths, in
// percent of all intervals, over a window of 20 bins of 20 ms placed around
// the most frequent bin. One drawing serves the screen and the report; they
// differ only in the tools handed to it.
#pragma once

#include "analysisviews/RRViewPaint.h"
#include "platform/ui/framework/View.h"

class CECGDC;
struct _RRDATAITEM;

#define RR_HISTOGRAM_BINS 80          // 20 ms each, from 200 ms
#define RR_HISTOGRAM_WINDOW_BINS 20   // the bins shown

class CViewRRHistogram : public CView {
    DECLARE_DYNCREATE(CViewRRHistogram)

public:
    CViewRRHistogram();
    ~CViewRRHistogram() override;

    void OnDraw(CDC* pDC) override;
    // The histogram into rect on the report's device, in its current font.
    void Print(CECGDC* pDC, CRect* pRect);
    void DrawView(CDC* pDC, CRect* pRect, BOOL bPrint);

    // The first bin of the window for a mode bin (a multiple of 5, 0 to 60).
    static int GetWindowStart(int modeBin);

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    // The drawing's geometry: the rectangle, its widened width X, the text
    // metrics and the 0 % line.
    using Frame = CRRChartFrame;
    void DrawAxes(CDC* pDC, const Frame& f, int windowStart);
    void DrawBars(CDC* pDC, const Frame& f, const int* bins, int windowStart, int total);
    void DrawFrame(CDC* pDC, const Frame& f);

    CPen* m_pFramePen;   // owned
    CPen* m_pGridPen;    // borrowed, set before each drawing
    CPen* m_pBarPen;     // borrowed, set before each drawing
    CBrush* m_pBarBrush; // owned; the screen's bar fill
};
