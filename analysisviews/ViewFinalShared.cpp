// The master-step views' shared helpers.
#include "analysisviews/ViewFinalShared.h"

#include <algorithm>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/FinalViewDoc.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"

namespace {

const int kMouseDraw = 2;
const int kMouseSelect = 3;

// A function-local store: the dialogs install their opener during static
// initialisation, in an order no other file controls.
FinalEnlargeOpener& Opener()
{
    static FinalEnlargeOpener opener;
    return opener;
}

}  // namespace

void SetFinalEnlargeOpener(FinalEnlargeOpener opener)
{
    Opener() = std::move(opener);
}

INT_PTR OpenFinalEnlarge(CFinalViewDoc* doc, int lead, int loadIndex)
{
    if (!doc || !Opener()) return IDCANCEL;
    return Opener()(doc, lead, loadIndex);
}

CFont* FinalDisplayFont(const CTavrionDoc* doc)
{
    if (doc && doc->GetPageTextFont()) return doc->GetPageTextFont();
    if (doc && doc->GetDocFont(0)) return doc->GetDocFont(0);
    return g_pDlgFontNormal;
}

BOOL IsFinalAnnotationMode(const CTavrionDoc* doc)
{
    if (!doc || doc->GetAnnotationLock() != 0) return FALSE;
    const int mode = doc->GetMouseMode();
    return mode == kMouseDraw || mode == kMouseSelect;
}

CString FinalSTText(short level)
{
    CString text;
    if (level != -32768) text.Format(L"%+.2f", level * 0.01);
    return text;
}

void PaintFinalOffScreen(CView& view, CDC* pDC, const std::function<void(CDC* dc, const CRect& client)>& draw)
{
    if (!pDC) return;
    CRect client;
    view.GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0) return;
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height())) return;
    {
        CDCObjectSelector<CBitmap> selection(memDC, &bitmap);
        draw(&memDC, client);
        pDC->BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
    }
}

BOOL ScaleFinalFont(CFont* font, float ratio, CFont& scaled)
{
    if (!font) return FALSE;
    LOGFONT lf{};
    if (!font->GetLogFont(&lf)) return FALSE;
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * ratio);
    lf.lfWidth = static_cast<LONG>(lf.lfWidth * ratio);
    return scaled.CreateFontIndirect(&lf);
}

std::vector<short> ReadFinalBlock(CFinalViewDoc* doc, int index)
{
    const int kBlockShorts = FINAL_ST_LEADS * 600;
    const int size = doc ? doc->GetAverageWaveData(index, nullptr, -1) : 0;
    if (size <= 0) return {};
    std::vector<short> block(static_cast<size_t>(std::max(size / 2, kBlockShorts) + 1), 0);
    if (doc->GetAverageWaveData(index, block.data(), -1) <= 0) return {};
    return block;
}

void SetUpFinalText(CDC& dc, const CTavrionDoc* doc, BOOL print, float ratio, CDCObjectSelector<CFont>& font,
                    CFont& scaled)
{
    if (!print) font.Select(ratio > 1.0f && ScaleFinalFont(FinalDisplayFont(doc), ratio, scaled) ? &scaled
                                                                                               : FinalDisplayFont(doc));
    dc.SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3, 0));
    dc.SetBkMode(TRANSPARENT);
}
