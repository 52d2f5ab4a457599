// The serial comparison's mouse: the calibration column's click, the scale
// marks placed and dragged, the calipers hovered and dragged, the lead under
// a point, and the record pop-up the pane runs.
#include <algorithm>

#include "core/Globals.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

const int kSixLeadStyle = 29;

}  // namespace

bool CViewSerialComRhy::InAnnotationMode() const
{
    return m_pBaseDoc && !m_pBaseDoc->GetAnnotationLock() &&
           (m_pBaseDoc->GetMouseMode() == 2 || m_pBaseDoc->GetMouseMode() == 3);
}

int CViewSerialComRhy::CaliperPartAt(int i, CPoint point, int reach) const
{
    if (i < 0 || i > 2) return -1;
    CRect client;
    GetClientRect(&client);
    const int t = MulDiv(client.Height(), 1, 36);
    for (int side = 0; side < 2; ++side) {
        const CRect& grip = m_rcGrip[i][side];
        if (point.x > grip.left && point.x < grip.right && point.y > grip.top - t - reach && point.y < grip.bottom + t)
            return side;
    }
    const CRect& handle = m_rcHandle[i];
    if (point.x > handle.left && point.x < handle.right && point.y > handle.top && point.y < handle.bottom) return 2;
    return -1;
}

