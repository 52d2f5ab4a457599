// CViewRhythmWave: the mouse. A message passes the magnifier, the scale, the
// dividers and the calibration column before the annotation handling of the
// base; a double-click opens the pop-up of the clicked lead or strip.
#include <algorithm>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/ui/windowing/Input.h"
#include "waveviews/EnlargedRuler.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/WavePopups.h"

namespace {
bool IsAnnotationMode(const CTavrionDoc* doc)
{
    return doc && (doc->GetMouseMode() == 2 || doc->GetMouseMode() == 3);
}
// Annotation input of a document that may be edited goes to the base alone.
bool AnnotationTakesInput(const CTavrionDoc* doc) { return IsAnnotationMode(doc) && !doc->IsReadOnly(); }
}  // namespace

bool CViewRhythmWave::IsExtraLeadRecord() const
{
    if (m_nDocType == DOC_TYPE_EXTRA) return true;
    if (m_nDocType != DOC_TYPE_MFER) return false;
    const unsigned code = CurrentItem().GetSystemCode();
    return code == MFER_KIND_EXTRA3 || code == MFER_KIND_EXTRA4 || code == MFER_KIND_EXTRA6 ||
           code == MFER_KIND_EXTRA7 || (code >= MFER_KIND_FREEZE1 && code <= MFER_KIND_FREEZE6);
}

int CViewRhythmWave::ExaminationCode() const
{
    switch (m_nDocType) {
    case DOC_TYPE_REST: return 1;
    case DOC_TYPE_RHYTHM: return 2;
    case DOC_TYPE_RR: return 3;
    case DOC_TYPE_EXTRA: return 4;
    case DOC_TYPE_MFER: return 7;
    default: return 0;
    }
}

int CViewRhythmWave::PulseGroup(int x, const CSquares& s) const
{
    const int style = m_nWaveStyle;
    if (m_nDocType == DOC_TYPE_MFER && !HasCurrentItem()) return -1;
    if (IsSixPulseGroupStyle(style)) return 6;
    if (IsStripPulseGroupStyle(style)) return 2;
    const bool extra = IsExtraLeadRecord();
    if (IsOneColumnPulseStyle(style)) {
        if (extra) return m_bShowExtra1Lead ? 4 : 5;
        return m_bShowChestLead ? 0 : 1;
    }
    if (!IsTwoColumnPulseStyle(style)) return -1;
    const int half = MulDiv(s.w, 5, s.gridX);
    if (x < half) return extra ? 4 : 1;
    if (x < 2 * half) return extra ? 5 : 0;
    return -1;
}

// ---- the handlers ---------------------------------------------------------------------------------

void CViewRhythmWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    if (AnnotationTakesInput(doc)) {
        CWaveView::OnLButtonDown(nFlags, point);
        return;
    }
    const bool scaleTakesPresses = doc && (doc->GetMouseMode() == 1 || doc->IsReadOnly());
    if (scaleTakesPresses && PressScale(point)) {
        CWaveView::OnLButtonDown(nFlags, point);
        return;
    }
    CSquares s;
    if (!PressDivider(point) && doc && GetSquares(s) && point.x < MulDiv(s.w, 10, s.gridX)) {
        const int group = PulseGroup(point.x, s);
        if (group >= 0) doc->SendToNotifyWnd(WM_CAL_PULSE_CLICKED, ExaminationCode(), group);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewRhythmWave::OnMouseMove(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    auto finish = [&] {
        ShowEnlargedPreview(point);
        CWaveView::OnMouseMove(nFlags, point);
    };
    if (AnnotationTakesInput(doc)) return finish();
    if (!m_bShowFlag || !HasLead(0)) {
        SetCurrentCursor(g_hCursorMag);
        return finish();
    }
    if (m_nLeadGroups < 1) return finish();
    if (IsAnnotationMode(doc) || (!m_bDividerMode && m_nScaleStatus == RULER_STATUS_OFF) ||
        IsHalfWidthStyle(m_nWaveStyle)) {
        SetCurrentCursor(g_hCursorMag);
        return finish();
    }
    if (MoveScale(nFlags, point)) return finish();
    MoveDivider(point);
    if (m_nScaleStatus == RULER_STATUS_BOTH &&
        (m_rcScaleMark[0].PtInRect(point) || m_rcScaleMark[1].PtInRect(point)))
        SetCurrentCursor(g_hCursorHand);
    if (IsDraggingDivider() && GetCurrentCursor() != g_hCursorMag) Invalidate(FALSE);
    finish();
}

void CViewRhythmWave::OnLButtonUp(UINT nFlags, CPoint point)
{
    // The annotation modes press nothing here: a release there is the base's.
    if (!AnnotationTakesInput(GetTavrionDoc()) && m_nLeadGroups > 0 && m_bShowFlag && IsDraggingDivider())
        ReleaseDivider();
    CWaveView::OnLButtonUp(nFlags, point);
}

void CViewRhythmWave::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CSquares s;
    if (!AnnotationTakesInput(doc)) {
        if (!doc || !IsMeasuredKind() || !GetSquares(s)) return;
        const bool ownSize = doc->GetDisplaySizeMode() == 5;
        const double dotsX = ownSize ? doc->GetPixelPerMMX() : s.a;
        const double dotsY = ownSize ? doc->GetPixelPerMMY() : s.b;
        const int style = m_nWaveStyle;
        if (IsDividerPopupStyle(style)) {
            OpenDividerPopup();
        } else if (IsRowsPopupStyle(style)) {
            if (point.x >= MulDiv(s.w, 10, s.gridX) && HasLead(0)) {
                // A page without lead groups has no rows: the click is no one's.
                if (m_nLeadGroups < 1) return;
                OpenRhythmRowsPopup(point, s, dotsX, dotsY);
            }
        } else if (!IsWholeRecordStripStyle(style)) {
            int sample = 0;
            const int lead = GetClickLead(point, sample);
            if (lead < 0) return;
            OpenLeadPopup(lead, sample, dotsX, dotsY);
        }
    }
    CWaveView::OnLButtonDblClk(nFlags, point);
}

