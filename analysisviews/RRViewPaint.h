// What the RR result, list and chart views share: the current RR item of
// their document, its intervals read safely, the views' background, the
// screen's font and text colour, a chart's frame, and a text placed with
// its alignment.
#pragma once

#include <functional>

#include "documents/RRDataItem.h"
#include "platform/gdi/Dc.h"

class CDocument;

// The current item of an RR document; null for any other document or when
// the document has no current record.
_RRDATAITEM* GetCurrentRRItem(CDocument* pDoc);

// The item's interval count, 0 when negative.
int RRIntervalCount(const _RRDATAITEM* pItem);
// Interval i's length in ms: 0 when the item has no list, -1 when the record
// gave none. i must lie below RRIntervalCount.
int RRIntervalLength(const _RRDATAITEM* pItem, int i);
// Non-zero when the record marked interval i; 0 for an index outside the list.
int RRIntervalMark(const _RRDATAITEM* pItem, int i);

// Fills the clip box with the document's chart background (colour slot 20).
void FillRRViewBackground(CDC* pDC, CDocument* pDoc);

// The text at (x, y) with the alignment, which stays set afterwards.
void RRTextOut(CDC* pDC, int x, int y, UINT align, const CString& text);

// Runs `draw` with the document's first font selected and the window text
// colour set, both restored afterwards: how the RR charts paint on screen.
void DrawInRRViewFont(CDC* pDC, CDocument* pDoc, const std::function<void()>& draw);

// Where an RR chart draws, in device units: the rectangle's left, top, width
// and height; X, the width the chart's scale spans (wider than W: the chart
// stops short of it); the text line's height h and average character width
// a in the DC's font; and the baseline y0 of the plot.
struct CRRChartFrame {
    int L, T, W, H, X, h, a, y0;
};
// The frame of `rect` in the DC's current font; X is `spanRatio` of the
// width and the baseline lies `baseNum`/`baseDen` of the height down.
CRRChartFrame MakeRRChartFrame(CDC* pDC, const CRect& rect, double spanRatio, int baseNum, int baseDen);
