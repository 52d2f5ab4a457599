#include "panes/WndFinalSTTrend.h"

#include "analysisviews/ViewSTTrend.h"
#include "documents/FinalViewDoc.h"
#include "panes/PaneKit.h"

IMPLEMENT_DYNCREATE(CWndFinalSTTrend, CWnd)

BEGIN_MESSAGE_MAP(CWndFinalSTTrend, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {
constexpr int kFinalDocType = 1;
constexpr int kRows = 3;
}  // namespace

CWndFinalSTTrend::CWndFinalSTTrend() : m_pTrendView{}, m_bShowPatientInfo(TRUE), m_pFinalViewDoc(nullptr) {}

// The views go with their windows.
CWndFinalSTTrend::~CWndFinalSTTrend() = default;

int CWndFinalSTTrend::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    for (int i = 0; i < kLeads; ++i) {
        m_pTrendView[i] = static_cast<CViewSTTrend*>(
            panes::CreateChildView(this, m_pFinalViewDoc, RUNTIME_CLASS(CViewSTTrend), 201 + i));
        if (!m_pTrendView[i]) continue;
        m_pTrendView[i]->SetDocType(kFinalDocType);
        m_pTrendView[i]->SetLead(i);
    }
    return 0;
}

void CWndFinalSTTrend::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pFinalViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    const int gapX = page.X(5), gapY = page.Y(5);
    const int width = (page.X(1000) - 3 * gapX) / 4;
    const int height = (page.Y(650) - 2 * gapY) / kRows;
    for (int i = 0; i < kLeads; ++i) {
        if (!m_pTrendView[i] || !m_pTrendView[i]->GetSafeHwnd()) continue;
        const int column = i / kRows, row = i % kRows;
        m_pTrendView[i]->MoveWindow(page.X(10) + column * (width + gapX), page.Y(7) + row * (height + gapY), width,
                                    height, TRUE);
    }
}

void CWndFinalSTTrend::OnUpdate()
{
    for (CViewSTTrend* view : m_pTrendView) {
        if (!view || !view->GetSafeHwnd()) continue;
        view->OnUpdate(nullptr, 0, nullptr);
        panes::RepaintView(view);
    }
}
