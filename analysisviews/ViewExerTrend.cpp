// CViewExerTrend: construction, layout, coordinate mapping, painting,
// printing, time picking and double-clicks.
#include "analysisviews/ViewExerTrend.h"

#include <cmath>

#include "core/Globals.h"
#include "core/UserMessages.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewExerTrend, CView)

BEGIN_MESSAGE_MAP(CViewExerTrend, CView)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const int kStepSeconds = 15;
const int kPageBlocks = 4;    // time picking snapped to the average blocks
const int kPageStrips = 5;    // time picking snapped to the stored strips
// The document's font for the graph's texts: its small text font.
const int kLabelFont = 3;

}  // namespace

CViewExerTrend::CViewExerTrend() = default;

CViewExerTrend::~CViewExerTrend() = default;

CExerViewDoc* CViewExerTrend::GetExerDoc() const
{
    return DYNAMIC_DOWNCAST(CExerViewDoc, m_pDocument);
}

_EXERDATAITEM* CViewExerTrend::CurrentItem() const
{
    CExerViewDoc* doc = GetExerDoc();
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

void CViewExerTrend::UpdateInformation()
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    const int interval = item->nBlockInterval > 0 ? item->nBlockInterval : kStepSeconds;
    const int blocks = item->nExerAveCount + item->nPostAveCount + 1;
    m_nTimeSpan = blocks < 900 / interval ? 15 : blocks < 1800 / interval ? 30 : 60;
    m_dRecoveryStart = item->nExerTime;
}

void CViewExerTrend::Layout(const CRect& area)
{
    m_nAreaWidth = area.Width() - 1;
    m_nAreaHeight = area.Height();
    m_dCellHeight = m_nAreaHeight / 14.0;
    m_dCellWidth = m_nAreaWidth / 7.0;
    m_dPlotWidth = 6 * m_dCellWidth;
    m_dPlotHeight = 10 * m_dCellHeight;
    m_dPlotLeft = m_nAreaX + m_dCellWidth * 5 / 7;
    m_dPlotRight = m_dPlotLeft + m_dPlotWidth;
    m_dPlotTop = m_nAreaY + 2 * m_dCellHeight;
}

// ---- coordinate mapping ------------------------------------------------------------------

int CViewExerTrend::TimeToXPoint(double steps) const
{
    // Before the first update, or in a window one pixel wide, every time
    // lies at the plot's left edge.
    if (m_nTimeSpan <= 0 || m_dPlotWidth <= 0) return static_cast<int>(m_dPlotLeft);
    return static_cast<int>(steps * m_dPlotWidth / (m_nTimeSpan * 4) + m_dPlotLeft + 0.5);
}

int CViewExerTrend::XPointToTime(double x) const
{
    if (m_nTimeSpan <= 0 || m_dPlotWidth <= 0) return 0;
    return static_cast<int>((x - m_dPlotLeft) / m_dPlotWidth * m_nTimeSpan * 60);
}

int CViewExerTrend::BpmToXPoint(double bpm) const
{
    return static_cast<int>(bpm * m_dPlotWidth * 0.004 + m_dPlotLeft);
}

int CViewExerTrend::ValueToYPoint(double value) const
{
    const double H = m_dPlotHeight;
    const double M = m_nScaleMax;
    const double D = m_nDivisor;
    switch (DrawingStyle()) {
    case 1: case 2: case 4: case 5: case 6: case 8: case 18:
        return M * D != 0 ? static_cast<int>(m_dPlotTop + H - value * H / (M * D)) : static_cast<int>(m_dPlotTop + H);
    case 3: return M != 0 ? static_cast<int>(m_dPlotTop + H - value * H * 0.001 / M) : static_cast<int>(m_dPlotTop + H);
    case 7: return static_cast<int>(m_dPlotTop + H - value * H * 0.004);
    case 9:
        return M * D != 0 ? static_cast<int>(m_dPlotTop + H - value * H / (M * D) - 0.5)
                          : static_cast<int>(m_dPlotTop + H);
    case 10: case 11: case 12: case 13: case 14: case 15: case 16: case 17: {
        if (M == 0) return static_cast<int>(m_dPlotTop + H * 0.5);
        const int upper = static_cast<int>(m_dPlotTop - value * H / (M * 10));
        return static_cast<int>(upper + H * 0.5);
    }
    default: return 0;
    }
}

