// The annotated serial comparison layout blocks of CECGPrintAnno: the page
// the pane shows, with the views' annotations, sized by the views' own grids.
#include "panes/WndRestSerialComAve.h"
#include "panes/WndRestSerialComRhy.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintAnno.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewSerialComAve.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {
constexpr int kGapMm = 5;
constexpr int kWiderLeftMm = 10;
}  // namespace

int CECGPrintAnno::PrintAveMixAnnotation(CWndRestSerialComAve* pPane)
{
    CViewSerialComAve* first = pPane ? pPane->GetAveView(0) : nullptr;
    CViewSerialComAve* second = pPane ? pPane->GetAveView(1) : nullptr;
    if (!first || !second || !m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(L"時系列比較(Ave.12ch-5)", 1, 1, 1, 0)) return 0;
    const int infoTop = m_rcPrint.top + PerMilleH(20);
    pPane->PrintAveWaveInfo(m_pECGDC, CRect(m_rcPrint.left, infoTop, m_rcPrint.right, infoTop + PerMilleH(60)),
                            m_fPixelPerMM, 1);
    int gx = 0, gy = 0;
    second->GetGridCount(gx, gy);
    const int y = infoTop + PerMilleH(60);
    const int areaMm = FiveMMHeight(m_rcPrint.bottom - y - PerMilleH(20));
    const int bottom = y + MMToPixel(areaMm);
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(areaMm, gy, 0, o1, o2);
    const int top = y + MMToPixel(o1);
    const int leftWidth = MMToPixel(gx + kWiderLeftMm);
    const int rightLeft = m_rcPrint.left + leftWidth + MMToPixel(kGapMm);
    const CRect leftGrid(m_rcPrint.left, y, m_rcPrint.left + leftWidth, bottom);
    const CRect rightGrid(rightLeft, y, rightLeft + MMToPixel(gx), bottom);
    first->PrintWaveGrid(m_pECGDC, leftGrid, gx + kWiderLeftMm, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    second->PrintWaveGrid(m_pECGDC, rightGrid, gx, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    const CRect leftArea(leftGrid.left, top, leftGrid.right, top + MMToPixel(gy));
    const CRect rightArea(rightGrid.left, top, rightGrid.right, top + MMToPixel(gy));
    first->PrintAnnotation(m_pECGDC->GetDC(), leftArea);
    first->Print(m_pECGDC, leftArea, gx + kWiderLeftMm, gy, m_fPixelPerMM, 1, FALSE, TRUE);
    second->PrintAnnotation(m_pECGDC->GetDC(), rightArea);
    second->Print(m_pECGDC, rightArea, gx, gy, m_fPixelPerMM, 1, FALSE, TRUE);
    return PrintVersion() ? 1 : 0;
}

int CECGPrintAnno::PrintAveExAnnotation(CWndRestSerialComAve* pPane)
{
    CViewSerialComAve* first = pPane ? pPane->GetAveView(0) : nullptr;
    CViewSerialComAve* second = pPane ? pPane->GetAveView(1) : nullptr;
    if (!first || !second || !m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(L"時系列比較(Ave.6ch-10)", 1, 1, 1, 0)) return 0;
    const int infoTop = m_rcPrint.top + PerMilleH(20);
    pPane->PrintAveWaveInfo(m_pECGDC, CRect(m_rcPrint.left, infoTop, m_rcPrint.right, infoTop + PerMilleH(60)),
                            m_fPixelPerMM, 1);
    int gx = 0, gy = 0;
    first->GetGridCount(gx, gy);
    const int y = infoTop + PerMilleH(60);
    const int areaMm = FiveMMHeight(m_rcPrint.bottom - y - PerMilleH(20));
    const CRect grid(m_rcPrint.left, y, m_rcPrint.right, y + MMToPixel(areaMm));
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(areaMm, gy, 0, o1, o2);
    const int top = y + MMToPixel(o1);
    const CRect area(grid.left, top, grid.right, top + MMToPixel(gy));
    const BOOL chest = pPane->IsShowChestLead();
    CViewSerialComAve* view = chest ? second : first;
    view->PrintWaveGrid(m_pECGDC, grid, gx, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    // The annotations drawn on the page are the first view's: they are the
    // ones the user drew over the comparison shown across the screen.
    first->PrintAnnotation(m_pECGDC->GetDC(), area);
    if (chest) {
        const int saved = second->GetViewIndex();
        second->SetViewIndex(0);
        second->Print(m_pECGDC, area, gx, gy, m_fPixelPerMM, 1, FALSE, TRUE);
        second->SetViewIndex(saved);
    } else {
        first->SetShowChestLead(FALSE);
        first->Print(m_pECGDC, area, gx, gy, m_fPixelPerMM, 1, FALSE, TRUE);
        first->SetShowChestLead(chest);
    }
    return PrintVersion() ? 1 : 0;
}

int CECGPrintAnno::PrintAveRhyAnnotation(CWndRestSerialComRhy* pPane)
{
    if (!pPane || !m_pECGDC) return 0;
    CViewSerialComRhy* views[2] = {pPane->GetComView(0), pPane->GetComView(1)};
    CViewScroll1LeadRhyWave* strips[2] = {pPane->GetStrip(0), pPane->GetStrip(1)};
    if (!views[0] || !views[1]) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(L"時系列比較(Rhy.)", 1, 1, 1, 0)) return 0;
    const BOOL chest = pPane->IsShowChestLead();
    for (CViewSerialComRhy* view : views) view->SetShowChestLead(chest);
    int gx = 0, gv = 0, gs = 0, unused = 0;
    views[0]->GetGridCount(unused, gv);
    if (strips[0]) strips[0]->GetGridCount(gx, gs);
    else views[0]->GetGridCount(gx, unused);
    const int column = MMToPixel(gx);
    const int lefts[2] = {m_rcPrint.left, m_rcPrint.left + column + MMToPixel(kGapMm)};
    const int infoTop = m_rcPrint.top + PerMilleH(30);
    for (int i = 0; i < 2; ++i)
        views[i]->PrintWaveInfo(m_pECGDC, CRect(lefts[i], infoTop, lefts[i] + column, infoTop + PerMilleH(40)), TRUE);
    const int y = m_rcPrint.top + PerMilleH(60) + PerMilleH(20);
    const int areaMm = FiveMMHeight(m_rcPrint.bottom - y - PerMilleH(20));
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(areaMm, gv, gs, o1, o2);
    const int viewTop = y + MMToPixel(o1);
    const int stripTop = y + MMToPixel(o1 + gv + o2);
    CRect stripAreas[2];
    for (int i = 0; i < 2; ++i) {
        const CRect grid(lefts[i], y, lefts[i] + column, y + MMToPixel(areaMm));
        views[i]->PrintWaveGrid(m_pECGDC, grid, gx, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
        const CRect area(lefts[i], viewTop, lefts[i] + column, viewTop + MMToPixel(gv));
        views[i]->PrintAnnotation(m_pECGDC->GetDC(), area);
        views[i]->Print(m_pECGDC, area, gx, gv, m_fPixelPerMM, 1, 1);
        if (strips[i]) strips[i]->SetCurPrintBottom(views[i]->GetCurPrintBottom());
        stripAreas[i] = CRect(lefts[i], stripTop, lefts[i] + column, stripTop + MMToPixel(gs));
    }
    for (int i = 0; i < 2; ++i) {
        if (!strips[i]) continue;
        strips[i]->PrintAnnotation(m_pECGDC->GetDC(), stripAreas[i]);
        strips[i]->Print(m_pECGDC, stripAreas[i], gx, gs, m_fPixelPerMM, 1, 1);
    }
    for (CViewSerialComRhy* view : views) view->SetShowChestLead(chest);
    return PrintVersion() ? 1 : 0;
}
