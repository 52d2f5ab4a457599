#include "analysisviews/RRViewPaint.h"

#include "documents/RRViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"

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
