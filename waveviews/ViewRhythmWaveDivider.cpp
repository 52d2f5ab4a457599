// CViewRhythmWave: the three measuring dividers (calipers) of the measure
// mode. A pair keeps its place in small squares and its speed, so that it
// stays over the same part of the trace when the view is resized or the
// paper speed changes.
#include <algorithm>
#include <cmath>

#include "core/Globals.h"
#include "core/MorvelanceApp.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "resources/ResourceIds.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewRhythmWave.h"

namespace {

// The page styles of each document kind that carry no measuring tools.
bool InRanges(int style, std::initializer_list<std::pair<int, int>> ranges)
{
    for (const auto& range : ranges)
        if (style >= range.first && style <= range.second) return true;
    return false;
}

const COLORREF kPairColour[3] = {RGB(0, 0, 255), RGB(46, 139, 87), RGB(255, 0, 0)};
const wchar_t* const kPairFormat[3] = {L"%sI  %s%d%s  %s %s", L"%sII  %s%d%s  %s %s", L"%sIII  %s%d%s  %s %s"};

int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

// ---- shared by the dividers and the scale ------------------------------------------------------

BOOL CViewRhythmWave::GetSquares(CSquares& s) const
{
    CRect client;
    GetClientRect(&client);
    s.w = client.Width();
    s.h = client.Height();
    GetGridCount(s.gridX, s.gridY);
    if (s.w <= 0 || s.h <= 0 || s.gridX <= 0 || s.gridY <= 0) return FALSE;
    s.a = static_cast<double>(s.w) / s.gridX;
    s.b = static_cast<double>(s.h) / s.gridY;
    return TRUE;
}

BOOL CViewRhythmWave::WaveAreaSpan(const CSquares& s, float speed, int& samples, int& pixels) const
{
    // A speed of 0 (MFER documents may store one) places and measures nothing.
    if (!(speed > 0.0f) || s.gridX <= 10 || m_nSampleRate <= 0) return FALSE;
    samples = Trunc((s.gridX - 10) * static_cast<double>(m_nSampleRate) / speed);
    pixels = Trunc(static_cast<double>(samples) * s.w * speed / m_nSampleRate / s.gridX);
    return samples > 0 && pixels > 0;
}

bool CViewRhythmWave::HasMeasuringTools(bool scale) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    switch (m_nDocType) {
    case DOC_TYPE_REST:
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc))
            return !InRanges(static_cast<int>(rest->GetPageStyle()),
                             {{5, 6}, {11, 12}, {17, 18}, {23, 24}, {29, 30}, {35, 43}});
        return false;
    case DOC_TYPE_RHYTHM:
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc))
            return !InRanges(static_cast<int>(rhythm->GetPageStyle()),
                             {{3, 3}, {6, 6}, {9, 9}, {12, 12}, {15, 15}, {22, 22}, {25, 30}});
        return false;
    case DOC_TYPE_RR:
        if (auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc))
            return !InRanges(static_cast<int>(rr->GetPageStyle()), {{1, 2}, {5, 9}});
        return false;
    case DOC_TYPE_EXTRA:
        if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc))
            return !InRanges(static_cast<int>(extra->GetPageStyle()), {{17, 29}});
        return false;
    case DOC_TYPE_MFER:
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            const int style = static_cast<int>(mfer->GetPageStyle());
            if (scale && style >= 69 && style <= 79) return false;
            return !InRanges(style, {{5, 6}, {11, 12}, {17, 18}, {23, 24}, {29, 30}, {37, 37}, {40, 46}, {48, 51}});
        }
        return false;
    default:
        return false;
    }
}

