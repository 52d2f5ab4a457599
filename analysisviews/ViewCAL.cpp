// CViewCAL: the calibration column on screen, in the magnifier and on paper.
#include "analysisviews/ViewCAL.h"

#include "core/TavrionDoc.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/Message.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewCAL, CWaveView)

BEGIN_MESSAGE_MAP(CViewCAL, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

const UINT WM_SENSE_REQUEST = WM_USER + 0xF;
const int kColumnMm = 10;   // the printed column's width
const int kBlockMm = 5;     // the printed column is made of whole blocks

}  // namespace

CViewCAL::CViewCAL() : m_magnifier(*this)
{
    SetDocType(DOC_TYPE_FINAL);
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* pDC, const CRect& draw, float) {
        DrawScreenPulses(pDC, draw);
        return TRUE;
    };
    drawing.drawOverlays = [](CDC*, const CRect&, float) {};   // the column carries no annotations
    drawing.bTextSetup = FALSE;
    m_magnifier.SetDrawing(std::move(drawing));
}

CViewCAL::~CViewCAL() = default;

int CViewCAL::CollapsedCount(int count, float sense, BOOL screen)
{
    if (count <= 0) return 0;
    if (count == 6 && sense > 10.0f) return 1;
    if ((screen ? count >= 3 : count == 3) && sense > 20.0f) return 1;
    if (screen && sense == 40.0f) return 1;
    return count;
}

void CViewCAL::OnUpdate(CView*, LPARAM, CObject*)
{
    m_magnifier.DropCache();
}

// ---- screen ---------------------------------------------------------------------------------

void CViewCAL::OnDraw(CDC* pDC)
{
    CWaveView::OnDraw(pDC);
    CRect client;
    GetClientRect(&client);
    DrawScreenPulses(pDC, client);
}

void CViewCAL::DrawScreenPulses(CDC* pDC, const CRect& rect)
{
    CTavrionDoc* doc = GetTavrionDoc();
    // Until the pane gives the paper its squares a pulse has no height.
    if (!doc || m_nCALCount <= 0 || m_nGridRows <= 0) return;
    const float sense = doc->GetCommonSense(0);
    int height = static_cast<int>(sense * rect.Height() / m_nGridRows);
    const int count = CollapsedCount(m_nCALCount, sense, TRUE);
    const int x = rect.left + ::MulDiv(rect.Width(), 2, 10);
    const int width = ::MulDiv(rect.Width(), 6, 10);
    const int row = rect.Height() / count;
    for (int k = 0; k < count; ++k) DrawCAL(pDC, x, rect.top + row / 2 + k * row, width, &height, FALSE, FALSE);
}

// ---- paper ----------------------------------------------------------------------------------

BOOL CViewCAL::Print(CDC*, CRect, int, int)
{
    return TRUE;
}

int CViewCAL::PrintColumn(CECGDC* pDC, CRect* pRect, double pxPerMm, int grid)
{
    const int heightMm = pxPerMm > 0.0 ? static_cast<int>(pRect->Height() / pxPerMm) : 0;
    const int h5 = heightMm / kBlockMm * kBlockMm;
    PrintWaveGrid(pDC, *pRect, kColumnMm, h5, pxPerMm, grid, m_bDrawFrame, FALSE);
    if (!GetTavrionDoc()) return -1;
    const CRect column(pRect->left, pRect->top, pRect->left + static_cast<int>(kColumnMm * pxPerMm),
                       pRect->top + static_cast<int>(kBlockMm * pxPerMm) * h5 / kBlockMm);
    *pRect = column;
    return h5;
}

void CViewCAL::DrawPrintedPulse(CDC* pDC, const CRect& rect, int y, int height)
{
    DrawCAL(pDC, rect.left + ::MulDiv(rect.Width(), 2, 10), y, ::MulDiv(rect.Width(), 6, 10), &height, FALSE, TRUE);
}

BOOL CViewCAL::Print(CECGDC* pDC, CRect* pRect, double pxPerMm, int grid)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc || !pRect) return FALSE;
    const int h5 = PrintColumn(pDC, pRect, pxPerMm, grid);
    // A column under 5 mm has its grid but no room for a pulse.
    if (h5 <= 0) return TRUE;
    const CRect& rect = *pRect;
    const float sense = GetTavrionDoc()->GetSense(static_cast<UINT>(m_nSenseID), 0);
    const int height = static_cast<int>(sense * rect.Height() / h5);
    const int count = CollapsedCount(m_nCALCount, sense, FALSE);
    if (count <= 0) return TRUE;
    const int row = rect.Height() / count;
    for (int k = 0; k < count; ++k) DrawPrintedPulse(dc, rect, rect.top + row / 2 + k * row, height);
    return TRUE;
}

BOOL CViewCAL::PrintCal(CECGDC* pDC, CRect* pRect, double pxPerMm, int grid)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc || !pRect) return FALSE;
    const int h5 = PrintColumn(pDC, pRect, pxPerMm, grid);
    if (h5 <= 0) return TRUE;
    const CRect& rect = *pRect;
    const float sense = GetTavrionDoc()->GetCommonSense(0);
    // The enlarge times multiply the pulse; times of 0, or more than the
    // column's millimetres, leave no height to divide by: grid only.
    const int enlargedMm = m_nEnlargeTimes > 0 ? h5 / m_nEnlargeTimes : 0;
    if (enlargedMm <= 0) return TRUE;
    const int height = static_cast<int>(sense * rect.Height() / enlargedMm);
    const auto mm = [&](int millimetres) { return ::MulDiv(rect.Height(), millimetres, h5); };
    if ((m_nCALCount == 6 && sense > 10.0f) || (m_nCALCount == 3 && sense > 20.0f)) {
        DrawPrintedPulse(dc, rect, rect.top + rect.Height() / 2, height);
        return TRUE;
    }
    // The pulses above the last stand from 15 mm down at equal steps; a
    // count of 1 has none of them, only the last.
    if (m_nCALCount >= 2) {
        const int step = (h5 - 75) / (m_nCALCount - 1) + 10;
        for (int k = 0; k < m_nCALCount - 1; ++k) DrawPrintedPulse(dc, rect, rect.top + mm(15 + k * step), height);
    }
    DrawPrintedPulse(dc, rect, rect.bottom - mm(10), height);
    return TRUE;
}

// ---- the mouse ------------------------------------------------------------------------------

void CViewCAL::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bDialogCAL) {
        CView::OnLButtonDown(nFlags, point);
        return;
    }
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && (m_nDocType == DOC_TYPE_REST || m_nDocType == DOC_TYPE_FINAL)) {
        doc->SendToNotifyWnd(WM_SENSE_REQUEST, m_nDocType == DOC_TYPE_REST ? 1 : 6, 6);
        CView::OnLButtonDown(nFlags, point);
        return;
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

BOOL CViewCAL::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

void CViewCAL::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bDialogCAL) ShowEnlargedPreview(point);
    CView::OnMouseMove(nFlags, point);
}

void CViewCAL::OnMouseLeave()
{
    m_magnifier.Leave();
}
