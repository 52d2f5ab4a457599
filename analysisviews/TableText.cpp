#include "analysisviews/TableText.h"

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"

namespace tabletext {

namespace {
const int kTableBackSlot = 20;
const int kTableFont = 3;
}  // namespace

CFont* TableFont(CDocument* doc)
{
    auto* tavrion = dynamic_cast<CTavrionDoc*>(doc);
    return tavrion ? tavrion->GetDocFont(kTableFont) : nullptr;
}

void FillBackground(CDC& dc, CDocument* doc)
{
    auto* tavrion = dynamic_cast<CTavrionDoc*>(doc);
    CRect clip;
    dc.GetClipBox(&clip);
    dc.FillSolidRect(&clip, tavrion ? tavrion->GetWaveColor(kTableBackSlot, 0) : RGB(255, 255, 255));
}

bool IsMissing(const CString& text)
{
    return text.Find(L'*') >= 0;
}

COLORREF ValueColour(const CString& text, COLORREF normal)
{
    return IsMissing(text) ? kGrey : normal;
}

void TextAt(CDC& dc, int x, int y, const CString& text, UINT align, COLORREF colour)
{
    dc.SetTextAlign(align);
    dc.SetTextColor(colour);
    dc.TextOut(x, y, text);
}

void DottedRule(CDC& dc, int x1, int x2, int y)
{
    CDCStateSaver saved(dc);
    CDCObjectSelector<CPen> pen(dc, g_pPenDkDot);
    dc.MoveTo(x1, y);
    dc.LineTo(x2, y);
}

}  // namespace tabletext
