#include "dialogs/DlgFinalLoadEnlarge.h"

#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "documents/FinalViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgFinalLoadEnlarge, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgFinalLoadEnlarge, CDlgModal)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_REST_RULER, IDC_LOAD_ZOOM_OUT, OnToolButton)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_MESSAGE(WM_ENLARGED_RULER_READING, OnRulerReading)
    ON_MESSAGE(WM_ENLARGED_PAN, OnViewPanned)
    ON_MESSAGE(WM_ENLARGED_PAN_SOURCE, OnActiveSide)
END_MESSAGE_MAP()

namespace {

// Design units.
const int kWidth = 910, kWidthPortrait = 768;
const int kHeight = 580, kHeightPortrait = 615;
const int kColumnLeft = 10, kTop = 30;
const int kColumnWidth = 40, kColumnWidthPortrait = 38;
const int kColumnHeight = 452, kColumnHeightPortrait = 480;
const int kBeatWidth = 400, kBeatWidthPortrait = 330;
const int kBar = 16;
const int kSideGap = 10;
const int kLoadTitleLeft = 480, kLoadTitleLeftPortrait = 405;

}  // namespace

CDlgFinalLoadEnlarge::CDlgFinalLoadEnlarge(CWnd* pParent)
    : CDlgModal(IDD, pParent),
      m_rest({IDC_REST_HORIZONTAL_BAR, IDC_REST_VERTICAL_BAR, IDC_REST_READOUT, IDC_REST_RULER, IDC_REST_DRAG,
              IDC_REST_ZOOM_IN, IDC_REST_ZOOM_OUT},
             IDC_REST_TITLE),
      m_load({IDC_LOAD_HORIZONTAL_BAR, IDC_LOAD_VERTICAL_BAR, IDC_LOAD_READOUT, IDC_LOAD_RULER, IDC_LOAD_DRAG,
              IDC_LOAD_ZOOM_IN, IDC_LOAD_ZOOM_OUT},
             IDC_LOAD_TITLE)
{
}

BOOL CDlgFinalLoadEnlarge::OnInitDialog()
{
    if (g_pDlgFontNormal) SetFont(g_pDlgFontNormal, FALSE);
    CDlgModal::OnInitDialog();
    SetWindowText(L"波形放大显示");
    SetDlgItemText(IDOK, L"关闭");
    const CEnlargedWaveLayout units = CEnlargedWaveLayout::ForWindow(GetSafeHwnd(), m_pDoc);
    const bool portrait = units.IsPortrait();
    const int width = portrait ? kWidthPortrait : kWidth;
    SetWindowPos(nullptr, 0, 0, units.X(width),
                 units.Y(portrait ? kHeightPortrait : kHeight) + ::GetSystemMetrics(SM_CYCAPTION),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();

    const std::pair<int, int> titles[] = {{IDC_REST_TITLE, 50},
                                          {IDC_LOAD_TITLE, portrait ? kLoadTitleLeftPortrait : kLoadTitleLeft}};
    for (const auto& [id, left] : titles) {
        CWnd* title = GetDlgItem(id);
        if (!title) continue;
        title->MoveWindow(units.Rect(left, 5, 300, 25), FALSE);
        if (g_pDlgFontNormal) title->SetFont(g_pDlgFontNormal, FALSE);
    }
    SetDlgItemText(IDC_REST_TITLE, CFinalEnlargeSide::Title(L"安静時", m_pDoc, m_nLead));
    SetDlgItemText(IDC_LOAD_TITLE,
                   CFinalEnlargeSide::Title(CFinalEnlargeSide::LoadTimeText(m_pDoc, m_nLoadIndex), m_pDoc, m_nLead));

    const int columnWidth = portrait ? kColumnWidthPortrait : kColumnWidth;
    const int height = portrait ? kColumnHeightPortrait : kColumnHeight;
    const int beatWidth = portrait ? kBeatWidthPortrait : kBeatWidth;
    const int restLeft = kColumnLeft + columnWidth;
    const int loadLeft = restLeft + beatWidth + kBar + kSideGap;
    m_rest.Place(*this, units, restLeft, kTop, beatWidth, height);
    m_load.Place(*this, units, loadLeft, kTop, beatWidth, height);
    if (CWnd* close = GetDlgItem(IDOK)) close->MoveWindow(units.Rect(width / 2 - 100, kTop + height + 35, 200, 25), FALSE);
    if (!m_pDoc) return TRUE;
    _FINAL_ENLARGE_GRID grid;
    m_pCalibration =
        CFinalEnlargeSide::CreateCalibration(*this, units.Rect(kColumnLeft, kTop, columnWidth, height), m_pDoc, &grid);
    m_rest.CreateView(*this, m_pDoc, m_nLead, TRUE, m_nLoadIndex, grid);
    m_load.CreateView(*this, m_pDoc, m_nLead, FALSE, m_nLoadIndex, grid);
    return TRUE;
}

void CDlgFinalLoadEnlarge::OnToolButton(UINT nID)
{
    if (!m_rest.OnButton(*this, static_cast<int>(nID))) m_load.OnButton(*this, static_cast<int>(nID));
}

void CDlgFinalLoadEnlarge::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_rest.OnScroll(*this, pScrollBar, nSBCode)) m_load.OnScroll(*this, pScrollBar, nSBCode);
}

void CDlgFinalLoadEnlarge::OnVScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    if (!m_rest.OnScroll(*this, pScrollBar, nSBCode)) m_load.OnScroll(*this, pScrollBar, nSBCode);
}

// lParam names the side that measured: non-zero the resting one.
LRESULT CDlgFinalLoadEnlarge::OnRulerReading(WPARAM wParam, LPARAM lParam)
{
    (lParam ? m_rest : m_load).ShowReading(*this, wParam);
    return 0;
}

LRESULT CDlgFinalLoadEnlarge::OnViewPanned(WPARAM wParam, LPARAM lParam)
{
    Active().OnPanned(*this, wParam, lParam);
    return 0;
}

LRESULT CDlgFinalLoadEnlarge::OnActiveSide(WPARAM wParam, LPARAM)
{
    m_nActive = wParam ? 1 : 0;
    return 0;
}
