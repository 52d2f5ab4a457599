#include "core/TavrionView.h"

#include "core/AnnoEditStamp.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"

IMPLEMENT_DYNCREATE(CTavrionView, CScrollView)

BEGIN_MESSAGE_MAP(CTavrionView, CScrollView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CTavrionView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(100, 100));
}

void CTavrionView::OnDraw(CDC*)
{
}

BOOL CTavrionView::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC) return TRUE;
    // The document's background is its paper colour (slot 2); white without one.
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument());
    CBrush brush(doc ? doc->GetWaveColor(2, 0) : RGB(255, 255, 255));
    CRect clip;
    pDC->GetClipBox(&clip);
    CDCObjectSelector<CBrush> selector(*pDC, &brush);
    pDC->PatBlt(clip.left, clip.top, clip.Width(), clip.Height(), PATCOPY);
    return TRUE;
}

int CTavrionView::SaveAnnoEditTimeAndName(_ANNOTATION_INFO* info, CString editorName)
{
    return ::SaveAnnoEditTimeAndName(info, editorName, this, DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument()));
}
