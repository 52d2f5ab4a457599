// The rhythm comment page and the two RR pages of CECGPrintReport.
#include "analysisviews/ViewRRHistogram.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "analysisviews/ViewRRResult.h"
#include "analysisviews/ViewRRTrend.h"
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "panes/WndRRComment.h"
#include "panes/WndRRResult.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Font.h"
#include "platform/gdi/Pen.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintReport.h"
#include "reports/ReportTextScope.h"
#include "waveviews/ViewRhythmWave.h"

namespace {
constexpr double kCaptionIndentMm = 10.0;
// The RR print layout's rows of the three result views.
constexpr int kResultTableRow = 49;
constexpr int kHistogramRow = 50;
constexpr int kTrendRow = 51;
// The interval list prints ten columns of forty intervals a page.
constexpr int kListColumns = 10;
constexpr int kListRows = 40;
}  // namespace

int CECGPrintReport::PrintRhythmComment(CViewRhythmWave* pView, int nPage, int nPart, int bNumbered)
{
    // A comment page without its waves is no page.
    if (!pView || !m_pECGDC) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CDCObjectSelector<CPen, CECGDC> pen(*m_pECGDC, m_pPen);
    CString title = L"コメント";
    if (bNumbered) title.AppendFormat(L" - %d", nPart + 1);
    if (!PrintTitle(title, nPage, m_nPageCount, 0, 0)) return 0;
    const CRect& rc = m_rcPrint;
    if (nPart == 0) {
        const int top = rc.top + PerMilleH(20);
        if (!PrintPatientInfo(CRect(rc.left, top, rc.right, top + PerMilleH(50)))) return 0;
    }
    // Later parts have no patient block: the interpretation moves up into its place.
    const int y = nPart > 0 ? rc.top + PerMilleH(90) - PerMilleH(50) : rc.top + PerMilleH(90);
    const int half = (rc.right - rc.left) / 2;
    if (!PrintRhyInterpreInfo(CRect(rc.left, y, rc.left + half, rc.bottom - PerMilleH(20)), nPart)) return 0;

    const int gridTop = y + PerMilleH(5);
    const int heightMm = FiveMMHeight(rc.bottom - y - PerMilleH(20));
    const CRect grid(rc.left + half, gridTop, rc.left + half + MMToPixel(kCommentGridMm),
                     gridTop + MMToPixel(heightMm));
    // As on every wave page the height is taken again from the grid's pixels.
    const int gridMm = FiveMMHeight(grid.Height());
    pView->PrintWaveGrid(m_pECGDC, grid, kCommentGridMm, gridMm, m_fPixelPerMM, TRUE, TRUE, FALSE);
    if (!pView->Print(m_pECGDC, grid, kCommentGridMm, gridMm, m_fPixelPerMM, 1, nPart, m_bPrintShown)) return 0;
    UpdateDisplayInfo(pView);
    {
        CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_BOTTOM);
        m_pECGDC->TextOut(rc.left + half + MMToPixel(kCaptionIndentMm), y, m_strDisplayInfo1);
    }
    return PrintVersion() ? 1 : 0;
}

int CECGPrintReport::PrintRRResult(CWndRRResult* pPane, int nPage)
{
    if (!pPane || !m_pECGDC || !m_pDoc) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    if (!PrintTitle(L"結果", nPage, m_nPageCount, 0, 0)) return 0;
    const CRect& rc = m_rcPrint;
    const int patientTop = rc.top + PerMilleH(20);
    if (!PrintPatientInfo(CRect(rc.left, patientTop, rc.right, patientTop + PerMilleH(50)))) return 0;
    const int half = (rc.right - rc.left) / 2;
    const int blockTop = rc.top + PerMilleH(80);
    if (!PrintRRInterpreInfo(CRect(rc.left, blockTop, rc.left + half, blockTop + PerMilleH(500)))) return 0;

    const _POSITION_CTRL* table = m_pDoc->GetDefCtrlPos()->stRRPrint;
    // Each view where its row puts it, from its own origin; a row the
    // stylesheet hides prints nothing. Unlike the interpretation rows these
    // scale the width by the width and the height by the height.
    auto place = [&](int row, int ox, int oy) {
        const _POSITION_CTRL& r = table[row];
        CRect rect;
        rect.left = ox + PerMilleW(r.nLeft);
        rect.top = oy + PerMilleH(r.nTop);
        rect.right = rect.left + PerMilleW(r.nWidth);
        rect.bottom = rect.top + PerMilleH(r.nHeight);
        return rect;
    };
    const int graphsTop = rc.top + PerMilleH(515);
    if (table[kResultTableRow].bVisible && pPane->GetResultView()) {
        CRect rect = place(kResultTableRow, rc.left + PerMilleW(300), rc.top + PerMilleH(150));
        pPane->GetResultView()->Print(m_pECGDC, &rect);
    }
    if (table[kHistogramRow].bVisible && pPane->GetHistogramView()) {
        CRect rect = place(kHistogramRow, rc.left, graphsTop);
        pPane->GetHistogramView()->Print(m_pECGDC, &rect);
    }
    if (table[kTrendRow].bVisible && pPane->GetTrendView()) {
        CRect rect = place(kTrendRow, rc.left + half, graphsTop);
        pPane->GetTrendView()->Print(m_pECGDC, &rect);
    }
    return PrintVersion() ? 1 : 0;
}

int CECGPrintReport::PrintRRIntervalList(CWndRRComment* pPane, int nPage, int nListPage)
{
    CViewRRIntervalList* list = pPane ? pPane->GetIntervalList() : nullptr;
    if (!list || !m_pECGDC) return 0;
    const int pages = list->GetTotalPage(kListColumns, kListRows);
    // The list fills the last pages of the report. A report page before
    // them, or past the end, has no list page: it prints nothing.
    const int listPage = m_bPrintShown ? 0 : nPage + pages - m_nPageCount;
    if (!m_bPrintShown && (listPage < 1 || listPage > pages)) return 0;
    CDCObjectSelector<CFont, CECGDC> font(*m_pECGDC, m_pPrintFont);
    CString title = L"RR 間隔ﾘｽ?(ms)";
    if (!m_bPrintShown) title.AppendFormat(L" - %d ", nListPage);
    if (!PrintTitle(title, nPage, m_nPageCount, 0, 0)) return 0;
    const CRect& rc = m_rcPrint;
    const int patientTop = rc.top + PerMilleH(20);
    if (nListPage == 1 && !PrintPatientInfo(CRect(rc.left, patientTop, rc.right, patientTop + PerMilleH(50))))
        return 0;
    const CRect rect(rc.left, patientTop + PerMilleH(50) + PerMilleH(10), rc.right, rc.bottom);
    if (!list->Print(m_pECGDC, rect, listPage)) return 0;
    return PrintVersion() ? 1 : 0;
}
