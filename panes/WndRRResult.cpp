#include "panes/WndRRResult.h"

#include "analysisviews/ViewRRHistogram.h"
#include "analysisviews/ViewRRResult.h"
#include "analysisviews/ViewRRTrend.h"
#include "core/UserMessages.h"
#include "documents/RRViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"

IMPLEMENT_DYNAMIC(CWndRRResult, CWnd)

BEGIN_MESSAGE_MAP(CWndRRResult, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {
constexpr int kRRDocType = 3;
}  // namespace

CWndRRResult::CWndRRResult()
    : m_pRRViewDoc(nullptr), m_bShowPatientInfo(TRUE), m_pPatientFrame(nullptr), m_pResultView(nullptr),
      m_pHistogramView(nullptr), m_pTrendView(nullptr)
{
}

// The frame and the views go with their windows.
CWndRRResult::~CWndRRResult() = default;

int CWndRRResult::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pPatientFrame = panes::CreateFormFrame(this, m_pRRViewDoc, RUNTIME_CLASS(CFormPatientInfo), kRRDocType);
    m_pResultView = static_cast<CViewRRResult*>(
        panes::CreateChildView(this, m_pRRViewDoc, RUNTIME_CLASS(CViewRRResult), 201));
    m_pHistogramView = static_cast<CViewRRHistogram*>(
        panes::CreateChildView(this, m_pRRViewDoc, RUNTIME_CLASS(CViewRRHistogram), 202));
    m_pTrendView = static_cast<CViewRRTrend*>(
        panes::CreateChildView(this, m_pRRViewDoc, RUNTIME_CLASS(CViewRRTrend), 203));
    return 0;
}

void CWndRRResult::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pRRViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    panes::PlacePatientFrame(m_pPatientFrame, page, {15, 5, 990, 50}, m_bShowPatientInfo);
    const int y0 = m_bShowPatientInfo ? 60 : 10;
    page.PlaceBelow(m_pResultView, y0, {15, 0, 990, 325});
    page.PlaceBelow(m_pHistogramView, y0, {15, 335, 490, 260});
    page.PlaceBelow(m_pTrendView, y0, {515, 335, 490, 260});
}

void CWndRRResult::OnUpdate()
{
    if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) form->OnUpdate(nullptr, 0, nullptr);
    CView* views[] = {m_pResultView, m_pHistogramView, m_pTrendView};
    for (CView* view : views)
        if (view && view->GetSafeHwnd()) view->InvalidateRect(nullptr, TRUE);
}

LRESULT CWndRRResult::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}