int CViewExerTrend::ValueToYPoint2(double value) const
{
    return m_nScaleMax ? static_cast<int>(m_dPlotTop + m_dPlotHeight - value * m_dPlotHeight / m_nScaleMax)
                       : static_cast<int>(m_dPlotTop + m_dPlotHeight);
}

// ---- painting and printing -------------------------------------------------------------------

void CViewExerTrend::SetScreenPens()
{
    m_pLabelPen = g_pPenDark;
    m_pGridPen = g_pPenDkDot;
    m_pFramePen = g_pPenDKGray;
    m_pCurvePen = g_pPenBlue;
    m_pMarkerPen = g_pPenSlRed;
    m_pSecondPen = g_pPenGreen;
    m_pFilledBrush = g_pBrushBlack;
    m_pOpenBrush = g_pBrushWhite;
}

void CViewExerTrend::SetPrintPens()
{
    m_pLabelPen = g_pPenSemiBold;
    m_pGridPen = g_pPenDkDot;
    m_pFramePen = g_pPenBold;
    m_pCurvePen = g_pPenSemiBold;
    m_pMarkerPen = g_pPenSemiBold;
    m_pSecondPen = g_pPenSemiBold;
    m_pFilledBrush = g_pBrushBlack;
    m_pOpenBrush = g_pBrushWhite;
}

void CViewExerTrend::OnDraw(CDC* pDC)
{
    SetScreenPens();
    m_bPrinting = 0;
    CRect client;
    GetClientRect(&client);
    m_nAreaX = 1;
    m_nAreaY = 2;
    Layout(client);
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    CExerViewDoc* doc = GetExerDoc();
    font.Select(doc ? doc->GetDocFont(kLabelFont) : nullptr);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkMode(TRANSPARENT);
    CDCObjectSelector<CPen> grid(*pDC, m_pGridPen);
    DrawStyle(pDC);
}

int CViewExerTrend::Print(CECGDC* pDC, CRect* pRect)
{
    if (!pDC || !pDC->GetDC() || !pRect) return 0;
    CDC* dc = pDC->GetDC();
    m_nAreaX = pRect->left;
    m_nAreaY = pRect->top;
    Layout(*pRect);
    SetPrintPens();
    m_bPrinting = 1;
    CDCStateSaver saver(*dc);
    dc->SetBkMode(TRANSPARENT);
    DrawStyle(dc);
    return 1;
}

void CViewExerTrend::DrawStyle(CDC* pDC)
{
    switch (DrawingStyle()) {
    case 1: DrawHRTrend(pDC); break;
    case 2: DrawBPTrend(pDC); break;
    case 3: DrawDPTrend(pDC); break;
    case 4: DrawSpeedTrend(pDC); break;
    case 5: DrawElevationTrend(pDC); break;
    case 6: DrawLoadTrend(pDC); break;
    case 7: DrawMETsHRTrend(pDC); break;
    case 8: DrawKcalTrend(pDC); break;
    case 9: DrawMTESTrend(pDC); break;
    case 10: case 12: case 14: DrawSTLTrend(pDC); break;
    case 11: case 13: case 15: DrawSTHRTrend(pDC); break;
    case 16: DrawSTSlopeTrend(pDC); break;
    case 17: DrawSTIndexTrend(pDC); break;
    case 18: DrawRAmplitudeTrend(pDC); break;
    default: break;
    }
}

