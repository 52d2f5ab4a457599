// The grid the two QRS tables of the resting record draw on: rows of equal
// height down the client area, nine columns across it, the head row's
// dotted rule, in the table font on a transparent background.
#pragma once

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Dc.h"

class CView;

// A QRS table's measures: a row's and a column's height and width in
// pixels, and the colour of its texts.
struct CQRSTableGrid {
    int nRowHeight;
    int nColumnWidth;
    COLORREF crText;
};

// Sets `dc` up for a table of `rows` rows in `view`'s client area, selects
// the table font through the caller's `font` (so it stays for the table's
// texts and goes with the caller's scope) and draws the head row's rule; the
// caller saves and restores the DC around it.
CQRSTableGrid BeginQRSTable(CDC& dc, CView& view, int rows, CDCObjectSelector<CFont>& font);
