// The serial comparison's measuring tools in measure mode: three calipers
// that mark an interval and its heart rate, and the scale's two cross-hair
// marks that read time and voltage between two points, with the four ruler
// squares around the mark being moved.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Globals.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

const COLORREF kCaliperText[3] = {RGB(0, 0, 255), RGB(46, 139, 87), RGB(255, 0, 0)};
const COLORREF kReadingPaper = RGB(255, 255, 240);
const wchar_t* const kCaliperNames[3] = {L"I", L"II", L"III"};

CRect Square(int cx, int cy, int half)
{
    return CRect(cx - half, cy - half, cx + half, cy + half);
}

// x and y of `r` taken from the client rectangle to the print rectangle.
CRect ToPrint(const CRect& r, const CRect& client, const CRect& print)
{
    if (client.Width() <= 0 || client.Height() <= 0) return r;
    auto x = [&](int v) { return print.left + MulDiv(v - client.left, print.Width(), client.Width()); };
    auto y = [&](int v) { return print.top + MulDiv(v - client.top, print.Height(), client.Height()); };
    return CRect(x(r.left), y(r.top), x(r.right), y(r.bottom));
}

// The four copies of a mark square set diagonally outside its corners.
void RulerSquares(const CRect& s, CRect out[4])
{
    const int l = s.left, t = s.top, r = s.right, b = s.bottom;
    out[0] = CRect(2 * l - r, 2 * t - b, l, t);
    out[1] = CRect(r, 2 * t - b, 2 * r - l, t);
    out[2] = CRect(2 * l - r, b, l, 2 * b - t);
    out[3] = CRect(r, b, 2 * r - l, 2 * b - t);
    for (int i = 0; i < 4; ++i) out[i].NormalizeRect();
}

}  // namespace

// ---- state ---------------------------------------------------------------------------------------------

