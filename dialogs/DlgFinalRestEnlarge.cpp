#include "dialogs/DlgFinalRestEnlarge.h"

#include "analysisviews/ViewFinalShared.h"
#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/DlgFinalLoadEnlarge.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "documents/FinalViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgFinalRestEnlarge, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgFinalRestEnlarge, CDlgModal)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_RULER, IDC_ZOOM_OUT, OnToolButton)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_MESSAGE(WM_ENLARGED_RULER_READING, OnRulerReading)
    ON_MESSAGE(WM_ENLARGED_PAN, OnViewPanned)
END_MESSAGE_MAP()

namespace {

// Design units.
const int kWidth = 480, kWidthPortrait = 450;
const int kHeight = 540, kHeightPortrait = 570;
const int kColumnLeft = 10, kTop = 30;
const int kColumnWidth = 40, kColumnWidthPortrait = 38;
const int kColumnHeight = 450, kColumnHeightPortrait = 480;
const int kBeatWidth = 410 - 16, kBeatWidthPortrait = 371;

}  // namespace

CDlgFinalRestEnlarge::CDlgFinalRestEnlarge(CWnd* pParent)
    : CDlgModal(IDD, pParent),
      m_side({IDC_HORIZONTAL_BAR, IDC_VERTICAL_BAR, IDC_READOUT, IDC_RULER, IDC_DRAG, IDC_ZOOM_IN, IDC_ZOOM_OUT}, IDC_TITLE)
{
}

BOOL CDlgFinalRestEnlarge::OnInitDialog()
{
    if (g_pDlgFontNormal) SetFont(g_pDlgFontNormal, FALSE);
    CDlgModal::OnInitDialog();
    SetWindowText(L"波形放大显示");
    SetDlgItemText(IDOK, L"关闭");
    const CEnlargedWaveLayout units = CEnlargedWaveLayout::ForWindow(GetSafeHwnd(), m_pDoc);
    const bool portrait = units.IsPortrait();
    // The design size is the client area: the close button ends on its bottom edge, so the
    // frame's borders come on top of the caption or they would cut the button.
    CRect window(0, 0, units.X(portrait ? kWidthPortrait : kWidth), units.Y(portrait ? kHeightPortrait : kHeight));
    ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    if (CWnd* title = GetDlgItem(IDC_TITLE)) {
        title->MoveWindow(units.Rect(50, 5, 300, 25), FALSE);
        if (g_pDlgFontNormal) title->SetFont(g_pDlgFontNormal, FALSE);
    }
    SetDlgItemText(IDC_TITLE, CFinalEnlargeSide::Title(L"安静時", m_pDoc, m_nLead));

    const int columnWidth = portrait ? kColumnWidthPortrait : kColumnWidth;
    const int height = portrait ? kColumnHeightPortrait : kColumnHeight;
    const int beatWidth = portrait ? kBeatWidthPortrait : kBeatWidth;
    m_side.Place(*this, units, kColumnLeft + columnWidth, kTop, beatWidth, height);
    if (CWnd* close = GetDlgItem(IDOK))
        close->MoveWindow(units.Rect((portrait ? kWidthPortrait : kWidth) / 2 - 100, kTop + height + 35, 200, 25), FALSE);
    if (!m_pDoc) return TRUE;
    _FINAL_ENLARGE_GRID grid;
    m_pCalibration =
        CFinalEnlargeSide::CreateCalibration(*this, units.Rect(kColumnLeft, kTop, columnWidth, height), m_pDoc, &grid);
    m_side.CreateView(*this, m_pDoc, m_nLead, TRUE, FINAL_CURRENT_LOAD, grid);
    return TRUE;
}

void CDlgFinalRestEnlarge::OnToolButton(UINT nID)
{
    m_side.OnButton(*this, static_cast<int>(nID));
}

void CDlgFinalRestEnlarge::OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    m_side.OnScroll(*this, pScrollBar, nSBCode);
}

void CDlgFinalRestEnlarge::OnVScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
{
    m_side.OnScroll(*this, pScrollBar, nSBCode);
}

LRESULT CDlgFinalRestEnlarge::OnRulerReading(WPARAM wParam, LPARAM)
{
    m_side.ShowReading(*this, wParam);
    return 0;
}

LRESULT CDlgFinalRestEnlarge::OnViewPanned(WPARAM wParam, LPARAM lParam)
{
    m_side.OnPanned(*this, wParam, lParam);
    return 0;
}

namespace {

// The master-step views open their enlarge dialogs through this opener,
// modal and without a parent, as the comparison pages always have.
INT_PTR OpenEnlarge(CFinalViewDoc* doc, int lead, int loadIndex)
{
    if (loadIndex == FINAL_REST_BEAT) {
        CDlgFinalRestEnlarge dialog(nullptr);
        dialog.SetLeadID(lead);
        dialog.SetDoc(doc);
        return dialog.DoModal();
    }
    CDlgFinalLoadEnlarge dialog(nullptr);
    dialog.SetLeadID(lead);
    dialog.SetLoadIndex(loadIndex);
    dialog.SetDoc(doc);
    return dialog.DoModal();
}

const bool g_bOpenerInstalled = (SetFinalEnlargeOpener(&OpenEnlarge), true);

}  // namespace
