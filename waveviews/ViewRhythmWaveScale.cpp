// CViewRhythmWave: the two-point scale of the measure mode. The first press
// fixes the first point, the second press the second; afterwards either
// point can be grabbed and dragged, with four ruler marks around it. The
// reading gives the time between the points at the speed the traces are
// drawn at (a one-lead strip's own) and the amplitude at the gain the trace
// under the first point is drawn at.
#include <algorithm>
#include <cstdlib>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "waveviews/EnlargedRuler.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"

namespace {
int Trunc(double value) { return static_cast<int>(value); }
}  // namespace

bool CViewRhythmWave::IsMeasuredKind() const
{
    const int kind = m_nDocType;
    return kind == DOC_TYPE_REST || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_RR || kind == DOC_TYPE_EXTRA ||
           kind == DOC_TYPE_MFER;
}

void CViewRhythmWave::SetScaleClear()
{
    CTavrionDoc* doc = GetTavrionDoc();
    m_nScaleStatus = doc && doc->GetScaleShow() ? RULER_STATUS_ARMED : RULER_STATUS_OFF;
    for (int point = 0; point < 2; ++point) {
        m_ptMouse[point] = CPoint(0, 0);
        m_rcScaleMark[point] = m_rcEnlargedMark[point] = CRect(0, 0, 0, 0);
        m_bGrabbed[point] = FALSE;
        m_ptScaleSquares[point] = CPoint(0, 0);
    }
    for (CRect& mark : m_rcRulerMark) mark = CRect(0, 0, 0, 0);
    m_nSelectedRulerMark = -1;
    m_nScaleMilliseconds = 0;
    m_nScaleMicrovolts = 0;
}

void CViewRhythmWave::ShowScale(BOOL show)
{
    SetScaleClear();
    if (!show) m_nScaleStatus = RULER_STATUS_OFF;
    SetCurrentCursor(g_hCursorMag);
}

BOOL CViewRhythmWave::IsDrawScale()
{
    return IsMeasuredKind() && HasMeasuringTools(true) && !IsScaleLessStyle(m_nWaveStyle);
}

namespace {
// The four corner squares of a mark rectangle.
void RulerMarksOf(const CRect& m, CRect* marks)
{
    marks[0] = CRect(2 * m.left - m.right, 2 * m.top - m.bottom, m.left, m.top);
    marks[1] = CRect(m.right, 2 * m.top - m.bottom, 2 * m.right - m.left, m.top);
    marks[2] = CRect(m.left, m.bottom, 2 * m.left - m.right, 2 * m.bottom - m.top);
    marks[3] = CRect(m.right, m.bottom, 2 * m.right - m.left, 2 * m.bottom - m.top);
}
}  // namespace

void CViewRhythmWave::SetRulerMarkRect(int point)
{
    if (point < 0 || point > 1) {
        for (CRect& mark : m_rcRulerMark) mark = CRect(0, 0, 0, 0);
        m_nSelectedRulerMark = -1;
        return;
    }
    RulerMarksOf(m_rcScaleMark[point], m_rcRulerMark);
    m_nSelectedRulerMark = point;
}

void CViewRhythmWave::DrawRulerMark(CDC* pDC, BOOL enlarged)
{
    CRect marks[4];
    const int selected = m_nSelectedRulerMark;
    if (!enlarged)
        std::copy(m_rcRulerMark, m_rcRulerMark + 4, marks);
    else if (selected == 0 || selected == 1)
        RulerMarksOf(m_rcEnlargedMark[selected], marks);
    for (const CRect& mark : marks)
        if (!mark.IsRectNull()) pDC->Rectangle(&mark);
}

int CViewRhythmWave::ScaleSideLine(int calW, int w) const
{
    const int style = m_nWaveStyle;
    if (style == 1 || style == 3) return IsFifteenLeadRecord() ? calW + (w - calW) * 2 / 5 : (calW + w) / 2;
    if (style == 5 || style == 7 || IsTwoGroupExtraStyle(style)) return (calW + w) / 2;
    return -1;
}

