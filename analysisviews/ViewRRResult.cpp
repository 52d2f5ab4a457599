#include "analysisviews/ViewRRResult.h"

#include <algorithm>

#include "analysisviews/RRViewPaint.h"
#include "core/ConstTables.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

namespace {
// The item's RR50 columns under the table's columns 1 to 8: the item keeps
// them in an order of its own, so each is taken by its name.
const _RR50_COLUMN kCellColumn[RR_RESULT_COLUMNS - 1] = {RR50_MAX, RR50_MIN,   RR50_AVG,   RR50_HR,
                                                         RR50_SD,  RR50_RR_HR, RR50_RADIO, RR50_CV};

// The totals block: label and the item's total on each row.
struct TotalRow {
    const wchar_t* label;
    _RR_TOTAL_INDEX total;
};
const TotalRow kTotalRows[RR_TOTAL_COUNT] = {
    {L"計測時間", RR_TOTAL_MEASURE_TIME}, {L"総拍数", RR_TOTAL_BEAT},       {L"心拍数", RR_TOTAL_HEART_RATE},
    {L"平均 R-R 間隔", RR_TOTAL_MEAN},    {L"最大 R-R 間隔", RR_TOTAL_MAX}, {L"最小 R-R 間隔", RR_TOTAL_MIN},
    {L"最大/最小", RR_TOTAL_MAX_MIN},     {L"SD", RR_TOTAL_SD},             {L"CV", RR_TOTAL_CV},
};
}  // namespace

IMPLEMENT_DYNCREATE(CViewRRResult, CView)

BEGIN_MESSAGE_MAP(CViewRRResult, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CViewRRResult::~CViewRRResult() = default;

BOOL CViewRRResult::OnEraseBkgnd(CDC* pDC)
{
    FillRRViewBackground(pDC, GetDocument());
    return TRUE;
}

double CViewRRResult::XScale() const
{
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument());
    return doc ? doc->GetXScale() : 1.0;
}

double CViewRRResult::YScale() const
{
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument());
    return doc ? doc->GetYScale() : 1.0;
}

void CViewRRResult::OnDraw(CDC* pDC)
{
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument());
    if (!pDC || !doc || !GetCurrentRRItem(doc)) return;
    CDCStateSaver state(*pDC);
    CPen pen(PS_SOLID, 1, RGB(127, 127, 127));
    CDCObjectSelector<CFont> font(*pDC, doc->GetDocFont(0));
    CDCObjectSelector<CPen> penSelector(*pDC, &pen);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    DrawTotal(pDC, static_cast<int>(10 * XScale()), static_cast<int>(30 * YScale()));
    CRect client;
    GetClientRect(&client);
    const int W = client.Width();
    const int H = client.Height();
    const CRect table(MulDiv(W, 3, 7), MulDiv(H, 40, 1000), client.right - MulDiv(W, 40, 1000),
                      client.bottom + MulDiv(W, 20, 1000));
    DrawView(pDC, table, FALSE);
}

void CViewRRResult::Print(CECGDC* pDC, CRect* pRect)
{
    if (!pDC || !pDC->GetDC() || !pRect) return;
    DrawView(pDC->GetDC(), *pRect, TRUE);
}

void CViewRRResult::DrawTotal(CDC* pDC, int x, int y)
{
    const _RRDATAITEM* item = GetCurrentRRItem(GetDocument());
    if (!pDC || !item) return;
    const int step = static_cast<int>(20 * YScale());
    const int valueX = x + static_cast<int>(140 * XScale());
    CString value;
    for (const TotalRow& row : kTotalRows) {
        RRTextOut(pDC, x, y, TA_LEFT | TA_TOP, row.label);
        value.Format(L"= %s", item->strRRTotal[row.total].GetString());
        pDC->TextOut(valueX, y, value);
        y += step;
    }
}

void CViewRRResult::DrawView(CDC* pDC, CRect rect, BOOL bPrint)
{
    const _RRDATAITEM* item = GetCurrentRRItem(GetDocument());
    if (!pDC || !item) return;
    Table t;
    t.r = rect;
    t.rows = std::clamp(item->nRR50Count, 0, RR50_ROW_MAX);
    t.rh = MulDiv(rect.Height(), 1, 14);
    t.cw = MulDiv(rect.Width(), 1, RR_RESULT_COLUMNS);
    t.yb = rect.top + (t.rows + 2) * t.rh;
    t.xr = std::min(rect.left + RR_RESULT_COLUMNS * t.cw, static_cast<int>(rect.right));
    CDCStateSaver state(*pDC);
    pDC->SetBkMode(TRANSPARENT);
    DrawRules(pDC, t, bPrint);
    DrawCells(pDC, t, item);
}

void CViewRRResult::DrawRules(CDC* pDC, const Table& t, BOOL bPrint)
{
    const int left = t.r.left;
    const int top = t.r.top;
    pDC->MoveTo(left, top);
    pDC->LineTo(t.xr, top);
    {
        // Every other minute row is banded, the first included; the bands'
        // top edges are the table's row lines.
        CBrush band(bPrint ? RGB(255, 255, 255) : RGB(220, 255, 220));
        const int T = t.yb - top;
        for (int i = 1; i <= t.rows; ++i) {
            const int y1 = top + (i + 1) * T / (t.rows + 2);
            const int y2 = top + (i + 2) * T / (t.rows + 2);
            if (i % 2 == 1) pDC->FillRect(CRect(left, y1, t.xr, y2), &band);
            pDC->MoveTo(left, y1);
            pDC->LineTo(t.xr, y1);
        }
    }
    pDC->MoveTo(left, t.yb);
    pDC->LineTo(t.xr, t.yb);
    for (int k = 0; k <= RR_RESULT_COLUMNS; ++k) {
        pDC->MoveTo(left + k * t.cw, top);
        pDC->LineTo(left + k * t.cw, t.yb);
    }
}

void CViewRRResult::DrawCells(CDC* pDC, const Table& t, const _RRDATAITEM* pItem)
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    const int y1 = t.r.top + 2 * tm.tmHeight / 5;
    const int firstX = t.r.left + (t.xr - t.r.left) / RR_RESULT_COLUMNS / 2 + static_cast<int>(2 * XScale());
    auto columnX = [&](int k) { return firstX + k * t.cw; };
    for (int k = 0; k < RR_RESULT_COLUMNS; ++k) {
        pDC->TextOut(columnX(k), y1, CString(g_strRRListName[k]));
        pDC->TextOut(columnX(k), y1 + t.rh, CString(g_strRRListUnit[k]));
    }
    CString text;
    for (int j = 0; j < t.rows; ++j) {
        const int y = y1 + (j + 2) * t.rh;
        if (j == t.rows - 1)
            text.Format(L"%d -", j);
        else
            text.Format(L"%d - %d", j, j + 1);
        pDC->TextOut(columnX(0), y, text);
        for (int k = 1; k < RR_RESULT_COLUMNS; ++k) {
            text.Format(L"%s", pItem->strRR50[kCellColumn[k - 1]][j].GetString());
            pDC->TextOut(columnX(k), y, text);
        }
    }
}
