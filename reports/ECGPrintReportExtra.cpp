// The extra-lead layout blocks of CECGPrintReport: the comment page and the wave page.
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintReport.h"
#include "reports/ReportTextScope.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {
constexpr double kCaptionIndentMm = 10.0;
constexpr double kSecondCaptionMm = 125.0;

// The duration marks of the strip under a wave page: mode and span in seconds by the waves' style.
void ExtraStripMarks(CViewScroll1LeadWave* pStrip, int nStyle, int nPart, int nFlag)
{
    switch (nStyle) {
    case 22: pStrip->SetDurationMarkInfo(1, nPart, 10.0, nFlag); break;
    case 26: pStrip->SetDurationMarkInfo(0, nPart, 10.0, nFlag); break;
    case 28: pStrip->SetDurationMarkInfo(1, nPart, 5.0, nFlag); break;
    default: pStrip->SetDurationMarkInfo(0, nPart, 5.0, nFlag); break;
    }
}
}  // namespace

BOOL CECGPrintReport::PrintExtraTitle(CString strTitle, int nPage, int nPart, int bNumbered)
{
    if (bNumbered) strTitle.AppendFormat(L" - %d", nPart + 1);
    return PrintTitle(strTitle, nPage, m_nPageCount, 0, 0) != 0;
}

void CECGPrintReport::PrintExtraCaptions(CViewRhythmWave* pView, int y)
{
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_BOTTOM);
    const int x = m_rcPrint.left + MMToPixel(kCaptionIndentMm);
    m_pECGDC->TextOut(x, y, m_strDisplayInfo1);
    // The one-column styles have no second set to state.
    const int style = pView->GetWaveStyle();
    if (style == 22 || style == 24) return;
    m_pECGDC->TextOut(x + MMToPixel(kSecondCaptionMm), y, m_strDisplayInfo2);
}

int CECGPrintReport::PrintExtraComment(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart,
                                       int bNumbered, int bStrip)
{
    if (!m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintExtraTitle(L"コメント", nPage, nPart, bNumbered)) return 0;
    const CRect& rc = m_rcPrint;
    const int half = (rc.right - rc.left) / 2;
    const int top = rc.top + PerMilleH(40);
    if (!PrintExtraInterpreInfo(CRect(rc.left, top, rc.left + half, top + PerMilleH(940)))) return 0;
    if (!pView) return 0;

    const int y = top + PerMilleH(5);
    const int heightMm = FiveMMHeight(PerMilleH(bStrip ? 750 : 960));
    const CRect waves(rc.left + half, y, rc.left + half + MMToPixel(kCommentGridMm), y + MMToPixel(heightMm));
    const int hm = FiveMMHeight(waves.Height());
    pView->PrintWaveGrid(m_pECGDC, waves, kCommentGridMm, hm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    pView->SetShowMarkFlag(1);
    if (!pView->Print(m_pECGDC, waves, kCommentGridMm, hm, m_fPixelPerMM, 1, nPart, m_bPrintShown)) return 0;

    if (bStrip) {
        if (!pStrip) return 0;
        pStrip->SetCurPrintBottom(pView->GetCurPrintBottom());
        // The strip's grid begins inside the bottom of the waves' grid.
        const int stripTop = waves.bottom - PerMilleH(15);
        const CRect strip(waves.left, stripTop, waves.right, stripTop + MMToPixel(FiveMMHeight(PerMilleH(220))));
        const int hs = FiveMMHeight(strip.Height());
        pStrip->PrintWaveGrid(m_pECGDC, strip, kCommentGridMm, hs, m_fPixelPerMM, TRUE, TRUE, FALSE);
        pStrip->SetDurationMarkInfo(1, nPart, 5.0, m_bPrintShown);
        pStrip->SetShowMarkFlag(1);
        if (!pStrip->Print(m_pECGDC, strip, kCommentGridMm, hs, m_fPixelPerMM, 1)) return 0;
    }
    UpdateExtraDisplayInfo(pView, 1, bStrip);
    {
        CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_BOTTOM);
        m_pECGDC->TextOut(rc.left + half + MMToPixel(kCaptionIndentMm), top, m_strDisplayInfo1);
    }
    return PrintVersion() ? 1 : 0;
}

int CECGPrintReport::PrintExtraWave(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart,
                                    int bNumbered, CString strTitle, int bStrip)
{
    if (!m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintExtraTitle(strTitle, nPage, nPart, bNumbered)) return 0;
    const CRect& rc = m_rcPrint;
    int y0 = rc.top + PerMilleH(40);
    if (nPart == 0) {
        const int top = rc.top + PerMilleH(20);
        if (!PrintPatientInfo(CRect(rc.left, top, rc.right, top + PerMilleH(50)))) return 0;
        y0 = top + PerMilleH(50) + PerMilleH(20);
    }
    const CRect grid = WaveGridRect(y0, MMToPixel(kWaveGridMm));
    if (!pView) return 0;
    pView->PrintWaveGrid(m_pECGDC, grid, kWaveGridMm, FiveMMHeight(grid.Height()), m_fPixelPerMM, TRUE, TRUE, FALSE);

    if (!bStrip) {
        pView->SetShowMarkFlag(1);
        if (!pView->Print(m_pECGDC, grid, kWaveGridMm, FiveMMHeight(grid.Height()), m_fPixelPerMM, 1, nPart,
                          m_bPrintShown))
            return 0;
        UpdateExtraDisplayInfo(pView, 0, 0);
        PrintExtraCaptions(pView, y0);
        return PrintVersion() ? 1 : 0;
    }

    if (!pStrip) return 0;
    // The grid's frame has just set the view's print bottom to the grid's bottom.
    pStrip->SetCurPrintBottom(pView->GetCurPrintBottom());
    const int split = grid.top + (3 * grid.Height()) / 4;
    const CRect waves(grid.left, grid.top, grid.right, split);
    pView->SetShowMarkFlag(0);
    if (!pView->Print(m_pECGDC, waves, kWaveGridMm, FiveMMHeight(waves.Height()), m_fPixelPerMM, 1, nPart,
                      m_bPrintShown))
        return 0;
    UpdateExtraDisplayInfo(pView, 0, bStrip);
    PrintExtraCaptions(pView, y0);
    ExtraStripMarks(pStrip, pView->GetWaveStyle(), nPart, m_bPrintShown);
    const CRect strip(grid.left, split, grid.right, grid.bottom);
    if (!pStrip->Print(m_pECGDC, strip, kWaveGridMm, FiveMMHeight(strip.Height()), m_fPixelPerMM, 1)) return 0;
    return PrintVersion() ? 1 : 0;
}