LRESULT CViewRhythmWave::OnMouseLeave(WPARAM, LPARAM)
{
    return m_magnifier.Leave();
}

// ---- the lead under a point ---------------------------------------------------------------------------

std::vector<int> CViewRhythmWave::ClickColumnLeads(int column) const
{
    const int style = m_nWaveStyle;
    std::vector<int> leads;
    auto maskedFrom = [&](int first) {
        const unsigned mask = static_cast<unsigned short>(LeadMask());
        for (int lead = first; lead < RHYTHM_VIEW_LEADS; ++lead)
            if (mask & (1u << lead)) leads.push_back(lead);
    };
    const bool chestSix = (style == 9 || style == 10) && m_bShowChestLead;
    if (IsLeadMaskStyle(style)) {
        maskedFrom(0);
    } else if (IsSixRowRestStyle(style) && IsFifteenLeadRecord() && (m_nRows * column >= 6 || chestSix)) {
        maskedFrom(6);
    } else {
        int first = m_nRows * column;
        if (m_bShowChestLead && IsChestPageStyle(style)) first += 6;
        if (IsShiftedExtraStyle(style) && IsExtraLeadRecord() && !m_bShowExtra1Lead) first += 3;
        for (int lead = first; lead < first + m_nRows && lead < RHYTHM_VIEW_LEADS; ++lead) leads.push_back(lead);
    }
    return leads;
}

void CViewRhythmWave::ClickCells(const CRect& area, CRect* cells) const
{
    int columns = m_nColumns;
    if (IsThreeRowChestPageStyle(m_nWaveStyle) && m_bShowChestLead && IsFifteenLeadRecord()) columns = 3;
    if (columns <= 0) return;
    const int width = area.Width();
    for (int c = 0; c < columns; ++c) {
        const std::vector<int> leads = ClickColumnLeads(c);
        const int left = area.left + width * c / columns;
        const int right = area.left + width * (c + 1) / columns;
        for (size_t i = 0; i < leads.size(); ++i) {
            const int lead = leads[i];
            // A cell reaches half way to the baselines of the leads above and below.
            const int* base = m_nScreenBaseline;
            const int top = i == 0 ? area.top : area.top + (base[leads[i - 1]] + base[lead]) / 2;
            const int bottom = i + 1 == leads.size() ? area.bottom : area.top + (base[lead] + base[leads[i + 1]]) / 2;
            cells[lead] = CRect(left, top, right, bottom);
        }
    }
}