void CViewSerialComRhy::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    if (InAnnotationMode()) {
        CWaveView::OnLButtonDown(nFlags, point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (m_pRestItem || m_pMferItem) {
        if (m_nScaleStatus == 0 || m_nScaleStatus == 1) {
            // The mark that followed the mouse stays where it is.
            ++m_nScaleStatus;
            Invalidate(FALSE);
            ShowEnlargedPreview(point);
            CWaveView::OnLButtonDown(nFlags, point);
            return;
        }
        if (m_nScaleStatus == 2) {
            int grabbed = -1;
            for (int i = 0; i < 2; ++i) {
                m_bScaleGrab[i] = m_rcScale[i].PtInRect(point);
                if (m_bScaleGrab[i]) grabbed = i;
            }
            SetRulerMarkRect(grabbed);
            Invalidate(FALSE);
            ShowEnlargedPreview(point);
            if (grabbed >= 0) {
                CWaveView::OnLButtonDown(nFlags, point);
                return;
            }
        }
    }
    for (BOOL& drag : m_bDivDrag) drag = FALSE;
    const int i = m_nSelectedDivider;
    bool dragging = false;
    if (m_nRows[1] > 0 && i >= 0 && i <= 2 && m_bShowDivider && m_bAnyDivCheck && m_bDivCheck[i]) {
        const int part = CaliperPartAt(i, point, MulDiv(client.Height(), m_nRows[0], 6));
        if (part >= 0) {
            CRect window;
            GetWindowRect(&window);
            ::ClipCursor(&window);
            SetCapture();
            m_bDivDrag[part] = TRUE;
            dragging = true;
        }
    }
    const bool inPulse = m_nGridColumns > 0 && point.x >= client.left &&
                         point.x < client.left + MulDiv(client.Width(), 10, m_nGridColumns);
    CWnd* notify = m_pBaseDoc ? m_pBaseDoc->GetNotifyWnd() : nullptr;
    if (!dragging && inPulse && m_nWaveStyle != 0 && notify && notify->GetSafeHwnd())
        notify->SendMessage(WM_CAL_PULSE_CLICKED, m_nDocType == DOC_TYPE_MFER ? 7 : 1, 3);
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewSerialComRhy::MoveScaleMark(int mark, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    point.x = std::max<int>(client.left + 1, std::min<int>(point.x, client.right - 2));
    point.y = std::max<int>(client.top + 1, std::min<int>(point.y, client.bottom - 2));
    SetScalePoint(mark, point);
}

void CViewSerialComRhy::DragCaliper(CPoint point)
{
    const int i = m_nSelectedDivider;
    CRect client;
    GetClientRect(&client);
    CRect& left = m_rcGrip[i][0];
    CRect& right = m_rcGrip[i][1];
    const int half = left.Width() / 2;
    if (m_bDivDrag[0]) {
        // A grip stops two pixels short of the other grip's centre.
        const int x = std::min<int>(point.x, right.CenterPoint().x - 2);
        left = CRect(x - half, left.top, x - half + left.Width(), left.bottom);
    } else if (m_bDivDrag[1]) {
        const int x = std::max<int>(point.x, left.CenterPoint().x + 2);
        right = CRect(x - half, right.top, x - half + right.Width(), right.bottom);
    } else if (m_bDivDrag[2]) {
        const int halfSpan = static_cast<int>(m_dHalfSpan[i]);
        const int gripHalf = left.Height() / 2;
        left = CRect(point.x - halfSpan - half, point.y - gripHalf, point.x - halfSpan - half + left.Width(),
                     point.y - gripHalf + left.Height());
        right = left;
        right.OffsetRect(2 * halfSpan, 0);
    }
    const int reach = MulDiv(client.Height(), 1, 36);
    m_rcHandle[i] = CRect(left.CenterPoint().x, right.bottom - reach, right.CenterPoint().x, right.bottom + reach);
    if (m_nGridColumns <= 0 || client.Width() <= 0) return;
    const double pxPerMm = static_cast<double>(client.Width()) / m_nGridColumns;
    const int distance = right.CenterPoint().x - left.CenterPoint().x;
    m_dHalfSpan[i] = distance / 2.0;
    m_dSpanMm[i] = distance / pxPerMm;
    m_dCentreX[i] = m_rcHandle[i].CenterPoint().x / pxPerMm;
    m_dCentreY[i] = left.CenterPoint().y / pxPerMm;
    const float speed = RecordDoc() ? Speed(FALSE) : 0.0f;
    // Without a speed the interval keeps its last reading.
    if (speed > 0.0f) {
        m_fDivSpeed[i] = speed;
        m_nDivInterval[i] = static_cast<int>(m_dSpanMm[i] / speed * 1000.0);
        if (GetParent()) GetParent()->SendMessage(WM_DIVIDER_DROPPED, m_nDivInterval[i], i);
    }
    Invalidate(FALSE);
}

void CViewSerialComRhy::OnMouseMove(UINT nFlags, CPoint point)
{
    if (InAnnotationMode()) {
        ShowEnlargedPreview(point);
        CWaveView::OnMouseMove(nFlags, point);
        return;
    }
    // The marks, the calipers and the magnifier belong to the measure tools:
    // while they are put away (or there is nothing to measure) the mouse only
    // shows where it is.
    if (!m_bShowDivider || LeadCount(0) <= 0) {
        SetCurrentCursor(g_hCursorMag);
        CWaveView::OnMouseMove(nFlags, point);
        return;
    }
    if (m_nRows[1] < 1) {
        CWaveView::OnMouseMove(nFlags, point);
        return;
    }
    if (!m_bAnyDivCheck && m_nScaleStatus == -1) {
        SetCurrentCursor(g_hCursorMag);
        ShowEnlargedPreview(point);
        CWaveView::OnMouseMove(nFlags, point);
        return;
    }
    // A scale mark following the mouse takes the move: the calipers under it
    // are neither hovered nor selected, since a click fixes the mark.
    bool markMoved = true;
    if (m_nScaleStatus == 0) {
        MoveScaleMark(0, point);
        MoveScaleMark(1, point);
    } else if (m_nScaleStatus == 1) {
        MoveScaleMark(1, point);
    } else if (m_nScaleStatus == 2 && (nFlags & MK_LBUTTON) && (m_bScaleGrab[0] || m_bScaleGrab[1])) {
        const int mark = m_bScaleGrab[0] ? 0 : 1;
        MoveScaleMark(mark, point);
        SetRulerMarkRect(mark);
    } else {
        markMoved = false;
    }
    if (markMoved) {
        Invalidate(FALSE);
        SetCurrentCursor(g_hCursorMag);
        ShowEnlargedPreview(point);
        CWaveView::OnMouseMove(nFlags, point);
        return;
    }
    if (m_bDivDrag[0] || m_bDivDrag[1] || m_bDivDrag[2]) {
        DragCaliper(point);
    } else {
        CRect client;
        GetClientRect(&client);
        HCURSOR cursor = m_pBaseDoc && m_pBaseDoc->GetMouseMode() == 2 ? g_hCursorDraw : g_hCursorMag;
        m_nSelectedDivider = 0;
        for (int i = 0; i < 3; ++i) {
            if (!m_bDivCheck[i]) continue;
            const int part = CaliperPartAt(i, point, MulDiv(client.Height(), m_nColumns[1], 6));
            if (part < 0) continue;
            m_nSelectedDivider = i;
            cursor = part == 2 ? g_hCursorHand : m_hDividerCursor;
            break;
        }
        SetCurrentCursor(cursor);
    }
    if (m_nScaleStatus == 2 && (m_rcScale[0].PtInRect(point) || m_rcScale[1].PtInRect(point)))
        SetCurrentCursor(g_hCursorHand);
    // The magnifier after the marks and calipers moved, so that it shows them where they are.
    ShowEnlargedPreview(point);
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewSerialComRhy::OnLButtonUp(UINT nFlags, CPoint point)
{
    const int mode = m_pBaseDoc ? m_pBaseDoc->GetMouseMode() : 0;
    const bool annotationTakes = m_pBaseDoc && !m_pBaseDoc->GetAnnotationLock() &&
                                 (mode == 2 || (mode == 3 && GetNotationManager().IsDragging()));
    if (!annotationTakes && m_nRows[1] > 0 && (m_bDivDrag[0] || m_bDivDrag[1] || m_bDivDrag[2])) {
        const bool handle = m_bDivDrag[2] != FALSE;
        for (BOOL& drag : m_bDivDrag) drag = FALSE;
        ReleaseCapture();
        ::ClipCursor(nullptr);
        Invalidate(FALSE);
        if (handle)
            SetCurrentCursor(g_hCursorHand);
        else if (LeadCount(0) > 0)
            SetCurrentCursor(m_hDividerCursor);
    }
    for (BOOL& grab : m_bScaleGrab) grab = FALSE;
    CWaveView::OnLButtonUp(nFlags, point);
}

// ---- the hover magnifier ------------------------------------------------------------------------------------

void CViewSerialComRhy::PrepareMagnifier()
{
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* dc, const CRect& draw, float) {
        m_dAmplitudeUnit = AmplitudeUnit();
        return DrawSerialComRhyView(dc, draw, m_nGridColumns, m_nGridRows, FALSE, FALSE);
    };
    // The clean copy comes back at every move: the calipers and the scale
    // (in measure mode), then the annotations go over it again.
    drawing.drawOverlays = [this](CDC* dc, const CRect& draw, float ratio) {
        CTavrionDoc* doc = RecordDoc();
        if (doc && doc->GetMouseMode() == 1) {
            if (m_bShowDivider && m_nRows[1] > 0) DrawDivider(dc, draw, ratio, TRUE);
            DrawScale(dc, draw, ratio);
        }
        DrawAnnotation(dc, draw, TRUE, ratio);
    };
    // Calipers and a scale in use change at every move: the picture is drawn again.
    drawing.canReuse = [this] {
        CTavrionDoc* doc = m_pRestItem ? static_cast<CTavrionDoc*>(m_pRestDoc) : m_pMferDoc;
        return doc && doc->GetMouseMode() == 1 && !m_bAnyDivCheck && m_nScaleStatus == -1;
    };
    drawing.showDocument = [this]() -> CTavrionDoc* {
        if (m_pRestItem) return m_pRestDoc;
        if (m_pMferItem) return m_pMferDoc;
        return nullptr;
    };
    drawing.drawDocument = [this] { return m_pBaseDoc; };
    drawing.dropsAlso = [this] { UpdateDrawDC(); };
    drawing.pFont = m_pBaseDoc ? m_pBaseDoc->GetDocFont(1) : nullptr;
    m_magnifier.SetDrawing(std::move(drawing));
}

void CViewSerialComRhy::ShowEnlargedPreview(CPoint point)
{
    if (!m_pRestItem && !m_pMferItem) return;
    PrepareMagnifier();
    m_magnifier.Show(point);
}

BOOL CViewSerialComRhy::MoveEnlargedPreview(CPoint point)
{
    PrepareMagnifier();
    return m_magnifier.Move(point);
}

BOOL CViewSerialComRhy::RedrawEnlargedPreview(float ratio, CPoint point)
{
    PrepareMagnifier();
    return m_magnifier.Redraw(ratio, point);
}

LRESULT CViewSerialComRhy::OnMouseLeave(WPARAM, LPARAM)
{
    return m_magnifier.Leave();
}

// ---- the lead under a point ----------------------------------------------------------------------------------

int CViewSerialComRhy::GetClickLead(CPoint point, int& sample)
{
    sample = 0;
    CRect client;
    GetClientRect(&client);
    if (m_nGridColumns <= 10 || m_nWaveStyle != kSixLeadStyle) return -1;
    CalAutoSensPos(&client, m_nGridRows, FALSE);
    CRect area = client;
    area.left += MulDiv(client.Width(), 10, m_nGridColumns);
    if (!area.PtInRect(point)) return -1;
    CTavrionDoc* doc = RecordDoc();
    const float speed = doc ? doc->GetSpeed() : 0.0f;
    const int columns = std::max(1, m_nColumns[0]);
    const int perRow =
        speed > 0.0f ? static_cast<int>((static_cast<float>(m_nSampleRate) * (m_nGridColumns - 10) / columns) / speed)
                     : 0;
    const int rows = m_nRows[1];
    for (int c = 0; c < columns; ++c) {
        const int left = area.left + area.Width() * c / columns;
        const int right = area.left + area.Width() * (c + 1) / columns;
        if (point.x < left || point.x >= right) continue;
        for (int r = 0; r < rows; ++r) {
            const int lead = SlotLead(r, c);
            if (lead < 0) continue;
            const int prevLead = r > 0 ? SlotLead(r - 1, c) : -1;
            const int nextLead = r + 1 < rows ? SlotLead(r + 1, c) : -1;
            const int top = prevLead < 0 ? client.top : client.top + (m_nScreenBaseline[prevLead] + m_nScreenBaseline[lead]) / 2;
            const int bottom = nextLead < 0 ? client.bottom
                                            : client.top + (m_nScreenBaseline[lead] + m_nScreenBaseline[nextLead]) / 2;
            if (point.y < top || point.y >= bottom) continue;
            // The sample under the click: measured from the band's left edge.
            sample = GetStartTime() + static_cast<int>(static_cast<long long>(perRow) * (point.x - left) /
                                                       std::max(1, right - left));
            return lead;
        }
    }
    return -1;
}

// ---- the record pop-up ---------------------------------------------------------------------------------------

namespace {

CViewSerialComRhy::PopupRunner g_popupRunner = nullptr;

}  // namespace

void CViewSerialComRhy::SetPopupRunner(PopupRunner runner)
{
    g_popupRunner = runner;
}

void CViewSerialComRhy::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (InAnnotationMode() || (!m_pRestItem && !m_pMferItem)) {
        CWaveView::OnLButtonDblClk(nFlags, point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    CSerialPopupRequest request;
    const bool stored = m_pBaseDoc && m_pBaseDoc->GetDisplaySizeMode() == 5;
    request.dDotsPerMMX = stored ? m_pBaseDoc->GetXScale() : static_cast<double>(client.Width()) / std::max(1, m_nGridColumns);
    request.dDotsPerMMY = stored ? m_pBaseDoc->GetYScale() : static_cast<double>(client.Height()) / std::max(1, m_nGridRows);
    int sample = 0;
    const int lead = GetClickLead(point, sample);
    if (lead < 0 || !g_popupRunner) return;
    CTavrionDoc* rest = m_pRestDoc;
    CTavrionDoc* mfer = m_pMferDoc;
    const int restIndex = rest ? rest->GetCurDataIndex() : -1;
    const int mferIndex = mfer ? mfer->GetCurDataIndex() : -1;
    m_pPopup.reset();
    request.pDoc = m_pRestItem ? rest : mfer;
    request.nDocType = m_pRestItem ? DOC_TYPE_REST : DOC_TYPE_MFER;
    request.pDoc->SetCurDataIndex(m_pRestItem ? m_pRestItem->nID : m_pMferItem->nID);
    request.pSerialDoc = RecordDoc();
    request.nLead = lead;
    request.nSample = sample;
    request.nPageStart = GetStartTime();
    request.nLength = LeadCount(0);
    SetPopupOpen(1);
    const int result = g_popupRunner(this, request, m_pPopup);
    if (result == IDOK && GetParent() && GetParent()->GetParent())
        GetParent()->GetParent()->SendMessage(WM_VIEW_RESULT, 0, 0);
    SetPopupOpen(0);
    if (rest) rest->SetCurDataIndex(restIndex);
    if (mfer) mfer->SetCurDataIndex(mferIndex);
    CWaveView::OnLButtonDblClk(nFlags, point);
}

void CViewSerialComRhy::HideAllPopupDlg(BOOL show)
{
    if (IsPopupOpen() && m_pPopup && m_pPopup->GetSafeHwnd()) m_pPopup->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CViewSerialComRhy::CloseAllPopupDlg()
{
    if (!IsPopupOpen() || !m_pPopup || !m_pPopup->GetSafeHwnd()) return;
    m_pPopup->SendMessage(WM_COMMAND, IDCANCEL, 0);
    SetPopupOpen(0);
}
