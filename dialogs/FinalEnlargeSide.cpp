#include "dialogs/FinalEnlargeSide.h"

#include <algorithm>

#include "analysisviews/ViewCAL.h"
#include "analysisviews/ViewFinalEnlargeWave.h"
#include "dialogs/EnlargedWaveLayout.h"
#include "documents/FinalDataItem.h"
#include "documents/FinalViewDoc.h"

namespace {

const int kBar = 16;            // units
const int kButton = 24;
const int kButtonHeight = 20;
const int kGapUnder = 5;
const int kReadoutGap = 10;
const int kPage = 20;           // pixels
const UINT kTagLoadTime = 4056;
const UINT kPaperDisplayMode = 5;
const int kColumnMillimetres = 10;

void PlaceControl(CWnd& dialog, int id, const CRect& rect)
{
    if (CWnd* control = dialog.GetDlgItem(id)) control->MoveWindow(&rect, FALSE);
}

}  // namespace

CFinalEnlargeSide::CFinalEnlargeSide(const CEnlargedViewFrame::Controls& ids, int titleId)
    : m_frame(ids), m_nTitleId(titleId)
{
}

void CFinalEnlargeSide::Place(CWnd& dialog, const CEnlargedWaveLayout& units, int x, int y, int width, int height) const
{
    const CEnlargedViewFrame::Controls& ids = m_frame.Ids();
    PlaceControl(dialog, ids.verticalBar, units.Rect(x + width, y, kBar, height));
    const int under = y + height + kGapUnder;
    const int third = width / 3;
    PlaceControl(dialog, ids.horizontalBar, units.Rect(x, under, third, kBar));
    const int buttonsLeft = x + width + kBar - 4 * kButton;
    const int readoutLeft = x + third + kReadoutGap;
    PlaceControl(dialog, ids.readout,
                 units.Rect(readoutLeft, under, std::max(0, buttonsLeft - kReadoutGap - readoutLeft), kButtonHeight));
    const int buttons[4] = {ids.rulerButton, ids.dragButton, ids.zoomInButton, ids.zoomOutButton};
    for (int i = 0; i < 4; ++i)
        PlaceControl(dialog, buttons[i], units.Rect(buttonsLeft + i * kButton, under, kButton, kButtonHeight));
}

BOOL CFinalEnlargeSide::CreateView(CWnd& dialog, CFinalViewDoc* doc, int lead, BOOL rest, int loadIndex,
                                   const _FINAL_ENLARGE_GRID& grid)
{
    m_pView = static_cast<CViewFinalEnlargeWave*>(m_frame.Create(dialog, RUNTIME_CLASS(CViewFinalEnlargeWave), doc));
    if (!m_pView) return FALSE;
    CRect client;
    m_pView->GetClientRect(&client);
    m_pView->SetWaveInfo(nullptr, lead, rest);
    m_pView->InitBackground(static_cast<int>(client.Width() / grid.dPixelsPerMMX), grid.nRows);
    m_pView->SetBackGridSize(grid.dPixelsPerMMX, grid.dPixelsPerMMY, 4.0);
    m_pView->SetCurrentCursor(CEnlargedViewFrame::HandCursor());
    if (!rest) m_pView->SetDataIndex(loadIndex);
    m_pView->SendMessage(WM_INITIALUPDATE, 0, 0);
    m_frame.SetPixelRanges(dialog, *m_pView);
    m_frame.SetUpButtons(dialog);
    return TRUE;
}

bool CFinalEnlargeSide::OnButton(CWnd& dialog, int id)
{
    const CEnlargedViewFrame::Controls& ids = m_frame.Ids();
    if (id == ids.rulerButton)
        m_frame.RulerMode(dialog, m_pView);
    else if (id == ids.dragButton)
        m_frame.DragMode(dialog, m_pView);
    else if (id == ids.zoomInButton)
        m_frame.PixelZoom(dialog, m_pView, 1);
    else if (id == ids.zoomOutButton)
        m_frame.PixelZoom(dialog, m_pView, -1);
    else
        return false;
    return true;
}

bool CFinalEnlargeSide::OnScroll(CWnd& dialog, CScrollBar* bar, UINT code)
{
    return m_frame.PixelScroll(dialog, m_pView, bar, code, kPage);
}

void CFinalEnlargeSide::OnPanned(CWnd& dialog, WPARAM horizontal, LPARAM vertical)
{
    m_frame.PixelPanned(dialog, m_pView, static_cast<int>(horizontal), static_cast<int>(vertical));
}

CString CFinalEnlargeSide::FormatPackedReading(WPARAM packed)
{
    const unsigned milliseconds = LOWORD(packed);
    const unsigned microvolts = HIWORD(packed);
    CString text;
    text.Format(L"%d%s  %5.3f%s", static_cast<int>(milliseconds), L"[mS]", microvolts * 0.001, L"[mV]");
    return text;
}

void CFinalEnlargeSide::ShowReading(CWnd& dialog, WPARAM packed)
{
    dialog.SetDlgItemText(m_frame.Ids().readout, FormatPackedReading(packed));
}

CViewCAL* CFinalEnlargeSide::CreateCalibration(CWnd& dialog, const CRect& area, CFinalViewDoc* doc,
                                               _FINAL_ENLARGE_GRID* grid)
{
    // The column is ten millimetres wide: its width sets the scale of the beats beside it.
    grid->dPixelsPerMMX = std::max(0.1, area.Width() * (1.0 / kColumnMillimetres));
    grid->dPixelsPerMMY = grid->dPixelsPerMMX;
    grid->nRows = 120;
    if (doc && doc->GetDisplaySizeMode() == kPaperDisplayMode && doc->GetPixelPerMMX() > 0.0 &&
        doc->GetPixelPerMMY() > 0.0) {
        grid->dPixelsPerMMY = grid->dPixelsPerMMX * doc->GetPixelPerMMY() / doc->GetPixelPerMMX();
        grid->nRows = std::max(1, static_cast<int>(area.Height() / grid->dPixelsPerMMY));
    }
    auto* column = static_cast<CViewCAL*>(CEnlargedViewFrame::CreateAt(dialog, area, RUNTIME_CLASS(CViewCAL), doc));
    if (!column) return nullptr;
    column->SetCALArea(kColumnMillimetres, grid->nRows);
    column->SetCALCount(1);
    column->SetDialogCAL(TRUE);
    column->SendMessage(WM_INITIALUPDATE, 0, 0);
    return column;
}

CString CFinalEnlargeSide::Title(const CString& side, CFinalViewDoc* doc, int lead)
{
    CString name;
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (item && lead >= 0 && lead < LEAD_NAME_CODES) name = item->stLeadName.strDispName[lead];
    CString title;
    title.Format(L"%s    %s  %s", side.GetString(), L"导联", name.GetString());
    return title;
}

CString CFinalEnlargeSide::LoadTimeText(CFinalViewDoc* doc, int loadIndex)
{
    BYTE time[2] = {0, 0};
    _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    const int index = loadIndex == -2 && item ? item->nCurLoadIndex : loadIndex;
    if (item && item->pECGData && index >= 0 &&
        doc->ecgGetData(item->pECGData, kTagLoadTime, static_cast<UINT>(index), time, sizeof(time), ECG_DATA_RAW) <= 0) {
        time[0] = 0;
        time[1] = 0;
    }
    CString text;
    text.Format(L"負荷後 %d’%02d”", static_cast<int>(time[0]), static_cast<int>(time[1]));
    return text;
}
