// What the RR result and list views share: the current RR item of their
// document, its intervals read safely, the views' background, and a text
// placed with its alignment.
#pragma once

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