int CViewRhythmWave::GetClickLead(CPoint point, int& sample)
{
    sample = 0;
    CSquares s;
    if (!GetSquares(s)) return -1;
    CRect client;
    GetClientRect(&client);
    CalAutoSensPos(client, s.gridY, 0);
    const CRect area(MulDiv(s.w, 10, s.gridX), client.top, client.right, client.bottom);
    if (!area.PtInRect(point)) return -1;
    const int kind = m_nDocType;
    if (kind != DOC_TYPE_REST && kind != DOC_TYPE_RHYTHM && kind != DOC_TYPE_EXTRA && kind != DOC_TYPE_MFER) return -1;
    const int style = m_nWaveStyle;
    if (!IsCellSampleStyle(style) && !IsAreaSampleStyle(style)) return -1;

    CRect cells[RHYTHM_VIEW_LEADS];
    ClickCells(area, cells);
    int lead = -1;
    for (int i = 0; i < RHYTHM_VIEW_LEADS && lead < 0; ++i)
        if (!cells[i].IsRectEmpty() && cells[i].PtInRect(point)) lead = i;
    if (lead < 0) return -1;

    // The record's sample under the click: the column's first sample (in
    // the continuous layouts each column goes on from the one before) and
    // the way across the cell, or across the whole area in the synchronous ones.
    const CRect span = IsAreaSampleStyle(style) ? area : cells[lead];
    int first = GetStartTime();
    if (IsContinuousRestStyle(style) || IsContinuousExtraStyle(style)) {
        const int column = span.Width() > 0 ? (span.left - area.left) / std::max(1, span.Width()) : 0;
        first += column * m_nSamplesPerColumn;
    }
    const int across = span.Width() > 0 ? MulDiv(point.x - span.left, m_nSamplesPerColumn, span.Width()) : 0;
    sample = first + across;
    return lead;
}

// ---- the pop-ups ----------------------------------------------------------------------------------

void CViewRhythmWave::RunStoredPopup(CDialog& popup)
{
    SetPopupOpen(1);
    const INT_PTR result = popup.DoModal();
    SetPopupOpen(0);
    if (result != IDOK) return;
    // The resting wave page places the dividers of its multi-lead view afresh
    // after the divider dialog; the grandparent hears of the confirmation.
    CWnd* parent = GetParent();
    const CWavePopups& popups = CWavePopups::Get();
    if (&popup == m_pDividerPopup.get() && parent && popups.dividerPaneView)
        if (CViewRhythmWave* paneView = popups.dividerPaneView(parent)) paneView->SetInitialDividerPos();
    CWnd* grandparent = parent ? parent->GetParent() : nullptr;
    if (grandparent) grandparent->SendMessage(WM_VIEW_RESULT, 0, 0);
}

void CViewRhythmWave::OpenDividerPopup()
{
    m_pDividerPopup.reset();
    CWavePopups& popups = CWavePopups::Get();
    if (!popups.makeDivider) return;
    CWavePopupRequest request;
    request.pDoc = GetTavrionDoc();
    request.nDocType = m_nDocType;
    request.nLead = m_nRhythm1LeadID;
    request.nCount = LeadCount(0);
    request.nSampleRate = m_nSampleRate;
    request.nSample = GetStartTime();
    m_pDividerPopup = popups.makeDivider(request);
    if (m_pDividerPopup) RunStoredPopup(*m_pDividerPopup);
}

void CViewRhythmWave::OpenRhythmRowsPopup(CPoint point, const CSquares& s, double dotsX, double dotsY)
{
    const int rowHeight = s.h / 6;
    const float speed = DrawnSpeed(0);
    const int calW = MulDiv(s.w, 10, s.gridX);
    const int width = s.w - calW;
    if (rowHeight <= 0 || !(speed > 0.0f) || width <= 0) return;
    // The page has six rows: the pixels left over below the sixth belong to it.
    const int row = std::min(point.y / rowHeight, 5);
    const int groups = m_nLeadGroups;
    const int rowSamples = static_cast<int>((s.gridX - 10) * static_cast<double>(m_nSampleRate) / speed);
    // The sample at or before the click, never the one after it.
    const int across = static_cast<int>(static_cast<long long>(point.x - calW) * rowSamples / width);
    int sample = (row / groups) * rowSamples + GetStartTime() + across;
    sample = std::min(sample, LeadCount(0));
    const int lead = groups == 1 ? m_nRhythmRowLead[0] : m_nRhythmRowLead[(row % groups) % 3];
    CWavePopups& popups = CWavePopups::Get();
    // A row without a lead has nothing to enlarge.
    if (lead < 0 || !popups.runEnlargedRhyRR) return;
    CWavePopupRequest request;
    request.pDoc = GetTavrionDoc();
    request.nDocType = m_nDocType;
    request.nSenseID = 6;
    request.nLead = lead;
    request.nSample = sample;
    request.nPageStart = 0;
    request.nCount = GetLeadSampleCount(lead);
    request.dDotsPerMMX = dotsX;
    request.dDotsPerMMY = dotsY;
    popups.runEnlargedRhyRR(request);
}