float CViewRhythmWave::ScaleSense(CString& label) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    CSquares s;
    if (!doc || !GetSquares(s)) return 0.0f;
    const int style = m_nWaveStyle;
    const int side = ScaleSideLine(MulDiv(s.w, 10, s.gridX), s.w);
    const bool second = side >= 0 && m_ptMouse[0].x > side;
    // The amplitude is read at the gain the trace under the first point is
    // drawn at, asked of the drawing.
    auto byGroup = [&](bool chest) {
        label = chest ? L"胸部:" : L"四肢:";
        return doc->GetSense(chest ? 0 : 1, 0);
    };
    if (IsLeadMaskStyle(style) || style == 13 || style == 15) return static_cast<float>(RestColumnSense(0));
    if (IsTwoGroupExtraStyle(style)) {
        // The two columns show the two extra-lead sets, each at its own gain.
        label = second ? L"胸部:" : L"四肢:";
        return static_cast<float>(ExtraSenseAt(m_ptMouse[0], second ? 1 : 0));
    }
    if (side >= 0) return byGroup(second);
    if (style == 9) return byGroup(m_bShowChestLead != FALSE);
    if (style == 22 || style == 24) return static_cast<float>(ExtraSenseAt(m_ptMouse[0], 0));
    if (IsRowsPopupStyle(style) || IsOneLeadRhythmStyle(style)) return static_cast<float>(RhythmRowSense());
    return 0.0f;
}

void CViewRhythmWave::DrawScaleInformation(CDC* pDC, CRect area, CPoint anchor, float ratio)
{
    CSquares s;
    const float speed = DrawnSpeed(0);
    // Without a speed, a size or a sensitivity there is nothing to read.
    if (!GetSquares(s) || !(speed > 0.0f)) return;
    const CPoint& p1 = m_ptMouse[0];
    const CPoint& p2 = m_ptMouse[1];
    m_nScaleMilliseconds = Trunc(s.gridX / speed * std::abs(p2.x - p1.x) * 1000.0 / s.w);
    CString label;
    const float sense = ScaleSense(label);
    if (!(sense > 0.0f)) return;
    m_nScaleMicrovolts = Trunc(s.gridY / sense * std::abs(p2.y - p1.y) * 1000.0 / s.h);
    CString text;
    if (label.IsEmpty())
        text.Format(L" %d%s  %5.3f%s", m_nScaleMilliseconds, L"[mS]", m_nScaleMicrovolts * 0.001, L"[mV]");
    else
        text.Format(L" %d%s  %s%5.3f%s", m_nScaleMilliseconds, L"[mS]", label.GetString(),
                    m_nScaleMicrovolts * 0.001, L"[mV]");
    DrawReadingBox(pDC, area, anchor, ratio, RGB(0, 0, 0), text);
}

void CViewRhythmWave::DrawScaleMark(CDC* pDC, CRect mark, CPoint point, CRect bounds)
{
    pDC->Ellipse(&mark);
    pDC->MoveTo(0, point.y);
    pDC->LineTo(mark.left, point.y);
    pDC->MoveTo(mark.right, point.y);
    pDC->LineTo(bounds.right, point.y);
    pDC->MoveTo(point.x, 0);
    pDC->LineTo(point.x, mark.top);
    pDC->MoveTo(point.x, mark.bottom);
    pDC->LineTo(point.x, bounds.bottom);
}

void CViewRhythmWave::DrawScale(CDC* pDC, CRect rect, float ratio)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || m_nScaleStatus == RULER_STATUS_OFF || !HasLead(0) || !IsDrawScale()) return;
    const COLORREF colour = doc->GetWaveColor(4);
    CPen pen(PS_SOLID, std::max(1, static_cast<int>(ratio)), colour);
    CBrush brush(colour);
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CPen> penSel(*pDC, &pen);
    CDCObjectSelector<CBrush> brushSel(*pDC, &brush);
    CRect client;
    GetClientRect(&client);
    const bool enlarged = ratio >= 1.5f;
    const CRect bounds = enlarged ? rect : client;
    CPoint points[2];
    CRect marks[2];
    for (int i = 0; i < 2; ++i) {
        if (!enlarged) {
            points[i] = m_ptMouse[i];
            marks[i] = m_rcScaleMark[i];
            continue;
        }
        points[i] = CPoint(Trunc((m_ptMouse[i].x - client.left) * ratio + rect.left),
                           Trunc((m_ptMouse[i].y - client.top) * ratio + rect.top));
        const int k = Trunc(ratio * doc->GetScaleMarkSize());
        marks[i] = m_rcEnlargedMark[i] = CRect(points[i].x - 2 * k, points[i].y - 2 * k, points[i].x + 3 * k,
                                               points[i].y + 3 * k);
    }
    DrawScaleMark(pDC, marks[0], points[0], bounds);
    const bool secondSet = m_ptMouse[1].x != 0 || m_ptMouse[1].y != 0;
    if (m_nScaleStatus == RULER_STATUS_ARMED || !secondSet) return;
    DrawScaleMark(pDC, marks[1], points[1], bounds);
    DrawRulerMark(pDC, enlarged);
    const CRect& m = marks[1];
    DrawScaleInformation(pDC, bounds, CPoint(2 * m.right - m.left, 2 * m.bottom - m.top), ratio);
}