void CViewRhythmWave::DrawReadingBox(CDC* pDC, CRect area, CPoint anchor, float ratio, COLORREF colour,
                                     const CString& text)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CFont* base = doc ? doc->GetDocFont(0) : nullptr;
    CFont font;
    if (base) {
        LOGFONT lf{};
        base->GetLogFont(&lf);
        lf.lfHeight = static_cast<LONG>(lf.lfHeight * ratio);
        lf.lfWidth = 0;
        font.CreateFontIndirect(&lf);
    }
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> fontSelection(*pDC, font.GetSafeHandle() ? &font : nullptr);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->SetTextColor(colour);
    const CSize extent = pDC->GetTextExtent(text);
    const int cx = extent.cx;
    const int cy = extent.cy;
    int x = anchor.x;
    if (x + cx + 2 * cy / 5 > area.right) x = area.right - 2 * cy / 5 - cx;
    int y = anchor.y;
    if (y + 7 * cy / 5 > area.bottom) y = area.bottom - 7 * cy / 5;
    CRect box(x, y, x + cx, y + cy);
    box.InflateRect(cy / 5, cy / 5);
    CBrush fill(RGB(255, 255, 240));
    CPen outline(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CBrush> fillSelection(*pDC, &fill);
    CDCObjectSelector<CPen> outlineSelection(*pDC, &outline);
    pDC->Rectangle(&box);
    pDC->TextOut(x, y, text);
}

// ---- switching -----------------------------------------------------------------------------------

void CViewRhythmWave::SetDividerCheck(BOOL check, int divider)
{
    if (divider >= 1 && divider <= 3) m_bOn[divider - 1] = check;
    m_bDividerMode = (m_bOn[0] || m_bOn[1] || m_bOn[2]) ? TRUE : FALSE;
    OnUpdate(nullptr, 0, nullptr);
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewRhythmWave::ShowDivider(BOOL show)
{
    m_bShowFlag = show;
    UpdateDrawDC();
}

// ---- placement ------------------------------------------------------------------------------------

void CViewRhythmWave::PlaceDividerBar(int pair, int bottom, int h)
{
    const CRect* handle = m_rcHandle[pair];
    m_rcBar[pair] = CRect((handle[0].left + handle[0].right) / 2, bottom - MulDiv(h, 1, 36),
                          (handle[1].left + handle[1].right) / 2, bottom + MulDiv(h, 1, 36));
}

void CViewRhythmWave::TakeDividerSquares(int pair, const CSquares& s, float speed)
{
    const CRect* handle = m_rcHandle[pair];
    const int span = handle[1].left - handle[0].left;
    m_dSpanSquares[pair] = span / s.a;
    m_dHalfSpan[pair] = span * 0.5;
    m_dCentreX[pair] = (handle[0].left + handle[1].right) / (2.0 * s.a);
    m_fDividerSpeed[pair] = speed;
}

void CViewRhythmWave::InitialDividerPos()
{
    m_bInitialDivider = FALSE;
    const CWaveItemRef item = CurrentItem();
    if (!GetTavrionDoc() || !IsMeasuredKind() || !item || !item.HasRecordXml()) return;
    const int rate = item.GetHeartRate();
    const int interval = rate > 0 ? 60000 / rate : 1000;
    for (int& pairInterval : m_nInterval) pairInterval = interval;

    CSquares s;
    int samples = 0;
    int pixels = 0;
    const float speed = DrawnSpeed(0);
    if (GetSquares(s) && WaveAreaSpan(s, speed, samples, pixels)) {
        m_nLastClientWidth = s.w;
        m_nLastClientHeight = s.h;
        const double u = GetTavrionDoc()->GetXScale();
        const int x = MulDiv(s.w, 10, s.gridX);
        const int top = MulDiv(s.h, m_nDividerRows, 6);
        CRect* handle = m_rcHandle[0];
        handle[0] = CRect(Trunc(x - 5 * u), top, Trunc(x + 5 * u), Trunc(top + 10 * u));
        const double span = static_cast<double>(interval) * m_nSampleRate * pixels / (samples * 1000.0);
        const int x2 = Trunc(span + handle[0].left);
        handle[1] = CRect(x2, top, Trunc(x2 + 10 * u), Trunc(top + 10 * u));
        PlaceDividerBar(0, handle[1].bottom, s.h);
        TakeDividerSquares(0, s, speed);
        // The height is taken at placement only: a line drag keeps the one
        // a whole drag gave the pair.
        m_dCentreY[0] = (handle[0].top + handle[0].bottom) / (2.0 * s.b);
        for (int pair = 1; pair < 3; ++pair) {
            const int offset = MulDiv(s.w, 1, 4) * pair;
            for (int line = 0; line < 2; ++line) m_rcHandle[pair][line] = handle[line] + CPoint(offset, 0);
            m_rcBar[pair] = m_rcBar[0] + CPoint(offset, 0);
            m_dCentreX[pair] = m_dCentreX[0] + offset / s.a;
            m_dCentreY[pair] = m_dCentreY[0];
            m_dSpanSquares[pair] = m_dSpanSquares[0];
            m_dHalfSpan[pair] = m_dHalfSpan[0];
            m_fDividerSpeed[pair] = speed;
        }
    }
    CWnd* parent = GetSafeHwnd() ? GetParent() : nullptr;
    for (int pair = 0; pair < 3 && parent; ++pair) parent->SendMessage(WM_DIVIDER_DROPPED, m_nInterval[pair], pair);
}

void CViewRhythmWave::SizingDivider()
{
    CSquares s;
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || m_nLastClientWidth == 0 || m_nLastClientHeight == 0 || !GetSquares(s)) return;
    const double u = doc->GetXScale();
    const double v = doc->GetYScale();
    for (int pair = 0; pair < 3; ++pair) {
        const double half = s.w * m_dHalfSpan[pair] / m_nLastClientWidth;
        m_dHalfSpan[pair] = half;
        const double xc = s.a * m_dCentreX[pair];
        double yc = s.b * m_dCentreY[pair];
        if (s.h < yc) yc = s.h - 2;
        for (int line = 0; line < 2; ++line) {
            const double x = line == 0 ? xc - half : xc + half;
            m_rcHandle[pair][line] = CRect(Trunc(x - 5 * u), Trunc(yc - 5 * u), Trunc(x + 5 * u), Trunc(yc + 5 * u));
        }
        m_rcBar[pair] = CRect(Trunc(xc - half), Trunc(yc + 5 * v - MulDiv(s.h, 1, 36)), Trunc(xc + half),
                              Trunc(yc + 5 * v + MulDiv(s.h, 1, 36)));
    }
    m_nLastClientWidth = s.w;
    m_nLastClientHeight = s.h;
}

