// CViewSTTrend: margins, grid, axes and series of the master-step ST trend.
#include "analysisviews/ViewSTTrend.h"

#include <algorithm>

#include "analysisviews/ViewFinalShared.h"
#include "analysisviews/ViewFinalTrendShared.h"
#include "core/Globals.h"
#include "documents/FinalViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewSTTrend, CView)

BEGIN_MESSAGE_MAP(CViewSTTrend, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const int kRows = 10;                // -5..+5 mm, 1 mm a row, 0 at row 5
const CString kTitle = L"ST[mm]";

// A last time up to `bound` seconds labels every `minutes` minutes.
struct TimeStep {
    int bound;
    int minutes;
};
const TimeStep kTimeSteps[] = {{360, 2}, {900, 5}, {1800, 10}};
const int kLongestStep = 20;

}  // namespace

CFinalViewDoc* CViewSTTrend::FinalDoc() const
{
    return DYNAMIC_DOWNCAST(CFinalViewDoc, GetDocument());
}

BOOL CViewSTTrend::OnEraseBkgnd(CDC* pDC)
{
    return EraseFinalTrendBackground(*this, pDC, FinalDoc());
}

int CViewSTTrend::GetTimeStep(const _FINALDATAITEM& item)
{
    const int last = FinalTrendLastTime(item);
    for (const TimeStep& s : kTimeSteps)
        if (last <= s.bound) return s.minutes;
    return kLongestStep;
}

UINT CViewSTTrend::ShownLead() const
{
    const CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    const int lead = m_bFollow ? (item ? item->nDescentLead : 0) : m_nLead;
    return lead < 0 || lead >= FINAL_ST_LEADS ? 0u : static_cast<UINT>(lead);
}

void CViewSTTrend::OnUpdate(CView*, LPARAM, CObject*)
{
    m_bPrint = FALSE;
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (m_bFollow && item) m_nLead = item->nDescentLead;
    // A lead outside the twelve (none deepest, or never set) shows lead 0.
    if (m_nLead < 0 || m_nLead >= FINAL_ST_LEADS) m_nLead = 0;
}

void CViewSTTrend::OnDraw(CDC* pDC)
{
    CFinalViewDoc* doc = FinalDoc();
    if (!pDC || !doc) return;
    CRect rect;
    GetClientRect(&rect);
    if (m_bFollow) {
        rect.left += 15;
        rect.right -= 10;
    }
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC, FinalDisplayFont(doc));
    const CSize title = pDC->GetTextExtent(kTitle);
    m_nLeft = title.cx / 2;
    m_nRight = title.cx / 6;
    m_nTop = static_cast<int>(1.5 * title.cy);
    m_nBottom = 4 * title.cy / 3;
    PubDraw(pDC, rect, ShownLead());
}

int CViewSTTrend::Print(CECGDC* pDC, CRect rect)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc) return 0;
    const CSize title = dc->GetTextExtent(kTitle);
    m_nLeft = title.cx / 3;
    m_nRight = 0;
    m_nTop = title.cy < 16 ? 20 : title.cy;
    m_nBottom = std::max(100, 4 * title.cy / 3);
    m_bPrint = TRUE;
    PubDraw(dc, rect, ShownLead());
    m_bPrint = FALSE;
    return 1;
}

void CViewSTTrend::PubDraw(CDC* pDC, CRect rect, UINT lead)
{
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!pDC || !item) return;
    const CRect plot(rect.left + m_nLeft, rect.top + m_nTop, rect.right - m_nRight, rect.bottom - m_nBottom);
    CDCStateSaver state(*pDC);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    DrawGrid(pDC, plot, m_bPrint);
    DrawTimeAxis(pDC, plot, *item, m_bPrint);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    const UINT shown = std::min<UINT>(lead, FINAL_ST_LEADS - 1);
    pDC->TextOut(plot.left, plot.top, kTitle + item->stLeadName.strDispName[shown]);
    DrawSeries(pDC, plot, *item, shown, m_bPrint);
}

