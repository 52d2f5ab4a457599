// CDlgDivider: where the caliper dialog and its controls stand. The design
// screen's units are scaled to the work area of the dialog's monitor; the
// strip keeps the paper's proportions across the whole width.
#include "dialogs/DlgDivider.h"

#include <algorithm>

#include "core/TavrionDoc.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace {

const int kMargin = 8;            // units left and right of the strip
const int kStripTop = 10;
const int kRowGap = 10;           // from the strip's bar to the first row
const int kRowStep = 30;
const int kHeight = 230;          // the dialog's height under its caption
const int kButtonHeight = 30;     // the second row's tallest controls
const int kHeightUnderStrip = 110;   // display size 5: the rows under a strip of its own height
const UINT kPaperDisplayMode = 5;

// One control's place: x and width on the landscape and on the portrait
// design screen, its row (0 or 1), its offset down the row and its height.
struct Slot {
    int id;
    int x;
    int xPortrait;
    int width;
    int widthPortrait;
    int row;
    int down;
    int height;
};

const Slot kSlots[] = {
    {CDlgDivider::IDC_READOUT_1, 50, 30, 450, 370, 0, 0, 25},
    {CDlgDivider::IDC_READOUT_2, 50, 30, 450, 370, 1, 0, 25},
    {CDlgDivider::IDC_CHECK_2, 30, 10, 20, 20, 1, 0, 25},
    {CDlgDivider::IDC_READOUT_3, 560, 430, 450, 330, 0, 0, 25},
    {CDlgDivider::IDC_CHECK_3, 540, 410, 20, 20, 0, 0, 25},
    {CDlgDivider::IDC_RATE_LABEL, 540, 410, 50, 50, 1, 5, 20},
    {CDlgDivider::IDC_RATE_EDIT, 600, 470, 50, 50, 1, 2, 20},
    {CDlgDivider::IDC_RATE_UNIT, 655, 525, 35, 35, 1, 5, 20},
    {IDOK, 700, 580, 150, 85, 1, 0, 30},
    {IDCANCEL, 860, 675, 150, 85, 1, 0, 30},
};

}  // namespace

void CDlgDivider::ApplyFont()
{
    if (m_pDoc && m_pDoc->GetDocFont(4)) m_pFont = m_pDoc->GetDocFont(4);
    if (!m_pFont) return;
    SetFont(m_pFont, FALSE);
    const int ids[] = {IDC_RATE_LABEL, IDC_RATE_UNIT, IDOK, IDCANCEL, IDC_RATE_EDIT, IDC_READOUT_1, IDC_READOUT_2,
                       IDC_READOUT_3};
    for (int id : ids)
        if (CWnd* control = GetDlgItem(id)) control->SetFont(m_pFont, FALSE);
}

void CDlgDivider::PlaceControls()
{
    const CRect work = CEnlargedWaveLayout::WorkArea(GetSafeHwnd());
    const CEnlargedWaveLayout units = m_pDoc ? CEnlargedWaveLayout(work.Width(), work.Height(), m_pDoc->IsTurnedScreen() != 0)
                                             : CEnlargedWaveLayout(work.Width(), work.Height());
    const bool portrait = units.IsPortrait();
    const int margin = units.X(kMargin);
    const int frame = ::GetSystemMetrics(SM_CXDLGFRAME);
    const int viewWidth = std::max(1, work.Width() - 2 * (frame + margin));
    // On paper-size screens the strip's millimetres are the document's own,
    // which differ across and down.
    double across = viewWidth;
    const bool paper = m_pDoc && m_pDoc->GetDisplaySizeMode() == kPaperDisplayMode &&
                       m_pDoc->GetPixelPerMMX() > 0.0 && m_pDoc->GetPixelPerMMY() > 0.0;
    if (paper) across /= m_pDoc->GetPixelPerMMX() / m_pDoc->GetPixelPerMMY();
    int viewHeight = m_nStripWidth > 0 ? std::max(1, static_cast<int>(m_nStripHeight * across / m_nStripWidth)) : 1;

    const int caption = ::GetSystemMetrics(SM_CYCAPTION);
    const int barHeight = ::GetSystemMetrics(SM_CYHSCROLL);
    // The caption and the frame around the client area, as this window has them.
    CRect outer, inner;
    GetWindowRect(&outer);
    GetClientRect(&inner);
    const int nonClient = std::max(caption, outer.Height() - inner.Height());
    // A monitor wider than the design screen's shape makes the strip taller
    // than the design's height holds: the dialog grows so that the rows and
    // buttons under the strip stay in it, and on a monitor too low even for
    // that the strip gives way, so that the whole dialog stays on its
    // monitor's work area.
    const int underStrip = units.Y(kRowGap) + barHeight + units.Y(kRowStep) + units.Y(kButtonHeight) + units.Y(kStripTop);
    int needed = nonClient + units.Y(kStripTop) + viewHeight + underStrip;
    if (needed > work.Height()) {
        viewHeight = std::max(1, viewHeight - (needed - work.Height()));
        needed = nonClient + units.Y(kStripTop) + viewHeight + underStrip;
    }
    const int designed = (paper ? units.Y(kHeightUnderStrip) + viewHeight : units.Y(kHeight)) + caption;
    const int height = std::min(static_cast<int>(work.Height()), std::max(designed, needed));
    // The foot of the dialog on the foot of the work area: above a panel
    // there, on whichever monitor holds the dialog.
    SetWindowPos(nullptr, work.left, work.bottom - height, work.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);

    m_rcStrip = CRect(CPoint(margin, units.Y(kStripTop)), CSize(viewWidth, viewHeight));
    if (CWnd* bar = GetDlgItem(IDC_STRIP_BAR))
        bar->MoveWindow(m_rcStrip.left, m_rcStrip.bottom, m_rcStrip.Width(), barHeight, FALSE);
    const int firstRow = m_rcStrip.bottom + units.Y(kRowGap) + barHeight;
    const int secondRow = firstRow + units.Y(kRowStep);
    for (const Slot& slot : kSlots) {
        CWnd* control = GetDlgItem(slot.id);
        if (!control) continue;
        const int x = units.X(portrait ? slot.xPortrait : slot.x);
        const int width = units.X(portrait ? slot.widthPortrait : slot.width);
        const int top = (slot.row == 0 ? firstRow : secondRow) + units.Y(slot.down);
        control->MoveWindow(x, top, width, units.Y(slot.height), FALSE);
    }
}
