#include "analysisviews/ViewRRTrend.h"

#include "analysisviews/RRViewPaint.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewRRTrend, CView)

BEGIN_MESSAGE_MAP(CViewRRTrend, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CViewRRTrend::CViewRRTrend()
    : m_pFramePen(new CPen(PS_SOLID, 1, RGB(127, 127, 127))), m_pGridPen(nullptr), m_pLinePen(nullptr)
{
}

CViewRRTrend::~CViewRRTrend()
{
    delete m_pFramePen;
}

BOOL CViewRRTrend::OnEraseBkgnd(CDC* pDC)
{
    FillRRViewBackground(pDC, GetDocument());
    return TRUE;
}

void CViewRRTrend::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    m_pGridPen = g_pPenDkDot;
    m_pLinePen = g_pPenBlue;
    DrawInRRViewFont(pDC, GetDocument(), [&] { DrawView(pDC, &client); });
}

void CViewRRTrend::Print(CECGDC* pDC, CRect* pRect)
{
    if (!pDC || !pDC->GetDC() || !pRect) return;
    m_pGridPen = g_pPenDkDot;
    m_pLinePen = g_pPenSemiBold;
    DrawView(pDC->GetDC(), pRect);
}

void CViewRRTrend::DrawView(CDC* pDC, CRect* pRect)
{
    const _RRDATAITEM* item = GetCurrentRRItem(GetDocument());
    if (!pDC || !pRect || !item) return;
    const Frame f = MakeRRChartFrame(pDC, *pRect, 1.05, 20, 24);

    const UINT oldAlign = pDC->GetTextAlign();
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    RRTextOut(pDC, f.L + 25 * f.a, f.T + f.h, TA_LEFT | TA_TOP, L"RR ﾄﾚﾝﾄﾞｸﾞﾗ?");
    DrawAxes(pDC, f);
    DrawGridAndFrame(pDC, f);
    DrawLine(pDC, f, item);
    pDC->SetBkMode(oldMode);
    pDC->SetTextAlign(oldAlign);
}

void CViewRRTrend::DrawAxes(CDC* pDC, const Frame& f)
{
    static const wchar_t* const kSeconds[] = {L"0.2", L"0.4", L"0.6", L"0.8", L"1.0",
                                              L"1.2", L"1.4", L"1.6", L"1.8"};
    const int labelX = f.L + f.X / 8 - f.X / 32;
    int y = 0;
    for (int i = 0; i < 9; ++i) {
        y = f.T + 20 * f.H / 24 - 2 * f.H * i / 24 + f.h / 2;
        RRTextOut(pDC, labelX, y, TA_RIGHT | TA_BOTTOM, kSeconds[i]);
    }
    RRTextOut(pDC, labelX, y, TA_LEFT | TA_BOTTOM, L"秒");

    static const wchar_t* const kMinutes[] = {L"0", L"1", L"2", L"3(min)"};
    for (int i = 0; i < 4; ++i) {
        const int x = f.L + f.X / 8 + 4 * f.X * i / 16;
        RRTextOut(pDC, x, f.y0 + f.h / 2, TA_CENTER | TA_TOP, kMinutes[i]);
        pDC->MoveTo(x, f.y0 + f.h / 4);
        pDC->LineTo(x, f.y0);
    }
}

void CViewRRTrend::DrawGridAndFrame(CDC* pDC, const Frame& f)
{
    const int left = f.L + f.X / 8;
    const int right = f.L + 14 * f.X / 16;
    const int top = f.T + 4 * f.H / 24;
    CDCObjectSelector<CPen> pen(*pDC, m_pGridPen);
    for (int k = 0; k < 7; ++k) {
        const int y = f.T + 18 * f.H / 24 - 2 * f.H * k / 24;
        pDC->MoveTo(left, y);
        pDC->LineTo(right, y);
    }
    pen.Select(m_pFramePen);
    pDC->MoveTo(left, f.y0);
    pDC->LineTo(left, top);
    pDC->LineTo(right, top);
    pDC->LineTo(right, f.y0);
    pDC->LineTo(left, f.y0);
}

CPoint CViewRRTrend::PointOf(const Frame& f, long long t, int v)
{
    const int x = f.L + static_cast<int>(f.X / 8 + static_cast<double>(t) * f.X * 0.01 / 2400);
    int y = f.T + static_cast<int>(22 * f.H / 24 - static_cast<double>(v) * f.H * 0.1 / 240);
    // Lengths over 1.8 s lie on the top line; short ones may fall below the frame.
    const int top = f.T + 4 * f.H / 24;
    if (y < top) y = top;
    return CPoint(x, y);
}

void CViewRRTrend::DrawLine(CDC* pDC, const Frame& f, const _RRDATAITEM* pItem)
{
    // Each point stands at the time its interval ends, counted from the start
    // of the first interval, so the line only runs forward. An interval the
    // record gave no length for adds no time and no point.
    const int count = RRIntervalCount(pItem);
    CDCObjectSelector<CPen> pen(*pDC, m_pLinePen);
    long long t = 0;
    bool started = false;
    for (int i = 0; i < count; ++i) {
        const int v = RRIntervalLength(pItem, i);
        if (v < 0) continue;
        t += v;
        if (t > RR_TREND_SPAN_MS) break;
        const CPoint point = PointOf(f, t, v);
        if (started) {
            pDC->LineTo(point);
        } else {
            pDC->MoveTo(point);
            started = true;
        }
    }
}
