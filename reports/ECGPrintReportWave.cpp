// The rest and rhythm wave layout blocks of CECGPrintReport.
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintReport.h"
#include "waveviews/ViewRhythmWave.h"

namespace {
constexpr int kWaveGridMm = 260;
}  // namespace

int CECGPrintReport::PrintRhythmWave(CViewRhythmWave* pView, CViewScroll1LeadWave* /*pStrip*/, int nPage, int nPart,
                                     int bNumbered, CString strTitle, int bStrip, int nSecondStart)
{
    // A page without its waves is no page. The one-lead strip view is not
    // part of the library yet: a page that needs it printed cannot be drawn.
    if (!pView || !m_pECGDC || bStrip) return 0;
    return PrintWavePage(pView, nPage, nPart, bNumbered, strTitle, nSecondStart, FALSE);
}

int CECGPrintReport::PrintRhythmWaveAme(CViewRhythmWave* pView, CViewScroll1LeadWave* /*pStrip*/, int nPage, int nPart,
                                        int bNumbered, int bStrip, int nSecondStart)
{
    if (!pView || !m_pECGDC || bStrip == 1) return 0;
    return PrintWavePage(pView, nPage, nPart, bNumbered, UsStyleWaveTitle(), nSecondStart, TRUE);
}

int CECGPrintReport::PrintWavePage(CViewRhythmWave* pView, int nPage, int nPart, int bNumbered, CString strTitle,
                                   int nSecondStart, BOOL bUsStyle)
{
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (bNumbered) strTitle.AppendFormat(L" - %d", nPart + 1);
    if (!PrintTitle(strTitle, nPage, m_nPageCount, 0, 0)) return 0;
    const CRect& rc = m_rcPrint;
    int y0 = rc.top + PerMilleH(40);
    if (nPart == 0 || nPart == nSecondStart) {
        const int top = rc.top + PerMilleH(20);
        if (bUsStyle) {
            PrintAmeInterpreInfo(CRect(rc.left, top, rc.right, top + PerMilleH(290)));
            y0 = rc.top + PerMilleH(300) + PerMilleH(30);
        } else {
            PrintPatientInfo(CRect(rc.left, top, rc.right, top + PerMilleH(50)));
            y0 = top + PerMilleH(50) + PerMilleH(20);
        }
    }
    const int available = rc.bottom - y0 - PerMilleH(20);
    const int y1 = y0 + PerMilleH(5);
    const CRect grid(rc.left, y1, rc.left + MMToPixel(kWaveGridMm), y1 + MMToPixel(FiveMMHeight(available)));
    // The height is taken again from the grid's truncated pixel height, as
    // stored reports were laid out: it can come out 5 mm lower.
    const int gridMm = FiveMMHeight(grid.Height());
    pView->PrintWaveGrid(m_pECGDC, grid, kWaveGridMm, gridMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    const int index = nSecondStart != -1 && nPart >= nSecondStart ? nPart - nSecondStart : nPart;
    if (!pView->Print(m_pECGDC, grid, kWaveGridMm, gridMm, m_fPixelPerMM, 1, index, m_bPrintShown)) return 0;
    UpdateWaveDisplayInfo(pView);
    PrintWaveCaptions(pView, y0, nSecondStart != -1, bUsStyle);
    return PrintVersion() ? 1 : 0;
}
