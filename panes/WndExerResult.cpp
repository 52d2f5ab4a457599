#include "panes/WndExerResult.h"

#include <cmath>

#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewResultTable.h"
#include "core/Globals.h"
#include "documents/ExerViewDoc.h"
#include "panes/PaneKit.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/framework/PaintDC.h"

IMPLEMENT_DYNAMIC(CWndExerResult, CWnd)

BEGIN_MESSAGE_MAP(CWndExerResult, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr int kResultParent = 0;
constexpr int kMETsHRStyle = 7;
constexpr wchar_t kNoValue[] = L"*.*";

}  // namespace

CWndExerResult::CWndExerResult() : m_pResultTable(nullptr), m_pTrendView(nullptr), m_pExerViewDoc(nullptr) {}

// The views go with their windows.
CWndExerResult::~CWndExerResult() = default;

int CWndExerResult::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pResultTable = static_cast<CViewResultTable*>(
        panes::CreateChildView(this, m_pExerViewDoc, RUNTIME_CLASS(CViewResultTable), 201));
    if (m_pResultTable) m_pResultTable->InvalidateRect(nullptr, TRUE);
    m_pTrendView =
        static_cast<CViewExerTrend*>(panes::CreateChildView(this, m_pExerViewDoc, RUNTIME_CLASS(CViewExerTrend), 202));
    if (m_pTrendView) {
        m_pTrendView->SetParentWndType(kResultParent);
        m_pTrendView->UpdateInformation();
        m_pTrendView->SetTrendStyle(kMETsHRStyle);
        m_pTrendView->InvalidateRect(nullptr, TRUE);
    }
    return 0;
}

void CWndExerResult::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pExerViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    page.Place(m_pResultTable, {10, 10, 1000, 350});
    page.Place(m_pTrendView, {343, 370, 667, 280});
}

void CWndExerResult::OnUpdate()
{
    if (m_pResultTable && m_pResultTable->GetSafeHwnd()) {
        m_pResultTable->OnUpdate(nullptr, 0, nullptr);
        m_pResultTable->InvalidateRect(nullptr, FALSE);
    }
    if (m_pTrendView && m_pTrendView->GetSafeHwnd()) {
        m_pTrendView->UpdateInformation();
        m_pTrendView->InvalidateRect(nullptr, TRUE);
    }
    // The equation belongs to the record now shown.
    if (GetSafeHwnd()) InvalidateRect(nullptr, TRUE);
}

void CWndExerResult::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    DrawEquation(&dc, client.Width(), client.Height());
}

void CWndExerResult::DrawEquation(CDC* pDC, int width, int height)
{
    const _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    if (!pDC || !item) return;
    const panes::VirtualPage page(width, height, panes::kPageHeightWithPatient);
    CFont* first = m_pExerViewDoc->GetDocFont(0);
    CFont* second = m_pExerViewDoc->GetDocFont(1);
    const double slope = item->stResult.dSlope;
    const double intercept = item->stResult.dIntercept;
    const bool none = !HasExerRegression(slope, intercept);

    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_pExerViewDoc->GetTextColor());
    int x = page.X(40);
    const int y = page.Y(520);
    // Each part starts where the one before it ends, plus the gap between them.
    auto put = [&](CFont* face, const CString& text, int gapAfter) {
        font.Select(face);
        pDC->TextOut(x, y, text);
        x += pDC->GetTextExtent(text).cx + gapAfter;
    };
    CString text;
    put(second, L"METs =", static_cast<int>(20 * g_dXUnit));
    if (none)
        text.Format(L"%s %s", kNoValue, L"x");
    else
        text.Format(L"%5.3f %s", slope, L"x");
    put(first, text, 0);
    put(second, L" HR", static_cast<int>(10 * g_dXUnit));
    if (none)
        text.Format(L"%s %s", L"-", kNoValue);
    else
        text.Format(L"%s%5.1f", intercept >= 0.0 ? L"+" : L"-", std::fabs(intercept));
    put(first, text, 0);
}
