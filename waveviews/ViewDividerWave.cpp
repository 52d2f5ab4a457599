#include "waveviews/ViewDividerWave.h"

#include <algorithm>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"

IMPLEMENT_DYNCREATE(CViewDividerWave, CViewRhythmWave)

BEGIN_MESSAGE_MAP(CViewDividerWave, CViewRhythmWave)
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

namespace {
int Trunc(double value) { return static_cast<int>(value); }
}  // namespace

CViewDividerWave::CViewDividerWave()
{
    m_hArrowCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    SetCurrentCursor(m_hArrowCursor);
    m_nWaveStyle = 13;
    // The strip's calipers replace the view's measuring dividers.
    m_bInitialDivider = FALSE;
    InitBackground(260, 30);
}

CViewDividerWave::~CViewDividerWave() = default;

void CViewDividerWave::SetWaveRange(int start, int samples)
{
    m_nStripStart = std::max(0, start);
    m_nStripSamples = std::max(0, samples);
    m_nSamplesPerColumn = m_nStripSamples;
    // The strip's speed fits the range; lead 0 keeps every sample it loaded.
    m_nStripCount = m_nStripSamples;
    CWaveView::SetStartTime(m_nStripStart);
}

CWnd* CViewDividerWave::Owner() const
{
    CWnd* parent = GetParent();
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) return parent->GetParent();
    return parent;
}

int CViewDividerWave::StripPixels(const CSquares& s)
{
    const int n = Trunc(static_cast<double>(s.w) * (s.gridX - 10) / s.gridX);
    const float speed = DrawnSpeed(0);
    if (speed < 25.0f) return n;
    if (m_nSampleRate <= 0 || s.gridX <= 10) return 0;
    return Trunc(static_cast<double>(m_nStripSamples) * n * speed / m_nSampleRate / (s.gridX - 10));
}

CRect CViewDividerWave::LineHandle(double x, int h) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    const double gx = doc ? doc->GetXUnit() : 1.0;
    const double gy = doc ? doc->GetYUnit() : 1.0;
    const int top = MulDiv(h, 5, 6);
    return CRect(Trunc(x - 5 * gx), top, Trunc(x + 5 * gx), Trunc(top + 10 * gy));
}

void CViewDividerWave::PlaceCaliperBar(int caliper, int h)
{
    const CRect* handle = m_rcCaliper[caliper];
    m_rcCaliperBar[caliper] = CRect((handle[0].left + handle[0].right) / 2, handle[1].bottom - MulDiv(h, 1, 6),
                                    (handle[1].left + handle[1].right) / 2, handle[1].bottom + MulDiv(h, 1, 6));
}

void CViewDividerWave::OnInitialUpdate()
{
    CViewRhythmWave::OnInitialUpdate();
    const int kind = m_nDocType;
    const CWaveItemRef item = CurrentItem();
    if (kind == DOC_TYPE_RR || !IsMeasuredKind() || !item || !item.HasRecordXml()) return;
    const int rate = item.GetHeartRate();
    m_nCaliperInterval = rate > 0 ? 60000 / rate : 1000;

    CSquares s;
    if (GetSquares(s) && m_nStripSamples > 0) {
        const int n = Trunc(static_cast<double>(s.w) * (s.gridX - 10) / s.gridX);
        const int pixels = StripPixels(s);
        CRect first = LineHandle(MulDiv(n, 1, 10), s.h);
        const double span = static_cast<double>(m_nSampleRate) * m_nCaliperInterval * pixels * 0.001;
        const int left = first.left + Trunc(span / m_nStripSamples);
        // The second handle is measured from its left edge, as the interval is.
        CTavrionDoc* doc = GetTavrionDoc();
        const double gx = doc ? doc->GetXUnit() : 1.0;
        const double gy = doc ? doc->GetYUnit() : 1.0;
        const CRect second(left, first.top, Trunc(left + 10 * gx), Trunc(first.top + 10 * gy));
        for (int caliper = 0; caliper < 3; ++caliper) {
            const CPoint offset(200 * caliper, 0);
            m_rcCaliper[caliper][0] = first + offset;
            m_rcCaliper[caliper][1] = second + offset;
            m_dCaliperHalf[caliper] = (second.left - first.left) * 0.5;
            PlaceCaliperBar(caliper, s.h);
        }
    }
    if (CWnd* owner = Owner())
        for (int caliper = 0; caliper < 3; ++caliper)
            owner->SendMessage(WM_DIVIDER_DROPPED, m_nCaliperInterval, caliper);
}

void CViewDividerWave::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0) return;
    CDC memory;
    if (!memory.Attach(platform::gdi::CreateImageDC(client.Width() + 1, client.Height() + 1))) return;
    CWaveView::SetStartTime(m_nStripStart);
    CViewRhythmWave::OnDraw(&memory);
    DrawCalipers(&memory, client);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
}

