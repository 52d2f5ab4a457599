// The master-step trend views' shared drawing.
#include "analysisviews/ViewFinalTrendShared.h"

#include "core/TavrionDoc.h"
#include "documents/FinalDataItem.h"

BOOL EraseFinalTrendBackground(CView& view, CDC* pDC, const CTavrionDoc* doc)
{
    if (!pDC) return FALSE;
    CRect client;
    view.GetClientRect(&client);
    pDC->FillSolidRect(&client, doc ? doc->GetWaveColor(20, 0) : RGB(255, 255, 255));
    return TRUE;
}

int FinalTrendLastTime(const _FINALDATAITEM& item)
{
    const _FINAL_WAVE_INFO& trend = item.stWaveInfo;
    if (trend.sTrendCount <= 0 || !trend.pTrendTime) return -1;
    return trend.pTrendTime[trend.sTrendCount - 1];
}

void PlotFinalTrend(CDC* pDC, const _FINALDATAITEM& item, int count, int radius, const std::function<short(int)>& value,
                    const std::function<CPoint(int, short)>& point)
{
    const _FINAL_WAVE_INFO& trend = item.stWaveInfo;
    if (!pDC || !trend.pTrendTime || !trend.pStatus) return;
    bool started = false;
    for (int i = 0; i < count; ++i) {
        const short v = value(i);
        // A cleared flag or a missing value leaves the sample out; the line
        // then joins its plotted neighbours.
        if (trend.pStatus[i] == 0 || v == FINAL_TREND_NONE) continue;
        const CPoint p = point(i, v);
        if (started) pDC->LineTo(p.x, p.y);
        pDC->Ellipse(p.x - radius, p.y - radius, p.x + radius, p.y + radius);
        pDC->MoveTo(p.x, p.y);
        started = true;
    }
}
