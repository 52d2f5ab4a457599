// The serial comparison layout blocks of CECGPrintReport: one page printed
// from a serial comparison pane, its views laid out on the report's grid.
#include "panes/WndRestSerialComAve.h"
#include "panes/WndRestSerialComRhy.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintReport.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewSerialComAve.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {
constexpr int kMixLeftMm = 135;
constexpr int kMixRightMm = 125;
constexpr int kGapMm = 5;
constexpr int kWideMm = 260;
constexpr int kRhythmColumnMm = 135;
}  // namespace

int CECGPrintReport::PrintAveMix(CWndRestSerialComAve* pPane, int nPage)
{
    CViewSerialComAve* first = pPane ? pPane->GetAveView(0) : nullptr;
    CViewSerialComAve* second = pPane ? pPane->GetAveView(1) : nullptr;
    if (!first || !second || !m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(L"時系列比較(Ave.12ch-5)", nPage, m_nPageCount, 1, 0)) return 0;
    const int infoTop = m_rcPrint.top + PerMilleH(20);
    pPane->PrintAveWaveInfo(m_pECGDC, CRect(m_rcPrint.left, infoTop, m_rcPrint.right, infoTop + PerMilleH(60)),
                            m_fPixelPerMM, 0);
    const int y = infoTop + PerMilleH(60);
    const int areaMm = FiveMMHeight(m_rcPrint.bottom - y - PerMilleH(20));
    const int bottom = y + MMToPixel(areaMm);
    const CRect left(m_rcPrint.left, y, m_rcPrint.left + MMToPixel(kMixLeftMm), bottom);
    first->PrintWaveGrid(m_pECGDC, left, kMixLeftMm, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    first->Print(m_pECGDC, left, kMixLeftMm, areaMm, m_fPixelPerMM, 1, FALSE, FALSE);
    const int rightLeft = m_rcPrint.left + MMToPixel(kMixLeftMm) + MMToPixel(kGapMm);
    const CRect right(rightLeft, y, rightLeft + MMToPixel(kMixRightMm), bottom);
    second->PrintWaveGrid(m_pECGDC, right, kMixRightMm, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    second->Print(m_pECGDC, right, kMixRightMm, areaMm, m_fPixelPerMM, 1, FALSE, FALSE);
    return PrintVersion() ? 1 : 0;
}

int CECGPrintReport::PrintAveEx(CWndRestSerialComAve* pPane, int nPage, int bSecond)
{
    CViewSerialComAve* view = pPane ? pPane->GetAveView(bSecond ? 1 : 0) : nullptr;
    if (!view || !m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(L"時系列比較(Ave.6ch-10)", nPage, m_nPageCount, 1, 0)) return 0;
    const int infoTop = m_rcPrint.top + PerMilleH(20);
    pPane->PrintAveWaveInfo(m_pECGDC, CRect(m_rcPrint.left, infoTop, m_rcPrint.right, infoTop + PerMilleH(60)),
                            m_fPixelPerMM, 0);
    const int y = infoTop + PerMilleH(60);
    const int areaMm = FiveMMHeight(m_rcPrint.bottom - y - PerMilleH(20));
    const CRect rect(m_rcPrint.left, y, m_rcPrint.right, y + MMToPixel(areaMm));
    view->PrintWaveGrid(m_pECGDC, rect, kWideMm, areaMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    if (bSecond) {
        // The chest half prints from the first record's column as the first view would.
        const int saved = view->GetViewIndex();
        view->SetViewIndex(0);
        view->Print(m_pECGDC, rect, kWideMm, areaMm, m_fPixelPerMM, 1, FALSE, FALSE);
        view->SetViewIndex(saved);
    } else {
        view->SetShowChestLead(FALSE);
        view->Print(m_pECGDC, rect, kWideMm, areaMm, m_fPixelPerMM, 1, FALSE, FALSE);
        view->SetShowChestLead(pPane->IsShowChestLead());
    }
    return PrintVersion() ? 1 : 0;
}

int CECGPrintReport::PrintAveRhy(CWndRestSerialComRhy* pPane, int nPage, int bChest)
{
    if (!pPane || !m_pECGDC) return 0;
    CViewSerialComRhy* views[2] = {pPane->GetComView(0), pPane->GetComView(1)};
    CViewScroll1LeadRhyWave* strips[2] = {pPane->GetStrip(0), pPane->GetStrip(1)};
    if (!views[0] || !views[1]) return 0;
    pPane->CheckSerialFileID();
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    if (!PrintTitle(L"時系列比較(Rhy.)", nPage, m_nPageCount, 1, 0)) return 0;
    for (CViewSerialComRhy* view : views) view->SetShowChestLead(bChest);
    const int column = MMToPixel(kRhythmColumnMm);
    const int lefts[2] = {m_rcPrint.left, m_rcPrint.left + column + MMToPixel(kGapMm)};
    const int infoTop = m_rcPrint.top + PerMilleH(30);
    for (int i = 0; i < 2; ++i)
        views[i]->PrintWaveInfo(m_pECGDC, CRect(lefts[i], infoTop, lefts[i] + column, infoTop + PerMilleH(40)), FALSE);
    const int y = m_rcPrint.top + PerMilleH(60) + PerMilleH(20);
    // The grid, the view and the strip each round their own share of the
    // whole area down to 5 mm.
    const int area = m_rcPrint.bottom - y - PerMilleH(20);
    const int split = y + (3 * area) / 4;
    for (int i = 0; i < 2; ++i) {
        const CRect grid(lefts[i], y, lefts[i] + column, y + area);
        views[i]->PrintWaveGrid(m_pECGDC, grid, kRhythmColumnMm, FiveMMHeight(area), m_fPixelPerMM, TRUE, TRUE, FALSE);
        views[i]->Print(m_pECGDC, CRect(lefts[i], y, lefts[i] + column, split), kRhythmColumnMm,
                        FiveMMHeight((3 * area) / 4), m_fPixelPerMM, 1, 0);
        if (!strips[i]) continue;
        strips[i]->SetCurPrintBottom(views[i]->GetCurPrintBottom());
        strips[i]->Print(m_pECGDC, CRect(lefts[i], split, lefts[i] + column, y + area), kRhythmColumnMm,
                         FiveMMHeight(area / 4), m_fPixelPerMM, 1, 0);
    }
    for (CViewSerialComRhy* view : views) view->SetShowChestLead(pPane->IsShowChestLead());
    return PrintVersion() ? 1 : 0;
}