void CViewSerialComRhy::SetDividerCheck(BOOL check, int caliper)
{
    if (caliper < 1 || caliper > 3) return;
    m_bDivCheck[caliper - 1] = check;
    m_bAnyDivCheck = m_bDivCheck[0] || m_bDivCheck[1] || m_bDivCheck[2];
    OnUpdate(nullptr, 0, nullptr);
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewSerialComRhy::ShowDivider(BOOL show)
{
    m_bShowDivider = show;
    UpdateDrawDC();
}

double CViewSerialComRhy::PixelsPerMm(int width) const
{
    const double own = GetXRatioUnit();
    if (own > 0.0) return own;
    return m_nGridColumns > 0 ? static_cast<double>(width) / m_nGridColumns : 0.0;
}

int CViewSerialComRhy::HeartRateOf() const
{
    const CString& text = m_pRestItem ? m_pRestItem->strHeartRate : m_pMferItem->strHeartRate;
    return _wtoi(text.GetString());
}

void CViewSerialComRhy::BuildCaliper(int i, double centreX, double centreY, int width, int height)
{
    const int p = static_cast<int>(PixelsPerMm(width));
    const int cx = static_cast<int>(centreX);
    const int cy = static_cast<int>(centreY);
    const int half = static_cast<int>(m_dHalfSpan[i]);
    m_rcGrip[i][0] = Square(cx - half, cy, 5 * p);
    m_rcGrip[i][1] = Square(cx + half, cy, 5 * p);
    const int reach = MulDiv(height, 1, 36);
    m_rcHandle[i] = CRect(cx - half, m_rcGrip[i][1].bottom - reach, cx + half, m_rcGrip[i][1].bottom + reach);
}

void CViewSerialComRhy::InitialDividerPos()
{
    CRect client;
    GetClientRect(&client);
    m_nLastWidth = client.Width();
    m_nLastHeight = client.Height();
    CTavrionDoc* doc = RecordDoc();
    if (!doc || (!m_pRestItem && !m_pMferItem) || m_nGridColumns <= 10) return;
    if ((m_pRestItem ? m_pRestItem->strFilePath : m_pMferItem->strFilePath).IsEmpty()) return;
    const int rate = HeartRateOf();
    const int interval = rate > 0 ? 60000 / rate : 1000;
    const float speed = Speed(FALSE);
    // A document without a speed has no interval in pixels: nothing is placed.
    if (speed <= 0.0f) return;
    const int width = client.Width();
    const double p = PixelsPerMm(width);
    const double pxPerMm = static_cast<double>(width) / m_nGridColumns;
    const double span = interval * static_cast<double>(width) * speed / (m_nGridColumns * 1000.0);
    const int x0 = client.left + MulDiv(width, 10, m_nGridColumns);
    const int y0 = MulDiv(client.Height(), m_nColumns[1], 6);
    for (int i = 0; i < 3; ++i) {
        m_nDivInterval[i] = interval;
        m_fDivSpeed[i] = speed;
        m_dHalfSpan[i] = span / 2.0;
        m_dSpanMm[i] = span / pxPerMm;
        const double cx = x0 + span / 2.0 + i * MulDiv(width, 1, 4);
        const double cy = y0 + 5 * static_cast<int>(p);
        m_dCentreX[i] = cx / pxPerMm;
        m_dCentreY[i] = cy / pxPerMm;
        BuildCaliper(i, cx, cy, width, client.Height());
    }
    if (GetSafeHwnd() && GetParent())
        for (int i = 0; i < 3; ++i) GetParent()->SendMessage(WM_DIVIDER_DROPPED, m_nDivInterval[i], i);
}

void CViewSerialComRhy::SizingDivider()
{
    CRect client;
    GetClientRect(&client);
    if (m_nLastWidth <= 0 || m_nGridColumns <= 0) return;
    const double pxPerMm = static_cast<double>(client.Width()) / m_nGridColumns;
    for (int i = 0; i < 3; ++i) {
        m_dHalfSpan[i] = m_dHalfSpan[i] * client.Width() / m_nLastWidth;
        BuildCaliper(i, m_dCentreX[i] * pxPerMm, m_dCentreY[i] * pxPerMm, client.Width(), client.Height());
    }
    m_nLastWidth = client.Width();
    m_nLastHeight = client.Height();
}

void CViewSerialComRhy::SizingScale()
{
    CRect client;
    GetClientRect(&client);
    if (m_nLastWidth <= 0 || m_nGridColumns <= 0 || m_nGridRows <= 0) return;
    for (int i = 0; i < 2; ++i) {
        const int x = static_cast<int>(m_dScaleMmX[i] * client.Width() / m_nGridColumns);
        const int y = std::min(static_cast<int>(m_dScaleMmY[i] * client.Height() / m_nGridRows), client.Height() - 2);
        SetScalePoint(i, CPoint(x, y));
    }
    SetRulerMarkRect(-1);
}

// ---- drawing the calipers -------------------------------------------------------------------------------

void CViewSerialComRhy::DrawDivider(CDC* pDC, CRect rect, float ratio, BOOL print)
{
    if (m_bInitialDivider) {
        InitialDividerPos();
        m_bInitialDivider = FALSE;
    }
    CTavrionDoc* doc = RecordDoc();
    if (!doc || LeadCount(0) <= 0) return;
    CRect client;
    GetClientRect(&client);
    const float speed = Speed(FALSE);
    if (!print && speed > 0.0f && m_nGridColumns > 0) {
        // A speed change keeps each caliper's centre and interval: its span follows.
        const double pxPerMm = static_cast<double>(client.Width()) / m_nGridColumns;
        for (int i = 0; i < 3; ++i) {
            if (m_fDivSpeed[i] == speed || m_fDivSpeed[i] <= 0.0f) continue;
            m_dHalfSpan[i] = speed * m_dSpanMm[i] * pxPerMm / m_fDivSpeed[i] * 0.5;
            m_dSpanMm[i] = 2.0 * m_dHalfSpan[i] / pxPerMm;
            m_fDivSpeed[i] = speed;
            BuildCaliper(i, m_dCentreX[i] * pxPerMm, m_dCentreY[i] * pxPerMm, client.Width(), client.Height());
        }
    }
    if (!m_bAnyDivCheck || (!print && (m_nRows[1] <= 0 || !m_bShowDivider))) return;
    CDCStateSaver saver(*pDC);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    CPen pen2(PS_SOLID, print ? 3 : 2, RGB(46, 139, 87));
    CPen pen3(PS_SOLID, print ? 3 : 2, RGB(255, 0, 0));
    CPen pen1(PS_SOLID, print ? 3 : 2, RGB(0, 0, 255));
    CPen* pens[3] = {g_pPenBlue && !print ? g_pPenBlue : &pen1, &pen2, &pen3};
    const bool onlyFirst = m_bDivCheck[0] && !m_bDivCheck[1] && !m_bDivCheck[2];
    const int rise = MulDiv(rect.Height(), m_nColumns[1], 6);
    for (int i = 2; i >= 0; --i) {
        if (!m_bDivCheck[i]) continue;
        CRect left = m_rcGrip[i][0], right = m_rcGrip[i][1], handle = m_rcHandle[i];
        if (print) {
            left = ToPrint(left, client, rect);
            right = ToPrint(right, client, rect);
            handle = ToPrint(handle, client, rect);
        }
        CDCObjectSelector<CPen> selector(*pDC, pens[i]);
        pDC->Ellipse(&left);
        pDC->Ellipse(&right);
        const CPoint a = left.CenterPoint(), b = right.CenterPoint();
        const int top = std::max<int>(rect.top, a.y - rise);
        pDC->MoveTo(a.x, a.y);
        pDC->LineTo(a.x, top);
        pDC->LineTo(b.x, top);
        pDC->LineTo(b.x, b.y);
        pDC->Rectangle(&handle);
        if (i == 0 && onlyFirst && b.x > a.x) {
            // Caliper I alone repeats its beat across the strip.
            const int step = b.x - a.x;
            for (int x = a.x - ((a.x - rect.left) / step) * step; x < rect.right; x += step) {
                pDC->MoveTo(x, top);
                pDC->LineTo(x, rect.bottom);
            }
        }
        DrawDividerInformation(pDC, rect, CPoint(right.right, right.bottom), i, ratio);
    }
}

void CViewSerialComRhy::DrawReadingBox(CDC* pDC, CRect rect, CPoint point, const CString& text, COLORREF colour,
                                       float ratio)
{
    // The scaled font outlives its selection: it is put back before it is deleted.
    CFont scaled;
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> fontSelection(*pDC);
    if (CFont* font = m_pBaseDoc ? m_pBaseDoc->GetDocFont(1) : nullptr) {
        LOGFONT lf{};
        font->GetLogFont(&lf);
        lf.lfHeight = static_cast<LONG>(lf.lfHeight * std::max(ratio, 1.0f));
        if (scaled.CreateFontIndirect(&lf)) fontSelection.Select(&scaled);
    }
    const CSize size = pDC->GetTextExtent(text);
    const int h = size.cy;
    const int x = std::min<int>(point.x, rect.right - 2 * h / 5 - size.cx);
    const int y = std::min<int>(point.y, rect.bottom - 7 * h / 5);
    CBrush paper(kReadingPaper);
    CPen border(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CBrush> brush(*pDC, &paper);
    CDCObjectSelector<CPen> pen(*pDC, &border);
    pDC->RoundRect(x, y, x + size.cx + 2 * h / 5, y + 7 * h / 5, h / 5, h / 5);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(colour);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(x + h / 5, y + h / 5, text);
    scaled.DeleteObject();
}

void CViewSerialComRhy::DrawDividerInformation(CDC* pDC, CRect rect, CPoint point, int caliper, float ratio)
{
    if (caliper < 0 || caliper > 2) return;
    const int interval = m_nDivInterval[caliper];
    CString rate;
    if (interval > 0)
        rate.Format(L"%d%s", 60000 / interval, L"[bpm]");
    else
        rate = L"   ";
    CString line;
    line.Format(L"%s%s  %s%d%s  %s %s", L"心拍测量", kCaliperNames[caliper], L"Dur.", interval, L"[mS]",
                L"心拍数换算值", rate.GetString());
    DrawReadingBox(pDC, rect, point, line, kCaliperText[caliper], ratio);
}

// ---- the scale ------------------------------------------------------------------------------------------

void CViewSerialComRhy::ShowScale(BOOL show)
{
    SetScaleClear();
    if (!show) m_nScaleStatus = -1;
    SetCurrentCursor(g_hCursorMag);
}

void CViewSerialComRhy::SetScaleClear()
{
    CTavrionDoc* doc = RecordDoc();
    m_nScaleStatus = doc && doc->GetScaleShow() ? 0 : -1;
    for (int i = 0; i < 2; ++i) {
        m_ptScale[i] = CPoint(0, 0);
        m_dScaleMmX[i] = m_dScaleMmY[i] = 0.0;
        m_rcScale[i].SetRectEmpty();
        m_bScaleGrab[i] = FALSE;
    }
    SetRulerMarkRect(-1);
    m_nScaleTime = m_nScaleVoltage = 0;
}

void CViewSerialComRhy::SetScalePoint(int mark, CPoint point)
{
    if (mark < 0 || mark > 1) return;
    CRect client;
    if (GetSafeHwnd()) GetClientRect(&client);
    m_ptScale[mark] = point;
    if (client.Width() > 0 && client.Height() > 0 && m_nGridColumns > 0 && m_nGridRows > 0) {
        m_dScaleMmX[mark] = static_cast<double>(point.x) * m_nGridColumns / client.Width();
        m_dScaleMmY[mark] = static_cast<double>(point.y) * m_nGridRows / client.Height();
    }
    const int u = static_cast<int>(PixelsPerMm(client.Width()));
    m_rcScale[mark] = CRect(point.x - 2 * u, point.y - 2 * u, point.x + 3 * u, point.y + 3 * u);
}

void CViewSerialComRhy::DrawScale(CDC* pDC, CRect rect, float width)
{
    CTavrionDoc* doc = RecordDoc();
    if (m_nScaleStatus == -1 || LeadCount(0) <= 0 || !doc) return;
    CDCStateSaver saver(*pDC);
    const COLORREF colour = doc->GetWaveColor(4);
    CPen pen(PS_SOLID, std::max(1, static_cast<int>(width)), colour);
    CBrush brush(colour);
    CDCObjectSelector<CPen> penSelector(*pDC, &pen);
    CDCObjectSelector<CBrush> brushSelector(*pDC, &brush);
    CRect client;
    GetClientRect(&client);
    const bool onPaper = width >= 1.5f;
    const int marks = m_nScaleStatus == 1 ? 1 : 2;
    for (int i = 0; i < 2; ++i) m_rcPrintScale[i] = ToPrint(m_rcScale[i], client, rect);
    for (int i = 0; i < marks; ++i) {
        const CRect square = onPaper ? m_rcPrintScale[i] : m_rcScale[i];
        const CPoint at = square.CenterPoint();
        pDC->Ellipse(&square);
        // The cross-hair across the picture, broken at the mark.
        pDC->MoveTo(rect.left, at.y);
        pDC->LineTo(square.left, at.y);
        pDC->MoveTo(square.right, at.y);
        pDC->LineTo(rect.right, at.y);
        pDC->MoveTo(at.x, rect.top);
        pDC->LineTo(at.x, square.top);
        pDC->MoveTo(at.x, square.bottom);
        pDC->LineTo(at.x, rect.bottom);
    }
    DrawRulerMark(pDC, onPaper ? TRUE : FALSE);
    DrawScaleInformation(pDC, rect, (onPaper ? m_rcPrintScale[1] : m_rcScale[1]).BottomRight(), width);
}

void CViewSerialComRhy::DrawScaleInformation(CDC* pDC, CRect rect, CPoint point, float ratio)
{
    CTavrionDoc* doc = RecordDoc();
    CRect client;
    GetClientRect(&client);
    // The reading takes the speed and gain the traces are drawn at.
    const float speed = doc ? Speed(FALSE) : 0.0f;
    const float sense = doc ? Sense() : 0.0f;
    // Without a speed or sensitivity there is no reading.
    if (!doc || speed <= 0.0f || sense <= 0.0f || client.Width() <= 0 || client.Height() <= 0) return;
    const bool halved = HalvesChest(sense);
    m_nScaleTime = static_cast<int>((m_nGridColumns / speed) * std::abs(m_ptScale[1].x - m_ptScale[0].x) * 1000.0 /
                                    client.Width());
    m_nScaleVoltage = static_cast<int>((m_nGridRows / sense) * std::abs(m_ptScale[1].y - m_ptScale[0].y) *
                                       (halved ? 2000.0 : 1000.0) / client.Height());
    CString line;
    line.Format(L" %d%s  %s%5.3f%s", m_nScaleTime, L"[mS]", m_bShowChestLead ? L"胸部:" : L"四肢:",
                m_nScaleVoltage * 0.001, L"[mV]");
    DrawReadingBox(pDC, rect, point, line, RGB(0, 0, 0), ratio);
}

void CViewSerialComRhy::SetRulerMarkRect(int mark)
{
    m_nSelectedMark = mark;
    if (mark < 0 || mark > 1) {
        for (CRect& r : m_rcRuler) r.SetRectEmpty();
        m_nSelectedMark = -1;
        return;
    }
    RulerSquares(m_rcScale[mark], m_rcRuler);
}

void CViewSerialComRhy::DrawRulerMark(CDC* pDC, BOOL print)
{
    if (m_nSelectedMark < 0) return;
    CDCStateSaver saver(*pDC);
    pDC->SelectStockObject(HOLLOW_BRUSH);
    CRect printed[4];
    if (print) RulerSquares(m_rcPrintScale[m_nSelectedMark], printed);
    for (int i = 0; i < 4; ++i) pDC->Rectangle(print ? &printed[i] : &m_rcRuler[i]);
}