void CViewRhythmWave::OpenLeadPopup(int lead, int sample, double dotsX, double dotsY)
{
    const int style = m_nWaveStyle;
    CWavePopupRequest request;
    request.pDoc = GetTavrionDoc();
    request.nDocType = m_nDocType;
    request.nLead = lead;
    request.nSample = sample;
    request.nPageStart = GetStartTime();
    request.dDotsPerMMX = dotsX;
    request.dDotsPerMMY = dotsY;
    CWavePopups& popups = CWavePopups::Get();
    if (m_nDocType == DOC_TYPE_RHYTHM || IsExtraLeadRecord()) {
        request.nCount = GetLeadSampleCount(lead);
        if (m_nDocType == DOC_TYPE_RHYTHM) {
            const int leads = CurrentItem().Rhythm() ? CurrentItem().Rhythm()->nLeadCount : 0;
            request.nSenseID = (leads == 12 || leads == 15) && !IsLeadMaskStyle(style) ? (lead < 6 ? 1 : 0) : 6;
        } else if (IsTwoGroupExtraStyle(style) || IsShiftedExtraStyle(style)) {
            request.nSenseID = lead < 3 ? 4 : 5;
        } else {
            request.nSenseID = m_bShowExtra1Lead ? 4 : 5;
        }
        if (popups.runEnlargedRhyRR) popups.runEnlargedRhyRR(request);
        return;
    }
    m_pEnlargedPopup.reset();
    if (!popups.makeEnlargedWave) return;
    request.nCount = LeadCount(0);
    request.nSenseID = IsLeadMaskStyle(style) ? 6 : (lead < 6 ? 1 : 0);
    m_pEnlargedPopup = popups.makeEnlargedWave(request);
    if (m_pEnlargedPopup) RunStoredPopup(*m_pEnlargedPopup);
}

void CViewRhythmWave::HideAllPopupDlg(BOOL show)
{
    if (!IsPopupOpen()) return;
    CDialog* popup = m_pEnlargedPopup && m_pEnlargedPopup->GetSafeHwnd() ? m_pEnlargedPopup.get()
                     : m_pDividerPopup && m_pDividerPopup->GetSafeHwnd() ? m_pDividerPopup.get()
                                                                          : nullptr;
    if (popup) popup->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CViewRhythmWave::CloseAllPopupDlg()
{
    if (!IsPopupOpen()) return;
    CDialog* popup = m_pEnlargedPopup && m_pEnlargedPopup->GetSafeHwnd() ? m_pEnlargedPopup.get()
                     : m_pDividerPopup && m_pDividerPopup->GetSafeHwnd() ? m_pDividerPopup.get()
                                                                          : nullptr;
    if (popup) popup->SendMessage(WM_COMMAND, IDCANCEL, 0);
    SetPopupOpen(0);
}

// ---- the magnifier ----------------------------------------------------------------------------------

void CViewRhythmWave::PrepareMagnifier()
{
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* dc, const CRect& draw, float) {
        if (!HasLead(0)) return TRUE;
        int gridX = 0;
        int gridY = 0;
        GetGridCount(gridX, gridY);
        return DrawView(dc, draw, gridX, gridY, 0) ? TRUE : FALSE;
    };
    drawing.drawOverlays = [this](CDC* dc, const CRect& draw, float ratio) {
        CTavrionDoc* doc = GetTavrionDoc();
        if (doc && doc->GetMouseMode() == 1) {
            DrawDivider(dc, draw, ratio, TRUE);
            DrawScale(dc, draw, ratio);
        } else {
            DrawAnnotation(dc, draw, TRUE, ratio);
        }
    };
    // The overlays in use are drawn afresh at every move.
    drawing.canReuse = [this] {
        CTavrionDoc* doc = GetTavrionDoc();
        return doc && doc->GetMouseMode() == 1 && !m_bOn[0] && !m_bOn[1] && !m_bOn[2] &&
               m_nScaleStatus == RULER_STATUS_OFF;
    };
    CTavrionDoc* doc = GetTavrionDoc();
    drawing.pFont = IsScaleLessStyle(m_nWaveStyle) ? g_pDlgFontNormal : doc ? doc->GetDocFont(1) : nullptr;
    m_magnifier.SetDrawing(std::move(drawing));
}

void CViewRhythmWave::ShowEnlargedPreview(CPoint point)
{
    PrepareMagnifier();
    m_magnifier.Show(point);
}

int CViewRhythmWave::MoveEnlargedPreview(CPoint point)
{
    PrepareMagnifier();
    return m_magnifier.Move(point);
}

int CViewRhythmWave::RedrawEnlargedPreview(float ratio, CPoint point)
{
    PrepareMagnifier();
    return m_magnifier.Redraw(ratio, point);
}