void CViewSTTrend::DrawGrid(CDC* pDC, const CRect& plot, BOOL print)
{
    const double row = plot.Height() / static_cast<double>(kRows);
    CPen dotted(PS_DOT, 1, RGB(128, 128, 128));
    CPen black(PS_SOLID, 2, RGB(0, 0, 0));
    CDCObjectSelector<CPen> pen(*pDC, g_pPenDkDot ? g_pPenDkDot : &dotted);
    for (int r = 1; r < kRows; ++r) {
        if (r == kRows / 2) continue;
        const int y = plot.top + static_cast<int>(r * row);
        pDC->MoveTo(plot.left, y);
        pDC->LineTo(plot.right, y);
    }
    // The frame and the zero line in the DC's own pen on screen.
    pen.Restore();
    if (print) pen.Select(&black);
    const POINT box[] = {{plot.left, plot.top}, {plot.right, plot.top}, {plot.right, plot.bottom}, {plot.left, plot.bottom}, {plot.left, plot.top}};
    pDC->Polyline(box, 5);
    const int zero = plot.top + static_cast<int>(kRows / 2 * row);
    pDC->MoveTo(plot.left - 2, zero);
    pDC->LineTo(plot.right, zero);

    CFinalViewDoc* doc = FinalDoc();
    const int gap = print ? 15 : static_cast<int>(5 * (doc ? doc->GetPixelPerMMX() : 0.0));
    pDC->SetTextAlign(TA_RIGHT | TA_BASELINE);
    for (int r : {0, kRows / 2, kRows}) {
        const int y = plot.top + static_cast<int>(r * row);
        CString label;
        label.Format(L"%d", 5 - r);
        pDC->TextOut(plot.left - gap, y, label);
        pDC->MoveTo(plot.left - gap, y);
        pDC->LineTo(plot.left, y);
    }
}

void CViewSTTrend::DrawTimeAxis(CDC* pDC, const CRect& plot, const _FINALDATAITEM& item, BOOL print)
{
    const int step = GetTimeStep(item);
    const int tick = print ? 13 : 3;
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    for (int k = 0; k <= 3; ++k) {
        const int x = plot.left + k * plot.Width() / 3;
        pDC->MoveTo(x, plot.bottom);
        pDC->LineTo(x, plot.bottom + tick);
        CString label;
        label.Format(L"%d", k * step);
        if (k == 0) label += L"(min)";
        pDC->TextOut(x, plot.bottom + tick, label);
    }
    const int time = item.nDescentMinute * 60 + item.nDescentSecond;
    const int x = plot.left + static_cast<int>(time * plot.Width() / (step * 180.0));
    CDCStateSaver state(*pDC);
    if (print) {
        CBrush black(RGB(0, 0, 0));
        CDCObjectSelector<CBrush> brush(*pDC, &black);
        const POINT triangle[] = {{x - 25, plot.bottom + 60}, {x + 25, plot.bottom + 60}, {x, plot.bottom + 17}};
        pDC->Polygon(triangle, 3);
        return;
    }
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CDCObjectSelector<CPen> pen(*pDC, &red);
    pDC->MoveTo(x, plot.top);
    pDC->LineTo(x, plot.bottom);
}

void CViewSTTrend::DrawSeries(CDC* pDC, const CRect& plot, const _FINALDATAITEM& item, UINT lead, BOOL print)
{
    const int step = GetTimeStep(item);
    // The table holds 31 samples; the columns are the record's leads.
    const int count = std::min<int>(item.stWaveInfo.sTrendCount, FINAL_TREND_POINTS);
    const UINT column = CTavrionDoc::GetDataLeadID(lead, static_cast<int>(item.uSystemCode));
    if (column >= static_cast<UINT>(FINAL_ST_LEADS)) return;
    CPen line(PS_SOLID, print ? 2 : 1, print ? RGB(0, 0, 0) : RGB(0, 0, 255));
    CBrush fill(RGB(0, 0, 255));
    CDCObjectSelector<CPen> pen(*pDC, &line);
    CDCObjectSelector<CBrush> brush(*pDC, &fill);
    const int h = plot.Height();
    const int radius = print ? 6 : static_cast<int>(h * 0.001 * (m_bFollow ? 22 : 14));
    const short* times = item.stWaveInfo.pTrendTime;
    PlotFinalTrend(pDC, item, count, radius, [&](int i) { return item.stWaveInfo.sTrend[i][column]; },
                   [&](int i, short st) {
                       return CPoint(plot.left + static_cast<int>(times[i] * plot.Width() / (step * 180.0)),
                                     plot.top + static_cast<int>(5 * h / 10.0 - st * h * 0.001));
                   });
}
