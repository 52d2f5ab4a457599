// The annotated wave layout blocks of CECGPrintAnno: the page the views
// show, with their annotations, sized by the views' own grids.
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintAnno.h"
#include "analysisviews/ViewAverageWave.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

void CECGPrintAnno::CalculateWaveOffset(int nTotal, int nFirst, int nSecond, int& o1, int& o2)
{
    switch (nTotal - nFirst - nSecond) {
    case 5: o1 = 0, o2 = 5; break;
    case 10: o1 = 5, o2 = 0; break;
    case 15: o1 = 5, o2 = 5; break;
    case 20: o1 = 5, o2 = 10; break;
    case 25: o1 = 10, o2 = 5; break;
    default: o1 = 0, o2 = 0; break;
    }
}

int CECGPrintAnno::PrintRhythmWaveAnnotation(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip,
                                             CString strTitle)
{
    if (!pView || !m_pECGDC) return 0;
    return PrintAnnotatedWavePage(pView, pStrip, strTitle, FALSE);
}

int CECGPrintAnno::PrintRhythmWaveAmeAnnotation(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip)
{
    if (!pView || !m_pECGDC) return 0;
    return PrintAnnotatedWavePage(pView, pStrip, UsStyleWaveTitle(), TRUE);
}

int CECGPrintAnno::PrintAnnotatedWavePage(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip,
                                          const CString& strTitle, BOOL bUsStyle)
{
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(strTitle, 1, 1, 0, 0)) return 0;
    PrintWaveHead(true, bUsStyle);
    const int y0 = m_rcPrint.top + PerMilleH(bUsStyle ? 330 : 90);
    int gx = 0, gv = 0, gs = 0, unused = 0;
    pView->GetGridCount(gx, gv);
    if (pStrip) pStrip->GetGridCount(unused, gs);
    const CRect grid = WaveGridRect(y0, MMToPixel(gx));
    const int areaMm = FiveMMHeight(m_rcPrint.bottom - y0 - PerMilleH(20));
    pView->PrintWaveGrid(m_pECGDC, grid, gx, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(areaMm, gv, gs, o1, o2);
    const int viewTop = grid.top + MMToPixel(o1);
    const CRect area(grid.left, viewTop, grid.right, viewTop + MMToPixel(gv));
    pView->PrintAnnotation(m_pECGDC->GetDC(), area);
    if (!pView->Print(m_pECGDC, area, gx, gv, m_fPixelPerMM, 1, 0, 1)) return 0;
    if (pStrip) pStrip->SetCurPrintBottom(pView->GetCurPrintBottom());
    UpdateWaveDisplayInfo(pView);
    SetStripMarks(pStrip, pView->GetWaveStyle(), 0, 1, TRUE, bUsStyle);
    PrintWaveCaptions(pView, y0, pView->GetWaveStyle() == 9, bUsStyle);
    if (pStrip) {
        // The US-style page keeps a strip that finds no room under the waves
        // inside the grid, ending at the waves' bottom.
        const int stripTop = bUsStyle && gv >= areaMm ? area.bottom - MMToPixel(gs) : area.bottom + MMToPixel(o2);
        if (!PrintAnnotatedStrip(pStrip, CRect(grid.left, stripTop, grid.right, stripTop + MMToPixel(gs)), gx, gs))
            return 0;
    }
    return PrintVersion() ? 1 : 0;
}

BOOL CECGPrintAnno::PrintAnnotatedStrip(CViewScroll1LeadWave* pStrip, const CRect& rc, int nWidthMm, int nHeightMm)
{
    pStrip->PrintAnnotation(m_pECGDC->GetDC(), rc);
    // A strip of one grid row or less has no room for its trace.
    if (nHeightMm <= 5) return TRUE;
    return pStrip->Print(m_pECGDC, rc, nWidthMm, nHeightMm, m_fPixelPerMM, 1);
}

int CECGPrintAnno::PrintRestInterpreAnnotation(CViewScroll1LeadWave* pStrip, CViewAverageWave* pAverage)
{
    // As the plain page: a rhythm record's page given no average view leaves the column out.
    const bool rhythm = IsRhythmDocument();
    if (!m_pECGDC || (!rhythm && (!pAverage || !pStrip))) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    if (!PrintTitle(L"解析結果", 1, 1, 0, 0)) return 0;
    if (!PrintInterpreColumn()) return 0;
    if (pAverage && !PrintAnnotatedInterpreAverage(pAverage)) return 0;
    if (!rhythm && !PrintAnnotatedInterpreStrip(pStrip)) return 0;
    return PrintVersion() ? 1 : 0;
}

BOOL CECGPrintAnno::PrintAnnotatedInterpreAverage(CViewAverageWave* pAverage)
{
    int gx = 0, gy = 0;
    pAverage->GetGridCount(gx, gy);
    const int heightMm = FiveMMHeight(PerMilleH(700));
    const CRect column = AverageColumnRect(gx, heightMm);
    pAverage->PrintWaveGrid(m_pECGDC, column, gx, heightMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(heightMm, 0, gy, o1, o2);
    const int top = column.top + MMToPixel(o1);
    const CRect area(column.left, top, column.right, top + MMToPixel(gy));
    pAverage->PrintAnnotation(m_pECGDC->GetDC(), area);
    if (!pAverage->Print(m_pECGDC, area, gx, gy, m_fPixelPerMM, 1, 0)) return FALSE;
    PrintAverageCaptions(column.left);
    return TRUE;
}

BOOL CECGPrintAnno::PrintAnnotatedInterpreStrip(CViewScroll1LeadWave* pStrip)
{
    int gx = 0, gy = 0;
    pStrip->GetGridCount(gx, gy);
    const int y = m_rcPrint.top + PerMilleH(745);
    const int heightMm = FiveMMHeight(m_rcPrint.bottom - y - PerMilleH(20));
    const int right = m_rcPrint.left + MMToPixel(gx);
    // The vector grid keeps the annotations' lines on the Windows printer.
    pStrip->PrintWaveGrid(m_pECGDC, CRect(m_rcPrint.left, y, right, y + MMToPixel(heightMm)), gx, heightMm,
                          m_fPixelPerMM, TRUE, TRUE, TRUE);
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(heightMm, gy, 0, o1, o2);
    const int top = y + MMToPixel(o1 + 5 * (o2 / 10));
    const CRect rc(m_rcPrint.left, top, right, top + MMToPixel(gy));
    pStrip->PrintAnnotation(m_pECGDC->GetDC(), rc);
    return pStrip->Print(m_pECGDC, rc, gx, gy, m_fPixelPerMM, 1);
}
