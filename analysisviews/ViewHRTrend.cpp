// CViewHRTrend: scales, frame and curve of the master-step heart-rate trend.
#include "analysisviews/ViewHRTrend.h"

#include <algorithm>

#include "analysisviews/ViewFinalShared.h"
#include "analysisviews/ViewFinalTrendShared.h"
#include "documents/FinalViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewHRTrend, CView)

BEGIN_MESSAGE_MAP(CViewHRTrend, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

// The time axis: a last time up to `bound` seconds spans `value` minutes.
struct SpanStep {
    int bound;
    int value;
};
const SpanStep kTimeSpans[] = {{300, 6}, {900, 15}, {1800, 30}};
const int kLongestSpan = 60;
// A largest heart rate below `bound` gives an axis of `value` bpm.
const SpanStep kRateMaxima[] = {{50, 50}, {100, 100}, {150, 150}, {200, 200}};
const int kHighestRate = 250;

}  // namespace

CFinalViewDoc* CViewHRTrend::FinalDoc() const
{
    return DYNAMIC_DOWNCAST(CFinalViewDoc, GetDocument());
}

BOOL CViewHRTrend::OnEraseBkgnd(CDC* pDC)
{
    return EraseFinalTrendBackground(*this, pDC, FinalDoc());
}

void CViewHRTrend::OnUpdate(CView*, LPARAM, CObject*)
{
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    m_nMarkedTime = item->nDescentMinute * 60 + item->nDescentSecond;
    const _FINAL_WAVE_INFO& trend = item->stWaveInfo;
    if (trend.sTrendCount <= 0 || !trend.pHeartRate) return;
    const int last = FinalTrendLastTime(*item);
    m_nTimeSpan = kLongestSpan;
    for (const SpanStep& s : kTimeSpans)
        if (last <= s.bound) {
            m_nTimeSpan = s.value;
            break;
        }
    const int highest = *std::max_element(trend.pHeartRate, trend.pHeartRate + trend.sTrendCount);
    m_nRateMax = kHighestRate;
    for (const SpanStep& s : kRateMaxima)
        if (highest < s.bound) {
            m_nRateMax = s.value;
            break;
        }
}

void CViewHRTrend::OnDraw(CDC* pDC)
{
    if (!pDC) return;
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    const CRect plot(client.left + 2 * w / 15, client.top + h / 6, client.right - w / 15, client.bottom - h / 6);
    DrawHRTrendFrame(pDC, plot, FALSE);
    DrawHRTrend(pDC, plot, FALSE);
}

int CViewHRTrend::Print(CECGDC* pDC, CRect* pRect)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc || !pRect) return 0;
    DrawHRTrendFrame(dc, *pRect, TRUE);
    DrawHRTrend(dc, *pRect, TRUE);
    return 1;
}

void CViewHRTrend::DrawHRTrendFrame(CDC* pDC, CRect plot, BOOL print)
{
    CFinalViewDoc* doc = FinalDoc();
    // Without a record there is no chart, not even an empty one.
    if (!pDC || !doc || !doc->GetCurrentDataItem()) return;
    const int w = plot.Width();
    const int h = plot.Height();
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    if (!print) font.Select(FinalDisplayFont(doc));
    pDC->SetTextColor(print ? RGB(0, 0, 0) : ::GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    pDC->TextOut(plot.left, plot.top - h / 25, CString(L"心拍数 [bpm]"));

    CPen grid(PS_SOLID, 1, RGB(240, 240, 240));
    CPen frame(PS_SOLID, print ? 1 : 2, RGB(127, 127, 127));
    CDCObjectSelector<CPen> pen(*pDC, &frame);
    const POINT box[] = {{plot.left, plot.top}, {plot.right, plot.top}, {plot.right, plot.bottom}, {plot.left, plot.bottom}, {plot.left, plot.top}};
    pDC->Polyline(box, 5);
    const int textHeight = pDC->GetTextExtent(CString(L"0")).cy;
    pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    for (int k = 0; k <= 5; ++k) {
        const int y = plot.top + static_cast<int>(k * 0.2 * h);
        pen.Select(&frame);
        pDC->MoveTo(plot.left - w / 180, y);
        pDC->LineTo(plot.left, y);
        CString label;
        label.Format(L"%d", m_nRateMax * (5 - k) / 5);
        pDC->TextOut(plot.left - 2 * w / 180, y - textHeight / 2, label);
        if (k == 0 || k == 5) continue;
        pen.Select(&grid);
        pDC->MoveTo(plot.left, y);
        pDC->LineTo(plot.right, y);
    }
    pen.Select(&frame);
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    for (int k = 0; k <= 3; ++k) {
        const int x = plot.left + static_cast<int>(k * w / 3.0);
        pDC->MoveTo(x, plot.bottom);
        pDC->LineTo(x, plot.bottom + h / 30);
        CString label;
        label.Format(L"%d", m_nTimeSpan * k / 3);
        if (k == 0) label += L"(min)";
        pDC->TextOut(x, plot.bottom + 2 * h / 30, label);
    }
}

void CViewHRTrend::DrawHRTrend(CDC* pDC, CRect plot, BOOL print)
{
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!pDC || !item || m_nTimeSpan <= 0 || m_nRateMax <= 0) return;
    const _FINAL_WAVE_INFO& trend = item->stWaveInfo;
    const double xScale = plot.Width() / (m_nTimeSpan * 60.0);
    const double yScale = plot.Height() / static_cast<double>(m_nRateMax);
    CDCStateSaver state(*pDC);
    CPen line(PS_SOLID, print ? 2 : 1, print ? RGB(0, 0, 0) : RGB(0, 0, 255));
    CBrush fill(RGB(0, 0, 255));
    CDCObjectSelector<CPen> pen(*pDC, &line);
    CDCObjectSelector<CBrush> brush(*pDC, &fill);
    const int radius = static_cast<int>((print ? 3 : 6) * plot.Height() * 0.004);
    if (trend.pHeartRate)
        PlotFinalTrend(pDC, *item, trend.sTrendCount, radius, [&](int i) { return trend.pHeartRate[i]; },
                       [&](int i, short rate) {
                           return CPoint(plot.left + static_cast<int>(trend.pTrendTime[i] * xScale),
                                         plot.bottom - static_cast<int>(rate * yScale));
                       });
    const int marked = plot.left + static_cast<int>(m_nMarkedTime * xScale);
    if (print || marked <= plot.left) return;
    // Its own selection, made after the pen: the pen is selected out before it goes.
    CPen red(PS_SOLID, 1, RGB(225, 0, 0));
    CDCObjectSelector<CPen> redSelection(*pDC, &red);
    pDC->MoveTo(marked, plot.top);
    pDC->LineTo(marked, plot.bottom);
}
