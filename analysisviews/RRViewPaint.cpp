#include "analysisviews/RRViewPaint.h"

#include "core/TavrionDoc.h"
#include "documents/RRViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/windowing/SystemSettings.h"

_RRDATAITEM* GetCurrentRRItem(CDocument* pDoc)
{
    CRRViewDoc* doc = DYNAMIC_DOWNCAST(CRRViewDoc, pDoc);
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

int RRIntervalCount(const _RRDATAITEM* pItem)
{
    return pItem && pItem->nRRListCount > 0 ? pItem->nRRListCount : 0;
}

int RRIntervalLength(const _RRDATAITEM* pItem, int i)
{
    return pItem->pRRList ? pItem->pRRList[i].nValue : 0;
}

int RRIntervalMark(const _RRDATAITEM* pItem, int i)
{
    // The list may have changed under a copy taken before, so the index is
    // checked against the list itself.
    if (!pItem || !pItem->pRRList || i < 0 || i >= pItem->nRRListCount) return 0;
    return pItem->pRRList[i].nFlag;
}

void FillRRViewBackground(CDC* pDC, CDocument* pDoc)
{
    if (!pDC) return;
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, pDoc);
    CBrush brush(doc ? doc->GetWaveColor(20, 0) : RGB(255, 255, 255));
    CRect clip;
    pDC->GetClipBox(&clip);
    CDCObjectSelector<CBrush> selector(*pDC, &brush);
    pDC->PatBlt(clip.left, clip.top, clip.Width(), clip.Height(), PATCOPY);
}

void RRTextOut(CDC* pDC, int x, int y, UINT align, const CString& text)
{
    pDC->SetTextAlign(align);
    pDC->TextOut(x, y, text);
}

void DrawInRRViewFont(CDC* pDC, CDocument* pDoc, const std::function<void()>& draw)
{
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, pDoc);
    CDCObjectSelector<CFont> font(*pDC, doc ? doc->GetDocFont(0) : nullptr);
    const COLORREF oldColor = pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    draw();
    pDC->SetTextColor(oldColor);
}

CRRChartFrame MakeRRChartFrame(CDC* pDC, const CRect& rect, double spanRatio, int baseNum, int baseDen)
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    CRRChartFrame f;
    f.L = rect.left;
    f.T = rect.top;
    f.W = rect.Width();
    f.H = rect.Height();
    f.X = static_cast<int>(spanRatio * f.W);
    f.h = tm.tmHeight;
    f.a = tm.tmAveCharWidth;
    f.y0 = f.T + baseNum * f.H / baseDen;
    return f;
}
