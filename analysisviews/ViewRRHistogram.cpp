#include "analysisviews/ViewRRHistogram.h"

#include "analysisviews/RRViewPaint.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

namespace {
const int kFirstBinMs = 200;
const int kBinMs = 20;
const int kLastMs = kFirstBinMs + kBinMs * RR_HISTOGRAM_BINS;   // 1800 ms, itself outside every bin

// Counts the intervals by bin; lengths outside the bins count nowhere.
void CountBins(const _RRDATAITEM* pItem, int count, int* bins)
{
    for (int i = 0; i < count; ++i) {
        const int v = RRIntervalLength(pItem, i);
        if (v < kFirstBinMs || v >= kLastMs) continue;
        bins[(v - kFirstBinMs) / kBinMs]++;
    }
}

// The fullest bin; the lowest of equals, 0 when all are empty.
int ModeBin(const int* bins)
{
    int mode = 0;
    for (int b = 1; b < RR_HISTOGRAM_BINS; ++b)
        if (bins[b] > bins[mode]) mode = b;
    return mode;
}
}  // namespace

IMPLEMENT_DYNCREATE(CViewRRHistogram, CView)

BEGIN_MESSAGE_MAP(CViewRRHistogram, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CViewRRHistogram::CViewRRHistogram()
    : m_pFramePen(new CPen(PS_SOLID, 1, RGB(127, 127, 127))),
      m_pGridPen(nullptr),
      m_pBarPen(nullptr),
      m_pBarBrush(new CBrush(RGB(0, 180, 255)))
{
}

CViewRRHistogram::~CViewRRHistogram()
{
    delete m_pFramePen;
    delete m_pBarBrush;
}

BOOL CViewRRHistogram::OnEraseBkgnd(CDC* pDC)
{
    FillRRViewBackground(pDC, GetDocument());
    return TRUE;
}

void CViewRRHistogram::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    m_pGridPen = g_pPenDkDot;
    m_pBarPen = g_pPenBlue;
    DrawInRRViewFont(pDC, GetDocument(), [&] { DrawView(pDC, &client, FALSE); });
}

void CViewRRHistogram::Print(CECGDC* pDC, CRect* pRect)
{
    if (!pDC || !pDC->GetDC() || !pRect) return;
    m_pGridPen = g_pPenDkDot;
    m_pBarPen = g_pPenDark;
    DrawView(pDC->GetDC(), pRect, TRUE);
}

int CViewRRHistogram::GetWindowStart(int modeBin)
{
    if (modeBin < 13) return 0;
    if (modeBin >= 69) return 60;
    return 5 * ((modeBin + 3) / 5 - 2);
}

void CViewRRHistogram::DrawView(CDC* pDC, CRect* pRect, BOOL bPrint)
{
    const _RRDATAITEM* item = GetCurrentRRItem(GetDocument());
    if (!pDC || !pRect || !item) return;
    const int total = RRIntervalCount(item);
    int bins[RR_HISTOGRAM_BINS] = {};
    CountBins(item, total, bins);
    const int windowStart = GetWindowStart(ModeBin(bins));

    const Frame f = MakeRRChartFrame(pDC, *pRect, 1.2, 13, 16);

    const UINT oldAlign = pDC->GetTextAlign();
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    {
        CDCObjectSelector<CPen> pen(*pDC);
        CDCObjectSelector<CBrush> brush(*pDC);
        RRTextOut(pDC, f.L + 22 * f.a, f.T + f.h, TA_LEFT | TA_TOP, L"RR ﾋｽﾄｸﾞﾗ?");
        // The labels' ticks take the pen the context has.
        DrawAxes(pDC, f, windowStart);
        pen.Select(m_pGridPen);
        for (int k = 0; k < 4; ++k) {
            const int y = f.T + (11 - 2 * k) * f.H / 16;
            pDC->MoveTo(f.L + f.X / 8, y);
            pDC->LineTo(f.L + f.X / 8 + 10 * f.X / 16, y);
        }
        pen.Select(m_pBarPen);
        brush.Select(bPrint ? g_pBrushBlack : m_pBarBrush);
        DrawBars(pDC, f, bins, windowStart, total);
        pen.Select(m_pFramePen);
        DrawFrame(pDC, f);
    }
    pDC->SetBkMode(oldMode);
    pDC->SetTextAlign(oldAlign);
}

void CViewRRHistogram::DrawAxes(CDC* pDC, const Frame& f, int windowStart)
{
    const int labelX = f.L + f.X / 8 - f.X / 32;
    static const wchar_t* const kPercent[] = {L"0", L"20", L"40", L"60", L"80", L"100"};
    int y = 0;
    for (int i = 0; i < 6; ++i) {
        y = f.T + 13 * f.H / 16 - 2 * f.H * i / 16 + f.h / 2;
        RRTextOut(pDC, labelX, y, TA_RIGHT | TA_BOTTOM, kPercent[i]);
    }
    RRTextOut(pDC, labelX, y, TA_LEFT | TA_BOTTOM, L"%");

    const int s = windowStart / 5;
    CString text;
    for (int k = 0; k < 5; ++k) {
        int x;
        int tickTop;
        if (k < 4) {
            x = f.L + f.X / 8 + 5 * f.X * k / 32;
            tickTop = x;
            text.Format(L"%2.1f", (s + 2 + k) * 0.1);
        } else {
            x = f.L + f.X / 8 + 20 * f.X / 32;
            tickTop = f.L + 12 * f.X / 16;
            text.Format(L"%2.1f(%s)", (s + 6) * 0.1, L"Sec");
        }
        RRTextOut(pDC, x, f.y0 + f.h / 2, TA_CENTER | TA_TOP, text);
        pDC->MoveTo(x, f.y0 + f.h / 4);
        pDC->LineTo(tickTop, f.y0);
    }
}

void CViewRRHistogram::DrawBars(CDC* pDC, const Frame& f, const int* bins, int windowStart, int total)
{
    // Every count is part of the total, so an empty list has no bar to draw.
    if (total <= 0) return;
    const int left = f.L + f.X / 8;
    for (int j = 0; j < RR_HISTOGRAM_WINDOW_BINS; ++j) {
        const int c = bins[windowStart + j];
        if (c <= 0) continue;
        const int p = c * 100 / total;
        pDC->Rectangle(left + 10 * f.X * j / 320, f.y0 - p * f.H / 160, left + 10 * f.X * (j + 1) / 320, f.y0);
    }
}

void CViewRRHistogram::DrawFrame(CDC* pDC, const Frame& f)
{
    const int left = f.L + f.X / 8;
    const int right = f.L + 12 * f.X / 16;
    const int top = f.T + 3 * f.H / 16;
    pDC->MoveTo(left, f.y0);
    pDC->LineTo(left, top);
    pDC->LineTo(right, top);
    pDC->LineTo(right, f.y0);
    pDC->LineTo(left, f.y0);
}
