// CDlgEnlargedOverlap: the overlapped beats' dialog around its view.
#include "dialogs/DlgEnlargedOverlap.h"

#include <algorithm>

#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgEnlargedOverlap, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgEnlargedOverlap, CDlgModal)
    ON_MESSAGE(WM_ENLARGED_RULER_READING, OnRulerReading)
    ON_MESSAGE(WM_ENLARGED_PAN, OnViewPanned)
    ON_BN_CLICKED(IDC_RULER, OnRulerMode)
    ON_BN_CLICKED(IDC_DRAG, OnDragMode)
    ON_BN_CLICKED(IDC_ZOOM_IN, OnZoomIn)
    ON_BN_CLICKED(IDC_ZOOM_OUT, OnZoomOut)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {
const int kPage = 20;   // pixels: both bars pan
}  // namespace

CDlgEnlargedOverlap::CDlgEnlargedOverlap(CWnd* pParent)
    : CDlgModal(IDD, pParent),
      m_frame({IDC_HORIZONTAL_BAR, IDC_VERTICAL_BAR, IDC_READOUT, IDC_RULER, IDC_DRAG, IDC_ZOOM_IN, IDC_ZOOM_OUT})
{
    std::fill(std::begin(m_nDataIndex), std::end(m_nDataIndex), -1);
}

CDlgEnlargedOverlap::~CDlgEnlargedOverlap() = default;

void CDlgEnlargedOverlap::SetDataIndex(int i, int nIndex)
{
    if (i >= 0 && i < ENLARGED_OVERLAP_SLOTS) m_nDataIndex[i] = nIndex;
}

BOOL CDlgEnlargedOverlap::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    SetWindowText(L"波形放大显示");
    SetDlgItemText(IDOK, L"关闭");
    m_frame.SetUpButtons(*this);
    if (!CreateOverlapView()) return TRUE;
    CRect client;
    m_pView->GetClientRect(&client);
    if (CScrollBar* down = m_frame.Bar(*this, false)) down->SetScrollRange(-client.Height(), client.Height());
    if (CScrollBar* across = m_frame.Bar(*this, true)) across->SetScrollRange(-client.Width(), client.Width());
    return TRUE;
}

BOOL CDlgEnlargedOverlap::CreateOverlapView()
{
    CDocument* geometry = m_nDocType != 0 ? static_cast<CDocument*>(m_pMferDoc) : static_cast<CDocument*>(m_pRestDoc);
    m_pView = static_cast<CViewEnlargedOverlap*>(m_frame.Create(*this, RUNTIME_CLASS(CViewEnlargedOverlap), geometry));
    if (!m_pView) return FALSE;
    m_pView->SetBaseECGDoc(m_pDoc, m_nDocType);
    m_pView->SetRestDoc(m_pRestDoc);
    m_pView->SetMFERDoc(m_pMferDoc);
    m_pView->SetBackGridSize(m_dDotsPerMMX, m_dDotsPerMMY, 4.0);
    m_pView->SetSense(m_fSense);
    m_pView->SetLeadID(static_cast<UINT>(m_nLead));
    m_pView->SetSerialCount(m_nCompareCount);
    for (int slot = 0; slot < ENLARGED_OVERLAP_SLOTS; ++slot) m_pView->SetDataIndex(slot, m_nDataIndex[slot]);
    m_pView->SendMessage(WM_INITIALUPDATE, 0, 0);
    return TRUE;
}

LRESULT CDlgEnlargedOverlap::OnRulerReading(WPARAM wParam, LPARAM lParam)
{
    m_frame.ShowReading(*this, wParam, lParam);
    return 0;
}

LRESULT CDlgEnlargedOverlap::OnViewPanned(WPARAM wParam, LPARAM lParam)
{
    if (!m_pView) return 0;
    m_pView->SetDragVerticalOffset(-m_frame.MoveBar(*this, false, static_cast<int>(lParam)));
    m_pView->SetDragHorizontalOffset(-m_frame.MoveBar(*this, true, static_cast<int>(wParam)));
    m_pView->Invalidate(FALSE);
    return 0;
}

void CDlgEnlargedOverlap::OnRulerMode()
{
    m_frame.PressMode(*this, TRUE);
    if (!m_pView) return;
    CEnlargedViewFrame::EnterRulerMode(*m_pView);
    m_frame.EnableBars(*this, FALSE);
}

void CDlgEnlargedOverlap::OnDragMode()
{
    m_frame.PressMode(*this, FALSE);
    if (!m_pView) return;
    CEnlargedViewFrame::EnterDragMode(*m_pView);
    m_frame.EnableBars(*this, TRUE);
    SetDlgItemText(IDC_READOUT, L"");
}

void CDlgEnlargedOverlap::Zoom(int delta)
{
    if (!m_pView || !CEnlargedViewFrame::StepZoom(*m_pView, delta)) return;
    if (CScrollBar* across = m_frame.Bar(*this, true)) m_pView->SetDragHorizontalOffset(-across->GetScrollPos());
    SetDlgItemText(IDC_READOUT, L"");
    CEnlargedViewFrame::ClearMarks(*m_pView);
    if (m_pView->GetRulerStatus() != RULER_STATUS_OFF) {
        m_pView->SetRulerStatus(RULER_STATUS_ARMED);
        m_frame.EnableBars(*this, FALSE);
    }
}

void CDlgEnlargedOverlap::OnZoomIn()
{
    Zoom(1);
}

void CDlgEnlargedOverlap::OnZoomOut()
{
    Zoom(-1);
}

void CDlgEnlargedOverlap::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_pView || !pScrollBar || pScrollBar->GetDlgCtrlID() != IDC_HORIZONTAL_BAR) return;
    const std::optional<int> position = m_frame.Scroll(*this, m_frame.Bar(*this, true), nSBCode, kPage);
    if (!position) return;
    m_pView->SetDragHorizontalOffset(-*position);
    m_pView->Invalidate(FALSE);
}

void CDlgEnlargedOverlap::OnVScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_pView || !pScrollBar || pScrollBar->GetDlgCtrlID() != IDC_VERTICAL_BAR) return;
    const std::optional<int> position = m_frame.Scroll(*this, m_frame.Bar(*this, false), nSBCode, kPage);
    if (!position) return;
    m_pView->SetDragVerticalOffset(-*position);
    m_pView->Invalidate(FALSE);
}
