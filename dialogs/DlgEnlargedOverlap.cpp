// CDlgEnlargedOverlap: the overlapped beats' dialog around its view.
#include "dialogs/DlgEnlargedOverlap.h"

#include <algorithm>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/EnlargedWaveLayout.h"
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
const int kBarWidth = 200;   // units
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
    if (g_pDlgFontNormal) SetFont(g_pDlgFontNormal, FALSE);
    CDlgModal::OnInitDialog();
    SetWindowText(L"波形放大显示");
    SetDlgItemText(IDOK, L"关闭");
    m_frame.SetUpButtons(*this);
    CEnlargedWaveLayout::ForWindow(GetSafeHwnd(), GeometryDoc()).ApplySingleView(*this, m_frame.Ids(), kBarWidth);
    if (CreateOverlapView()) m_frame.SetPixelRanges(*this, *m_pView);
    return TRUE;
}

CTavrionDoc* CDlgEnlargedOverlap::GeometryDoc() const
{
    return m_nDocType != 0 ? static_cast<CTavrionDoc*>(m_pMferDoc) : static_cast<CTavrionDoc*>(m_pRestDoc);
}

BOOL CDlgEnlargedOverlap::CreateOverlapView()
{
    CDocument* geometry = GeometryDoc();
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
    m_frame.PixelPanned(*this, m_pView, static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

void CDlgEnlargedOverlap::OnRulerMode()
{
    m_frame.RulerMode(*this, m_pView);
}

void CDlgEnlargedOverlap::OnDragMode()
{
    m_frame.DragMode(*this, m_pView);
}

void CDlgEnlargedOverlap::OnZoomIn()
{
    m_frame.PixelZoom(*this, m_pView, 1);
}

void CDlgEnlargedOverlap::OnZoomOut()
{
    m_frame.PixelZoom(*this, m_pView, -1);
}

void CDlgEnlargedOverlap::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    m_frame.PixelScroll(*this, m_pView, pScrollBar, nSBCode, kPage);
}

void CDlgEnlargedOverlap::OnVScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    m_frame.PixelScroll(*this, m_pView, pScrollBar, nSBCode, kPage);
}
