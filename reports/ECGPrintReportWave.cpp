// The rest and rhythm wave layout blocks of CECGPrintReport.
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintReport.h"
#include "analysisviews/ViewAverageWave.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {
constexpr int kAverageWidthMm = 130;
// The strip's single-lead report style and the screen's.
constexpr int kUsStripStyle = 13;
constexpr int kScreenStripStyle = 15;
}  // namespace

int CECGPrintReport::PrintRhythmWave(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart,
                                     int bNumbered, CString strTitle, int bStrip, int nSecondStart)
{
    // A page without the views it prints is no page. A strip missing where
    // it would only take marks and the print bottom is skipped.
    if (!pView || !m_pECGDC || (bStrip && !pStrip)) return 0;
    return PrintWavePage({pView, pStrip, bStrip != 0, FALSE}, nPage, nPart, bNumbered, strTitle, nSecondStart);
}

int CECGPrintReport::PrintRhythmWaveAme(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart,
                                        int bNumbered, int bStrip, int nSecondStart)
{
    // The US-style page prints its strip only when told so exactly.
    if (!pView || !m_pECGDC || (bStrip == 1 && !pStrip)) return 0;
    return PrintWavePage({pView, pStrip, bStrip == 1, TRUE}, nPage, nPart, bNumbered, UsStyleWaveTitle(),
                         nSecondStart);
}

int CECGPrintReport::PrintWavePage(const WavePageViews& views, int nPage, int nPart, int bNumbered, CString strTitle,
                                   int nSecondStart)
{
    CViewRhythmWave* pView = views.pView;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (bNumbered) strTitle.AppendFormat(L" - %d", nPart + 1);
    if (!PrintTitle(strTitle, nPage, m_nPageCount, 0, 0)) return 0;
    const bool firstOfSeries = nPart == 0 || nPart == nSecondStart;
    const int y0 = PrintWaveHead(firstOfSeries, views.bUsStyle);
    const CRect grid = WaveGridRect(y0, MMToPixel(kWaveGridMm));
    // The height is taken again from the grid's truncated pixel height, as
    // stored reports were laid out: it can come out 5 mm lower.
    pView->PrintWaveGrid(m_pECGDC, grid, kWaveGridMm, FiveMMHeight(grid.Height()), m_fPixelPerMM, TRUE, TRUE, FALSE);
    const int index = nSecondStart != -1 && nPart >= nSecondStart ? nPart - nSecondStart : nPart;
    CRect waves = grid;
    if (views.bStrip) waves.bottom = grid.top + (3 * grid.Height()) / 4;
    if (!pView->Print(m_pECGDC, waves, kWaveGridMm, FiveMMHeight(waves.Height()), m_fPixelPerMM, 1, index,
                      m_bPrintShown))
        return 0;
    if (views.bStrip && views.pStrip) views.pStrip->SetCurPrintBottom(pView->GetCurPrintBottom());
    UpdateWaveDisplayInfo(pView);
    if (nSecondStart == -1) SetStripMarks(views.pStrip, pView->GetWaveStyle(), nPart, m_bPrintShown, FALSE, views.bUsStyle);
    PrintWaveCaptions(pView, y0, nSecondStart != -1, views.bUsStyle);
    if (views.bStrip && views.pStrip && !PrintWaveStrip(views, CRect(grid.left, waves.bottom, grid.right, grid.bottom)))
        return 0;
    return PrintVersion() ? 1 : 0;
}

BOOL CECGPrintReport::PrintWaveStrip(const WavePageViews& views, const CRect& rcStrip)
{
    // The US-style page draws its strip in the single-lead report style and
    // hands it back to the screen's.
    if (views.bUsStyle) views.pStrip->SetWaveStyle(kUsStripStyle, TRUE);
    const BOOL ok = views.pStrip->Print(m_pECGDC, rcStrip, kWaveGridMm, FiveMMHeight(rcStrip.Height()),
                                        m_fPixelPerMM, 1);
    if (views.bUsStyle) views.pStrip->SetWaveStyle(kScreenStripStyle, TRUE);
    return ok;
}

int CECGPrintReport::PrintRestInterpre(CViewScroll1LeadWave* pStrip, CViewAverageWave* pAverage, int nPage)
{
    // A resting page without its views is no page. A rhythm record has no
    // average beats of its own: given no average view, its page leaves the
    // column out rather than print empty frames where beats would be.
    const bool rhythm = IsRhythmDocument();
    if (!m_pECGDC || (!rhythm && (!pAverage || !pStrip))) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    if (!PrintTitle(L"解析結果", nPage, m_nPageCount, 0, 0)) return 0;
    if (!PrintInterpreColumn()) return 0;
    if (pAverage && !PrintInterpreAverage(pAverage)) return 0;
    if (!rhythm && !PrintInterpreStrip(pStrip)) return 0;
    return PrintVersion() ? 1 : 0;
}

BOOL CECGPrintReport::PrintInterpreAverage(CViewAverageWave* pAverage)
{
    const int heightMm = FiveMMHeight(PerMilleH(700));
    const CRect column = AverageColumnRect(kAverageWidthMm, heightMm);
    pAverage->PrintWaveGrid(m_pECGDC, column, kAverageWidthMm, heightMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    // The view prints on the report's grid and keeps the screen's own.
    int columns = 0, rows = 0;
    pAverage->GetGridCount(columns, rows);
    pAverage->InitBackground(kAverageWidthMm, heightMm);
    const BOOL ok = pAverage->Print(m_pECGDC, column, kAverageWidthMm, heightMm, m_fPixelPerMM, 1, 0);
    pAverage->InitBackground(columns, rows);
    if (!ok) return FALSE;
    PrintAverageCaptions(column.left);
    return TRUE;
}

BOOL CECGPrintReport::PrintInterpreStrip(CViewScroll1LeadWave* pStrip)
{
    const int top = m_rcPrint.top + PerMilleH(40) + PerMilleH(705);
    const int heightMm = FiveMMHeight(PerMilleH(250));
    const CRect rc(m_rcPrint.left, top, m_rcPrint.left + MMToPixel(kWaveGridMm), top + MMToPixel(heightMm));
    pStrip->PrintWaveGrid(m_pECGDC, rc, kWaveGridMm, heightMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    return pStrip->Print(m_pECGDC, rc, kWaveGridMm, heightMm, m_fPixelPerMM, 1);
}