void CViewDividerWave::DrawCalipers(CDC* pDC, const CRect& client)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const double gx = doc ? doc->GetXUnit() : 1.0;
    CPen red(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* pens[3] = {g_pPenBlue, &m_greenPen, &red};
    CDCStateSaver saver(*pDC);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    CDCObjectSelector<CPen> pen(*pDC);
    const int barY = m_rcCaliper[0][0].top;
    for (int caliper = 0; caliper < 3; ++caliper) {
        if (!IsCaliperOn(caliper)) continue;
        pen.Select(pens[caliper]);
        const CRect& first = m_rcCaliper[caliper][0];
        const CRect& second = m_rcCaliper[caliper][1];
        const int x1 = Trunc(first.left + 5 * gx);
        const int x2 = Trunc(second.left + 5 * gx);
        if (caliper == 0 && !m_bOn2 && !m_bOn3) {
            // Caliper I alone repeats its interval across the whole strip.
            const int d = std::max(1, x2 - x1);
            for (int x = x1 - (x1 - client.left) / d * d; x <= client.right; x += d) {
                pDC->MoveTo(x, client.top);
                pDC->LineTo(x, first.top);
            }
            pDC->MoveTo(x1, first.top);
            pDC->LineTo(x2, first.top);
        } else {
            const POINT line[4] = {{x1, client.top}, {x1, barY}, {x2, barY}, {x2, client.top}};
            pDC->Polyline(line, 4);
        }
        pDC->Ellipse(&first);
        pDC->Ellipse(&second);
        const int xm = (x1 + x2) / 2;
        pDC->Ellipse(xm - first.Width() / 2, first.top, xm - first.Width() / 2 + first.Width(),
                     first.top + first.Height());
    }
}

// ---- the mouse -------------------------------------------------------------------------------------

void CViewDividerWave::OnMouseMove(UINT, CPoint point)
{
    m_nLastX = point.x;
    if (m_bDragLine[0] || m_bDragLine[1]) {
        DragLine(point);
    } else if (m_bDragCaliper) {
        DragWhole(point);
    } else {
        m_nActiveCaliper = 0;
        SetCurrentCursor(m_hArrowCursor);
        for (int caliper = 0; caliper < 3; ++caliper) {
            if (!IsCaliperOn(caliper)) continue;
            const CRect* handle = m_rcCaliper[caliper];
            const bool onLine = (point.x > handle[0].left && point.x < handle[0].right) ||
                                (point.x > handle[1].left && point.x < handle[1].right);
            const CRect& bar = m_rcCaliperBar[caliper];
            const bool onBar = point.x > bar.left && point.x < bar.right && point.y > bar.top && point.y < bar.bottom;
            if (!onLine && !onBar) continue;
            m_nActiveCaliper = caliper;
            SetCurrentCursor(onLine ? m_hDividerCursor : g_hCursorHand);
            break;
        }
        return;
    }
    if (GetCurrentCursor() != m_hArrowCursor) Invalidate(FALSE);
}

void CViewDividerWave::OnLButtonDown(UINT, CPoint point)
{
    const int caliper = m_nActiveCaliper;
    const CRect* handle = m_rcCaliper[caliper];
    CRect window;
    GetWindowRect(&window);
    const CRect& bar = m_rcCaliperBar[caliper];
    int shrink = 3;
    if (point.x > handle[0].left && point.x < handle[0].right) {
        m_bDragLine[0] = TRUE;
    } else if (point.x > handle[1].left && point.x < handle[1].right) {
        m_bDragLine[1] = TRUE;
    } else if (point.x > bar.left && point.x < bar.right && point.y > bar.top && point.y < bar.bottom) {
        m_bDragCaliper = TRUE;
        shrink = 5;
    } else {
        return;
    }
    window.DeflateRect(shrink, shrink);
    ::ClipCursor(&window);
}

void CViewDividerWave::OnLButtonUp(UINT, CPoint)
{
    if (m_bDragLine[0] || m_bDragLine[1]) SetCurrentCursor(m_hDividerCursor);
    if (m_bDragCaliper) SetCurrentCursor(g_hCursorHand);
    m_bDragLine[0] = m_bDragLine[1] = m_bDragCaliper = FALSE;
    ::ClipCursor(nullptr);
}

void CViewDividerWave::OnLButtonDblClk(UINT, CPoint)
{
    // The strip opens nothing of its own.
}

void CViewDividerWave::DragLine(CPoint point)
{
    CSquares s;
    if (!GetSquares(s)) return;
    const int caliper = m_nActiveCaliper;
    CRect* handle = m_rcCaliper[caliper];
    const int line = m_bDragLine[0] ? 0 : 1;
    int x = point.x;
    if (line == 0) x = std::min(x, (handle[1].left + handle[1].right) / 2 - 2);
    else x = std::max(x, (handle[0].left + handle[0].right) / 2 + 2);
    handle[line] = LineHandle(x, s.h);
    PlaceCaliperBar(caliper, s.h);
    const int distance = handle[1].left - handle[0].left;
    m_dCaliperHalf[caliper] = distance * 0.5;
    const int pixels = StripPixels(s);
    if (pixels <= 0 || m_nSampleRate <= 0) return;
    m_nCaliperInterval = Trunc(distance * static_cast<double>(m_nStripSamples) * 1000.0 / pixels / m_nSampleRate);
    if (CWnd* owner = Owner()) owner->SendMessage(WM_DIVIDER_DROPPED, m_nCaliperInterval, caliper);
}

void CViewDividerWave::DragWhole(CPoint point)
{
    CSquares s;
    if (!GetSquares(s)) return;
    const int caliper = m_nActiveCaliper;
    const double half = m_dCaliperHalf[caliper];
    // Truncated once, after the handle's half width is taken off.
    m_rcCaliper[caliper][0] = LineHandle(point.x - half, s.h);
    m_rcCaliper[caliper][1] = LineHandle(point.x + half, s.h);
    PlaceCaliperBar(caliper, s.h);
}
