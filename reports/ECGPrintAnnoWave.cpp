// The annotated wave layout blocks of CECGPrintAnno: the page the views
// show, with their annotations, sized by the views' own grids.
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintAnno.h"
#include "waveviews/ViewRhythmWave.h"

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

int CECGPrintAnno::PrintRhythmWaveAnnotation(CViewRhythmWave* pView, CViewScroll1LeadWave* /*pStrip*/,
                                             CString strTitle)
{
    if (!pView || !m_pECGDC) return 0;
    return PrintAnnotatedWavePage(pView, strTitle, FALSE);
}

int CECGPrintAnno::PrintRhythmWaveAmeAnnotation(CViewRhythmWave* pView, CViewScroll1LeadWave* /*pStrip*/)
{
    if (!pView || !m_pECGDC) return 0;
    return PrintAnnotatedWavePage(pView, UsStyleWaveTitle(), TRUE);
}

int CECGPrintAnno::PrintAnnotatedWavePage(CViewRhythmWave* pView, const CString& strTitle, BOOL bUsStyle)
{
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(strTitle, 1, 1, 0, 0)) return 0;
    const CRect& rc = m_rcPrint;
    const int top = rc.top + PerMilleH(20);
    if (bUsStyle)
        PrintAmeInterpreInfo(CRect(rc.left, top, rc.right, top + PerMilleH(290)));
    else
        PrintPatientInfo(CRect(rc.left, top, rc.right, top + PerMilleH(50)));
    const int y0 = rc.top + PerMilleH(bUsStyle ? 330 : 90);
    const int available = rc.bottom - y0 - PerMilleH(20);
    const int y1 = y0 + PerMilleH(5);
    const int areaMm = FiveMMHeight(available);
    int gx = 0, gv = 0;
    pView->GetGridCount(gx, gv);
    const CRect grid(rc.left, y1, rc.left + MMToPixel(gx), y1 + MMToPixel(areaMm));
    pView->PrintWaveGrid(m_pECGDC, grid, gx, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    // Without a strip the view has the spare height to itself.
    int o1 = 0, o2 = 0;
    CalculateWaveOffset(areaMm, gv, 0, o1, o2);
    const int viewTop = y1 + MMToPixel(o1);
    const CRect area(rc.left, viewTop, rc.left + MMToPixel(gx), viewTop + MMToPixel(gv));
    pView->PrintAnnotation(m_pECGDC->GetDC(), area);
    if (!pView->Print(m_pECGDC, area, gx, gv, m_fPixelPerMM, 1, 0, 1)) return 0;
    UpdateWaveDisplayInfo(pView);
    PrintWaveCaptions(pView, y0, pView->GetWaveStyle() == 9, bUsStyle);
    return PrintVersion() ? 1 : 0;
}
