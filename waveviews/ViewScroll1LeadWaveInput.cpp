// The strip's window dragging, its magnifier picture and its printing.
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/MFERDataItem.h"
#include "documents/RhythmDataItem.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {

// Annotation input takes the mouse in these modes while the lock is clear.
bool AnnotationTakesMouse(CTavrionDoc* doc)
{
    return doc && !doc->GetAnnotationLock() && (doc->GetMouseMode() == 2 || doc->GetMouseMode() == 3);
}

}  // namespace

// ---- dragging -------------------------------------------------------------------------------

void CViewScroll1LeadWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    if (AnnotationTakesMouse(doc)) {
        CWaveView::OnLButtonDown(nFlags, point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int margin = Margin(client.Width());
    const int row = StripRowAt(point.y, client.Height(), m_nRowCount);
    const int p = (client.Width() - margin) * row + point.x;
    if (m_nWindowLeftX < p && p < m_nWindowRightX) {
        CRect confine = client;
        ClientToScreen(&confine);
        confine.DeflateRect(3, 3);
        ::ClipCursor(&confine);
        m_bDragging = TRUE;
    }
    // A strip of one row is a page of the paged view, whose handling answers a
    // press on its calibration pulse; wrapped rows only take the base's.
    if (m_nRowCount > 1)
        CWaveView::OnLButtonDown(nFlags, point);
    else
        CViewRhythmWave::OnLButtonDown(nFlags, point);
}

void CViewScroll1LeadWave::OnMouseMove(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (AnnotationTakesMouse(doc)) {
        m_magnifier.Show(point);
        CWaveView::OnMouseMove(nFlags, point);
        ::SetCursor(GetCurrentCursor());
        return;
    }
    if (!m_bDragging) m_magnifier.Show(point);
    CRect client;
    GetClientRect(&client);
    const int margin = Margin(client.Width());
    const int s = client.Width() - margin;
    if (point.x < margin) point.x = margin;
    const CStripGeometry g = Geometry(s, Get1LeadWaveSpeed(FALSE), m_nGridColumns);
    m_nLastStripX = TrackStripMouse(*this, g, point, margin, client.Height(), m_nRowCount, LeadCount(0),
                                    m_nWindowLength, m_nLastStripX, m_bDragging);
    ::SetCursor(GetCurrentCursor());
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewScroll1LeadWave::OnLButtonUp(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int mode = doc ? doc->GetMouseMode() : 0;
    if (doc && !doc->GetAnnotationLock() && (mode == 2 || (mode == 3 && GetNotationManager().IsDragging()))) {
        CWaveView::OnLButtonUp(nFlags, point);
        return;
    }
    if (m_bDragging) {
        CRect client;
        GetClientRect(&client);
        EndStripDrag(*this, point, Margin(client.Width()), LeadCount(0), m_nWindowLength);
        m_bDragging = FALSE;
        // The pane hears of every drag, one that ends where it began too.
        NotifyPageStart();
        if (mode == 2 || mode == 3) Invalidate(FALSE);
        m_magnifier.DropCache();
        m_magnifier.Show(point);
    }
    ::SetCursor(GetCurrentCursor());
    CWaveView::OnLButtonUp(nFlags, point);
}

void CViewScroll1LeadWave::OnMouseLeave()
{
    m_magnifier.Leave();
}

// ---- the magnifier's picture -------------------------------------------------------------------

BOOL CViewScroll1LeadWave::DrawMagnified(CDC* pDC, const CRect& draw, float /*ratio*/)
{
    const int margin = Margin(draw.Width());
    const CRect pulse(draw.left, draw.top, draw.left + margin, draw.bottom);
    if (!IsWholeRecordStripStyle(m_nWaveStyle)) {
        PlaceOneRow(pulse, m_nGridRows, FALSE);
        DrawRestCAL(pDC, pulse, m_nGridColumns, m_nGridRows, FALSE);
    }
    // The screen's baseline is in client pixels: the magnified row keeps the middle.
    const int kept = GetScreenBaseline(0);
    SetScreenBaseline(0, draw.Height() / 2);
    const BOOL drawn = DrawScorllView(pDC, CRect(draw.left + margin + 1, draw.top, draw.right, draw.bottom), FALSE, TRUE);
    SetScreenBaseline(0, kept);
    return drawn;
}

// ---- printing ------------------------------------------------------------------------------------

bool CViewScroll1LeadWave::IsLongRhythmRecord() const
{
    const CWaveItemRef item = CurrentItem();
    if (m_nDocType == DOC_TYPE_RHYTHM && item.Rhythm()) {
        const unsigned low = item.GetSystemCode() & 0xFF;
        return low == 38 || low == 218 || low == 217;
    }
    if (m_nDocType == DOC_TYPE_MFER && item.Mfer()) return item.Mfer()->bRhythmRecording != 0;
    return false;
}

BOOL CViewScroll1LeadWave::Print(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double pxPerMm, int /*unused*/)
{
    if (!pDC || !pDC->GetDC() || !GetTavrionDoc() || widthMm <= 10 || heightMm <= 0) return FALSE;
    // Black text for the strip, and the report's context back as it was.
    CDCStateSaver saver(*pDC->GetDC());
    pDC->SetTextColor(RGB(0, 0, 0));
    SetPrintScale(pxPerMm);
    const int saved = GetStartTime();
    CWaveView::SetStartTime(0);
    const int h = static_cast<int>(heightMm * pxPerMm);
    m_nPrintBaseline[0] = h / 2;
    ApplyStripSense();
    if (!IsLongRecord()) CalAutoSensPos(rect, heightMm, TRUE);
    BOOL printed;
    if (!IsLongRhythmRecord()) {
        if (m_nDocType == DOC_TYPE_REST) CalAutoSensPos(rect, heightMm, TRUE);
        // The page drawing also draws the duration marks of SetDurationMarkInfo,
        // on the strip's own bottom, not on that of a page printed before.
        const int bottom = GetCurPrintBottom();
        SetCurPrintBottom(rect.top + static_cast<int>(heightMm * pxPerMm));
        printed = CViewRhythmWave::Print(pDC, rect, widthMm, heightMm, pxPerMm, 0, 0, 1) == 1;
        SetCurPrintBottom(bottom);
    } else {
        printed = PrintRows(pDC, rect, widthMm, heightMm);
    }
    CWaveView::SetStartTime(saved);
    return printed;
}

BOOL CViewScroll1LeadWave::PrintRows(CECGDC* pDC, CRect rect, int widthMm, int heightMm)
{
    CDC& dc = *pDC->GetDC();
    CTavrionDoc* doc = GetTavrionDoc();
    if (!IsWholeRecordStripStyle(m_nWaveStyle))
        DrawRestCAL(&dc, CRect(rect.left, rect.top, rect.left + MulDiv(rect.Width(), 10, widthMm), rect.bottom),
                    widthMm, heightMm, TRUE);
    const int n = LeadCount(0);
    const float speed = Get1LeadWaveSpeed(TRUE);
    if (!HasLead(0) || speed <= 0.0f || m_nSampleRate <= 0) return TRUE;
    m_dAmplitudeUnit = RecordAmplitudeUnit();
    const int stripLeft = rect.left + MulDiv(rect.Width(), 10, widthMm - 10);
    const int perRow = static_cast<int>((widthMm - 10) / speed * m_nSampleRate);
    if (perRow <= 0) return TRUE;
    const int rows = IsWholeRecordStripStyle(m_nWaveStyle) ? 1 : (n + perRow - 1) / perRow;
    const int height = rect.Height();
    const int oneMv = static_cast<int>(height * doc->GetSense(2, 0) / heightMm);
    // Each row's zero line lies within its own band, as on the screen: one
    // row where the strip's baseline was placed (the middle, or where auto
    // gain put it), several in the middle of their bands. Five millimetres
    // under the top edge, the beats of a record short enough to keep its
    // full gain rose out of the strip into the page printed above it.
    const int oneRowBaseline = Baselines(TRUE)[0] > 0 ? Baselines(TRUE)[0] : height / 2;
    for (int k = 0; k < rows && k * perRow < n; ++k) {
        const int y = rows == 1 ? rect.top + oneRowBaseline : rect.top + (2 * k + 1) * height / rows / 2;
        const int count = std::min(perRow, n - k * perRow);
        const int right = count < perRow ? stripLeft + (rect.right - stripLeft) * count / perRow : rect.right;
        if (!DrawWave(&dc, CRect(stripLeft, y, right, y + oneMv), m_dAmplitudeUnit * 0.001, LeadData(0) + k * perRow,
                      count, TRUE, -1))
            return FALSE;
    }
    const int fiveMm = 5 * height / heightMm;
    DrawWaveInfo(&dc, CRect(stripLeft, rect.top - fiveMm, rect.right, rect.bottom), FALSE, TRUE);
    return TRUE;
}
