// What the measurement tables share when they draw: the table font, the
// table background, a text at a point in an alignment and a colour, and the
// grey of a missing value.
#pragma once

#include "platform/base/Strings.h"
#include "platform/gdi/Dc.h"

class CDocument;
class CFont;

namespace tabletext {

const COLORREF kBand = RGB(220, 255, 220);   // every other row
const COLORREF kGrey = RGB(127, 127, 127);   // a missing value
const COLORREF kBlack = RGB(0, 0, 0);

// The document's table font (its small text font: a cell is 13 display
// units high); null without a document.
CFont* TableFont(CDocument* doc);
// Fills the DC's clip box with the document's table background (slot 20).
void FillBackground(CDC& dc, CDocument* doc);
bool IsMissing(const CString& text);
// Grey for a missing value, else `normal`.
COLORREF ValueColour(const CString& text, COLORREF normal);
void TextAt(CDC& dc, int x, int y, const CString& text, UINT align, COLORREF colour);
// The dotted rule under a screen table's heading.
void DottedRule(CDC& dc, int x1, int x2, int y);

}  // namespace tabletext
