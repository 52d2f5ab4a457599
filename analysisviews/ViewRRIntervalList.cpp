#include "analysisviews/ViewRRIntervalList.h"

#include <algorithm>

#include "analysisviews/RRViewPaint.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewRRIntervalList, CView)

BEGIN_MESSAGE_MAP(CViewRRIntervalList, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CViewRRIntervalList::CViewRRIntervalList() : m_nCurPage(0), m_nRRCount(0), m_pRRBuffer(nullptr)
{
}

CViewRRIntervalList::~CViewRRIntervalList()
{
    delete[] m_pRRBuffer;
}

BOOL CViewRRIntervalList::OnEraseBkgnd(CDC* pDC)
{
    FillRRViewBackground(pDC, GetDocument());
    return TRUE;
}

int CViewRRIntervalList::GetTotalPage(int columns, int rows)
{
    const int perPage = columns * rows;
    if (perPage <= 0) return 0;
    return m_nRRCount / perPage + (m_nRRCount % perPage ? 1 : 0);
}

int CViewRRIntervalList::ChangePage(int step)
{
    const int pages = GetTotalPage(RR_LIST_SCREEN_COLUMNS, RR_LIST_ROWS);
    m_nCurPage += step;
    if (m_nCurPage >= pages) m_nCurPage = 0;   // past the last page the list starts again
    int result = 0;
    if (pages <= 1) {
        m_nCurPage = 0;
        result = 3;
    } else if (m_nCurPage <= 0) {
        m_nCurPage = 0;
        result = 1;
    } else if (m_nCurPage >= pages - 1) {
        m_nCurPage = pages - 1;
        result = 2;
    }
    if (GetSafeHwnd()) Invalidate(TRUE);
    return result;
}

void CViewRRIntervalList::OnUpdate(CView*, LPARAM, CObject*)
{
    if (!GetCurrentRRItem(GetDocument())) return;
    CopyIntervals();
    ChangePage(0);
}

void CViewRRIntervalList::CopyIntervals()
{
    const _RRDATAITEM* item = GetCurrentRRItem(GetDocument());
    // A longer list than the 16-bit count holds shows its first 32,767
    // intervals rather than a count gone negative.
    const int count = std::min(RRIntervalCount(item), RR_LIST_MAX_COUNT);
    delete[] m_pRRBuffer;
    m_pRRBuffer = nullptr;
    m_unheld.clear();
    m_nRRCount = static_cast<short>(count);
    if (count == 0) return;
    m_pRRBuffer = new unsigned short[count];
    for (int i = 0; i < count; ++i) {
        const int length = RRIntervalLength(item, i);
        m_pRRBuffer[i] = static_cast<unsigned short>(length);
        // What the 16 bits cannot hold as it is (a negative length, one
        // past 65,535 ms) is kept whole, so that it never shows as another,
        // plausible length.
        if (length < 0 || length > 0xFFFF) m_unheld.emplace(i, length);
    }
}

int CViewRRIntervalList::ShownLength(int i) const
{
    const auto unheld = m_unheld.find(i);
    return unheld != m_unheld.end() ? unheld->second : static_cast<int>(m_pRRBuffer[i]);
}

void CViewRRIntervalList::OnDraw(CDC* pDC)
{
    CTavrionDoc* doc = DYNAMIC_DOWNCAST(CTavrionDoc, GetDocument());
    if (!pDC || !doc) return;
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC, doc->GetDocFont(1));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int lineStep = tm.tmHeight + tm.tmExternalLeading;
    const int a = tm.tmAveCharWidth;
    const int top = tm.tmHeight / 3;
    RRTextOut(pDC, a, top, TA_LEFT | TA_TOP, L"ＲＲ間隔リスト(ms)");
    // The entries in the normal font, placed by the title font's metrics.
    font.Select(doc->GetDocFont(0));
    for (int c = 0; c < RR_LIST_SCREEN_COLUMNS; ++c) DrawScreenColumn(pDC, c, lineStep, a, top);
}

void CViewRRIntervalList::DrawScreenColumn(CDC* pDC, int column, int lineStep, int a, int top)
{
    const int x = 6 * a + 10 * a * column;
    int y = top;
    CString text;
    for (int r = 0; r < RR_LIST_ROWS; ++r) {
        const int i = RR_LIST_SCREEN_PAGE * m_nCurPage + RR_LIST_ROWS * column + r;
        if (i >= m_nRRCount) continue;
        y += lineStep;
        if (r == 0) {
            RRTextOut(pDC, x, y, TA_RIGHT | TA_TOP, L"No. :");
            y += lineStep;
        }
        text.Format(L"%d :", i + 1);
        RRTextOut(pDC, x, y, TA_RIGHT | TA_TOP, text);
        text.Format(L"%d", ShownLength(i));
        RRTextOut(pDC, x + 4 * a, y, TA_RIGHT | TA_TOP, text);
    }
}

BOOL CViewRRIntervalList::Print(CECGDC* pECGDC, CRect rect, int page)
{
    const _RRDATAITEM* item = GetCurrentRRItem(GetDocument());
    CDC* pDC = pECGDC ? pECGDC->GetDC() : nullptr;
    if (!pDC || !item) return FALSE;
    CDCStateSaver state(*pDC);
    const int cw = rect.Width() / 12;
    const int rh = rect.Height() / 50;
    const int w4 = pDC->GetTextExtent(L"****", 4).cx;
    const int start = page > 0 ? (page - 1) * RR_LIST_PRINT_PAGE : RR_LIST_SCREEN_PAGE * m_nCurPage;
    const int end = std::min(start + RR_LIST_PRINT_PAGE, static_cast<int>(m_nRRCount));
    pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    CString text;
    for (int i = start; i < end; ++i) {
        const int k = i - start;
        const int x = rect.left + (k / RR_LIST_ROWS + 2) * cw;
        const int y = rect.top + (k % RR_LIST_ROWS + 3) * rh;
        text.Format(L"%d :", i + 1);
        pDC->TextOut(x, y, text);
        text.Format(RRIntervalMark(item, i) ? L"%d *" : L"%d", ShownLength(i));
        pDC->TextOut(x + w4, y, text);
    }
    for (int c = 0; c <= (end - start - 1) / RR_LIST_ROWS; ++c)
        pDC->TextOut(rect.left + (c + 2) * cw, rect.top + 2 * rh, L"No. :");
    return TRUE;
}