// ---- drawing -------------------------------------------------------------------------------------

BOOL CViewRhythmWave::IsDrawDivider() const
{
    return HasMeasuringTools(false) && m_nLeadGroups > 0 ? TRUE : FALSE;
}

void CViewRhythmWave::DrawDivider(CDC* pDC, CRect area, float ratio, BOOL enlarged)
{
    if (m_bInitialDivider) InitialDividerPos();
    CTavrionDoc* doc = GetTavrionDoc();
    CSquares s;
    if (!doc || !HasLead(0) || !GetSquares(s)) return;
    const double u = doc->GetXScale();
    const float speed = DrawnSpeed(0);
    if (!enlarged && speed > 0.0f) {
        // A new paper speed keeps each pair's interval in time.
        for (int pair = 0; pair < 3; ++pair) {
            if (m_fDividerSpeed[pair] == speed || !(m_fDividerSpeed[pair] > 0.0f)) continue;
            CRect* handle = m_rcHandle[pair];
            m_dCentreX[pair] = (handle[0].left + handle[1].right) / (2 * s.a);
            m_dCentreY[pair] = (handle[0].top + handle[0].bottom) / (2 * s.b);
            const double half = speed * m_dSpanSquares[pair] * s.a / m_fDividerSpeed[pair] * 0.5;
            m_dHalfSpan[pair] = half;
            const double xc = s.a * m_dCentreX[pair];
            for (int line = 0; line < 2; ++line) {
                const double x = line == 0 ? xc - half : xc + half;
                handle[line] = CRect(Trunc(x - 5 * u), handle[line].top, Trunc(x + 5 * u), handle[line].bottom);
            }
            PlaceDividerBar(pair, handle[0].bottom, s.h);
            m_dSpanSquares[pair] = static_cast<double>(handle[1].left - handle[0].left) / s.w * s.gridX;
            m_fDividerSpeed[pair] = speed;
        }
    }
    if (!m_bDividerMode || !HasMeasuringTools(false) || m_nLeadGroups <= 0 || !m_bShowFlag) return;

    const int length = MulDiv(area.Height(), m_nDividerRows, 6);
    const float r = enlarged ? ratio : 1.0f;
    auto map = [&](const CRect& rect) {
        if (!enlarged) return rect;
        return CRect(Trunc(rect.left * ratio + area.left), Trunc(rect.top * ratio + area.top),
                     Trunc(rect.right * ratio + area.left), Trunc(rect.bottom * ratio + area.top));
    };
    CPen red(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* pens[3] = {g_pPenBlue, &m_greenPen, &red};
    CDCStateSaver saver(*pDC);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    CDCObjectSelector<CPen> pen(*pDC);
    const bool marching = !m_bOn[1] && !m_bOn[2];
    for (int pair = 2; pair >= 0; --pair) {
        if (!m_bOn[pair]) continue;
        pen.Select(pens[pair]);
        const CRect first = map(m_rcHandle[pair][0]);
        const CRect second = map(m_rcHandle[pair][1]);
        const int top = first.top;
        int x1 = (first.left + first.right) / 2;
        int x2 = (second.left + second.right) / 2;
        if (pair == 0) {
            x1 = Trunc(first.left + 5 * u * r);
            x2 = Trunc(second.left + 5 * u * r);
        }
        if (pair == 0 && marching) {
            // Pair I alone repeats its interval across the whole area.
            const int d = std::max(1, x2 - x1);
            for (int x = x1 - (x1 - area.left) / d * d; x <= area.right; x += d) {
                pDC->MoveTo(x, top - length);
                pDC->LineTo(x, top);
            }
            pDC->MoveTo(x1, top);
            pDC->LineTo(x2, top);
        } else {
            const POINT line[4] = {{x1, top - length}, {x1, top}, {x2, top}, {x2, top - length}};
            pDC->Polyline(line, 4);
        }
        pDC->Ellipse(&first);
        pDC->Ellipse(&second);
        const int size = Trunc(10 * u * r);
        const int xm = (x1 + x2) / 2;
        pDC->Ellipse(xm - size / 2, top, xm - size / 2 + size, top + size);
        DrawDividerInformation(pDC, area, CPoint(second.right, second.bottom), pair, r);
    }
}

void CViewRhythmWave::DrawDividerInformation(CDC* pDC, CRect area, CPoint anchor, int pair, float ratio)
{
    if (pair < 0 || pair > 2) return;
    const int interval = m_nInterval[pair];
    CString rate = L"   ";
    if (interval != 0) rate.Format(L"%d%s", 60000 / interval, L"[bpm]");
    CString text;
    text.Format(kPairFormat[pair], L"心拍测量", L"Dur.", interval, L"[mS]", L"心拍数换算值", rate.GetString());
    DrawReadingBox(pDC, area, anchor, ratio, kPairColour[pair], text);
}

// ---- the mouse -------------------------------------------------------------------------------------

int CViewRhythmWave::HitDivider(CPoint point, int reach, int& part, int only) const
{
    CRect client;
    GetClientRect(&client);
    const int below = MulDiv(client.Height(), 1, 36);
    for (int pair = 0; pair < 3; ++pair) {
        if (!m_bOn[pair] || (only >= 0 && pair != only)) continue;
        for (int line = 0; line < 2; ++line) {
            const CRect& handle = m_rcHandle[pair][line];
            if (point.x > handle.left && point.x < handle.right && point.y > handle.top - reach &&
                point.y < handle.bottom + below) {
                part = line;
                return pair;
            }
        }
        const CRect& bar = m_rcBar[pair];
        if (point.x > bar.left && point.x < bar.right && point.y > bar.top && point.y < bar.bottom) {
            part = 2;
            return pair;
        }
    }
    return -1;
}

BOOL CViewRhythmWave::PressDivider(CPoint point)
{
    m_bDragFirst = m_bDragSecond = m_bDragWhole = FALSE;
    const int pair = m_nActivePair;
    if (m_nLeadGroups <= 0 || pair < 0 || pair > 2 || !m_bShowFlag || !m_bDividerMode || !m_bOn[pair]) return FALSE;
    CRect client;
    GetClientRect(&client);
    const int reach = MulDiv(client.Height(), m_nLeadGroups, 6) + MulDiv(client.Height(), 1, 36);
    int part = -1;
    // Only the active pair is grabbed, as the hover chose it.
    if (HitDivider(point, reach, part, pair) < 0) return FALSE;
    CRect window;
    GetWindowRect(&window);
    ::ClipCursor(&window);
    SetCapture();
    (part == 0 ? m_bDragFirst : part == 1 ? m_bDragSecond : m_bDragWhole) = TRUE;
    return TRUE;
}

void CViewRhythmWave::MoveDivider(CPoint& point)
{
    if (m_bDragFirst || m_bDragSecond) {
        DragDividerLine(point);
        return;
    }
    if (m_bDragWhole) {
        DragDividerWhole(point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int reach = MulDiv(client.Height(), m_nDividerRows, 6) + MulDiv(client.Height(), 1, 36);
    int part = -1;
    const int hit = HitDivider(point, reach, part);
    m_nActivePair = hit < 0 ? 0 : hit;
    if (hit < 0)
        SetCurrentCursor(g_hCursorMag);
    else
        SetCurrentCursor(part == 2 ? g_hCursorHand : m_hDividerCursor ? m_hDividerCursor : g_hCursorHand);
}

void CViewRhythmWave::DragDividerLine(CPoint& point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CSquares s;
    if (!doc || !GetSquares(s)) return;
    const int pair = m_nActivePair;
    const double u = doc->GetXScale();
    CRect* handle = m_rcHandle[pair];
    const int line = m_bDragFirst ? 0 : 1;
    int x = point.x;
    if (line == 0) x = std::min(x, (handle[1].left + handle[1].right) / 2 - 2);
    else x = std::max(x, (handle[0].left + handle[0].right) / 2 + 2);
    // The magnifier and the base's handling follow the line, not the pointer.
    point.x = x;
    const int top = handle[line].top;
    handle[line] = CRect(Trunc(x - 5 * u), top, Trunc(x + 5 * u), Trunc(top + 10 * u));
    m_dHalfSpan[pair] = (handle[1].left - handle[0].left) * 0.5;
    PlaceDividerBar(pair, handle[1].bottom, s.h);
    const float speed = DrawnSpeed(0);
    int samples = 0;
    int pixels = 0;
    if (!WaveAreaSpan(s, speed, samples, pixels)) return;
    TakeDividerSquares(pair, s, speed);
    const int distance = handle[1].left - handle[0].left;
    m_nInterval[pair] = Trunc(distance * static_cast<double>(samples) * 1000.0 / pixels / m_nSampleRate);
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_DIVIDER_DROPPED, m_nInterval[pair], pair);
}

void CViewRhythmWave::DragDividerWhole(CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CSquares s;
    if (!doc || !GetSquares(s)) return;
    const int pair = m_nActivePair;
    const double u = doc->GetXScale();
    const double half = m_dHalfSpan[pair];
    for (int line = 0; line < 2; ++line) {
        const double x = line == 0 ? point.x - half : point.x + half;
        m_rcHandle[pair][line] =
            CRect(Trunc(x - 5 * u), Trunc(point.y - 5 * u), Trunc(x + 5 * u), Trunc(point.y + 5 * u));
    }
    PlaceDividerBar(pair, m_rcHandle[pair][0].bottom, s.h);
    m_dCentreX[pair] = point.x / s.a;
    m_dCentreY[pair] = point.y / s.b;
}

void CViewRhythmWave::ReleaseDivider()
{
    if (m_bDragFirst || m_bDragSecond) {
        if (HasLead(0)) SetCurrentCursor(m_hDividerCursor ? m_hDividerCursor : g_hCursorHand);
    } else if (m_bDragWhole) {
        SetCurrentCursor(g_hCursorHand);
    }
    m_bDragFirst = m_bDragSecond = m_bDragWhole = FALSE;
    ::ReleaseCapture();
    ::ClipCursor(nullptr);
}