int CViewExerTrend::PrintFactorX(CDC* pDC) const
{
    return m_bPrinting ? MulDiv(pDC->GetDeviceCaps(PHYSICALWIDTH), 1, 1020) : 1;
}

int CViewExerTrend::PrintFactorY(CDC* pDC) const
{
    return m_bPrinting ? MulDiv(pDC->GetDeviceCaps(PHYSICALHEIGHT), 1, 664) : 1;
}

double CViewExerTrend::DotScale(CDC* pDC) const
{
    if (m_bPrinting) return PrintFactorX(pDC);
    CExerViewDoc* doc = GetExerDoc();
    return doc ? doc->GetXScale() : 1.0;
}

// ---- the mouse ----------------------------------------------------------------------------

void CViewExerTrend::SendToPane(UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* frame = GetParent();
    CWnd* pane = frame ? frame->GetParent() : nullptr;
    if (pane) pane->SendMessage(message, wParam, lParam);
}

bool CViewExerTrend::PickTime(const _EXERDATAITEM& item, int x, int& seconds)
{
    CExerViewDoc* doc = GetExerDoc();
    const int page = doc->GetPageStyle();
    if (page != kPageBlocks && page != kPageStrips) return false;
    const double leftmost = m_dPlotLeft + 1;
    const double clicked = x < leftmost ? leftmost : x;
    seconds = XPointToTime(clicked);
    if (page == kPageBlocks) {
        const int interval = item.nBlockInterval > 0 ? item.nBlockInterval : kStepSeconds;
        if (x > TimeToXPoint(item.nEndTime / kStepSeconds))
            seconds = item.nEndTime;
        else
            seconds -= seconds % interval;
        return true;
    }
    const INT_PTR strips = item.arrMemTime.GetSize();
    if (strips == 0) {
        seconds = 0;
        return true;
    }
    const int last = item.arrMemTime[strips - 1];
    seconds = x > TimeToXPoint(last / kStepSeconds) ? last : doc->GetNearestMemTime(seconds);
    return true;
}

void CViewExerTrend::OnLButtonUp(UINT nFlags, CPoint point)
{
    _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    int seconds = 0;
    // Before the first layout there is no time axis to pick from.
    const bool axis = m_nTimeSpan > 0 && m_dPlotWidth > 0;
    if (axis && PickTime(*item, point.x, seconds)) {
        item->nCurTime = seconds;
        SendToPane(WM_EXER_TIME_PICKED, 0, 0);
        SendToPane(WM_VIEW_RESULT, 0, 0);
    }
    CView::OnLButtonUp(nFlags, point);
}

void CViewExerTrend::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    switch (m_nParentType) {
    case 3:
        if (m_nTrendStyle == 7 || m_nTrendStyle == 11) return;
        SendToPane(WM_EXER_TREND_OPEN, static_cast<WPARAM>(m_nTrendStyle), m_nLeadID);
        break;
    case 2: SendToPane(WM_EXER_TREND_OPEN_BESIDE, static_cast<WPARAM>(m_nTrendStyle), m_nLeadID); break;
    case 1: SendToPane(WM_EXER_SUMMARY_OPEN, 6, 0); break;
    default: break;
    }
    CView::OnLButtonDblClk(nFlags, point);
}

BOOL CViewExerTrend::OnSetCursor(CWnd*, UINT, UINT)
{
    CExerViewDoc* doc = GetExerDoc();
    const int page = doc ? doc->GetPageStyle() : 0;
    if (page == kPageBlocks || page == kPageStrips) {
        ::SetCursor(g_hCursorHand);
        return TRUE;
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return FALSE;
}

BOOL CViewExerTrend::OnEraseBkgnd(CDC* pDC)
{
    CRect box;
    pDC->GetClipBox(&box);
    CExerViewDoc* doc = GetExerDoc();
    pDC->FillSolidRect(&box, doc ? doc->GetWaveColor(20, 0) : RGB(255, 255, 255));
    return TRUE;
}