void CViewRhythmWave::SizingScale()
{
    CTavrionDoc* doc = GetTavrionDoc();
    CSquares s;
    if (!doc || m_nLastClientWidth == 0 || m_nLastClientHeight == 0 || !GetSquares(s)) return;
    for (int i = 0; i < 2; ++i) {
        CPoint point(Trunc(m_ptScaleSquares[i].x * s.a + 0.5), Trunc(m_ptScaleSquares[i].y * s.b + 0.5));
        // A point on the bottom edge or below it would be out of sight.
        if (point.y >= s.h) point.y = s.h - 2;
        const CPoint squares = m_ptScaleSquares[i];
        SetScalePoint(i, point, s);
        m_ptScaleSquares[i] = squares;   // the place on the paper stays what it was
    }
    SetRulerMarkRect(-1);
}

// ---- the mouse ------------------------------------------------------------------------------------

void CViewRhythmWave::SetScalePoint(int index, CPoint point, const CSquares& s)
{
    const double u = GetTavrionDoc() ? GetTavrionDoc()->GetXScale() : 1.0;
    m_ptMouse[index] = point;
    m_rcScaleMark[index] = CRect(Trunc(point.x - 2 * u), Trunc(point.y - 2 * u), Trunc(point.x + 3 * u),
                                 Trunc(point.y + 3 * u));
    m_ptScaleSquares[index] = CPoint(Trunc(point.x / s.a + 0.5), Trunc(point.y / s.b + 0.5));
}

void CViewRhythmWave::ClampScalePoint(int reference, CPoint& point, const CRect& client, int side) const
{
    if (side >= 0) {
        // A point stays in the half of the page where its reference lies.
        if (m_ptMouse[reference].x > side)
            point.x = std::max<int>(point.x, side + 1);
        else
            point.x = std::min<int>(point.x, side);
    }
    point.x = std::clamp<int>(point.x, client.left + 1, client.right - 1);
    point.y = std::clamp<int>(point.y, client.top + 1, client.bottom - 1);
}

BOOL CViewRhythmWave::MoveScale(UINT nFlags, CPoint& point)
{
    CSquares s;
    if (!GetSquares(s)) return FALSE;
    CRect client;
    GetClientRect(&client);
    const int side = ScaleSideLine(MulDiv(s.w, 10, s.gridX), s.w);
    if (m_nScaleStatus == RULER_STATUS_ARMED) {
        SetScalePoint(0, point, s);
        SetScalePoint(1, point, s);
    } else if (m_nScaleStatus == RULER_STATUS_FIRST) {
        ClampScalePoint(0, point, client, side);
        SetScalePoint(1, point, s);
    } else if (m_nScaleStatus == RULER_STATUS_BOTH && (nFlags & MK_LBUTTON) && (m_bGrabbed[0] || m_bGrabbed[1])) {
        // Both grabbed (a press on both marks): the first moves.
        const int moving = m_bGrabbed[0] ? 0 : 1;
        ClampScalePoint(moving, point, client, side);
        SetScalePoint(moving, point, s);
        SetRulerMarkRect(moving);
        Invalidate(FALSE);
        return TRUE;
    } else {
        return FALSE;
    }
    Invalidate(FALSE);
    SetCurrentCursor(g_hCursorMag);
    return TRUE;
}

BOOL CViewRhythmWave::PressScale(CPoint point)
{
    BOOL took = TRUE;
    switch (m_nScaleStatus) {
    case RULER_STATUS_ARMED: m_nScaleStatus = RULER_STATUS_FIRST; break;
    case RULER_STATUS_FIRST: m_nScaleStatus = RULER_STATUS_BOTH; break;
    case RULER_STATUS_BOTH: {
        int grabbed = -1;
        for (int i = 0; i < 2; ++i) {
            m_bGrabbed[i] = m_rcScaleMark[i].PtInRect(point);
            if (m_bGrabbed[i]) grabbed = i;
        }
        SetRulerMarkRect(grabbed);
        took = grabbed >= 0;
        break;
    }
    default: return FALSE;
    }
    Invalidate(FALSE);
    ShowEnlargedPreview(point);
    return took && IsDrawScale();
}
