// CEnlargedRuler: the two-mark ruler of the enlarged views, and their zoom steps.
#include "waveviews/EnlargedRuler.h"

#include "waveviews/EnlargedZoom.h"

#include <algorithm>
#include <cmath>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Resources.h"
#include "waveviews/WaveView.h"

BOOL ReadEnlargedRecordInt16(CTavrionDoc* doc, _ECGDATA* record, UINT tag, UINT index, int* value)
{
    if (!doc || !record || !value) return FALSE;
    BYTE bytes[2] = {};
    if (doc->ecgGetData(record, tag, index, bytes, sizeof(bytes), ECG_DATA_RAW) < 2) return FALSE;
    *value = static_cast<short>(bytes[0] | (bytes[1] << 8));
    return TRUE;
}

COLORREF EnlargedRulerColour(const CTavrionDoc* doc)
{
    if (!doc) return RGB(255, 255, 255);
    return (doc->GetWaveColor(4) ^ doc->GetWaveColor(2)) & 0xFFFFFF;
}

void DrawEnlargedLabels(CDC* pDC, const CTavrionDoc* doc, const CRect& client, CString leadName, int step)
{
    if (!pDC) return;
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC, g_pDlgFontNormal);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->SetTextColor(doc ? doc->GetWaveColor(3) : RGB(0, 0, 0));
    leadName.TrimRight();
    if (!leadName.IsEmpty()) pDC->TextOut(10, client.Height() / 3, leadName);
    if (const wchar_t* label = EnlargedZoomLabel(step)) {
        const CString text(label);
        const CSize size = pDC->GetTextExtent(text);
        pDC->TextOut(client.Width() - size.cx - 10, client.Height() - size.cy - 10, text);
    }
}

LRESULT SendToEnlargedDialog(CWnd& view, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* frame = view.GetParent();
    CWnd* dialog = frame ? frame->GetParent() : nullptr;
    return dialog ? dialog->SendMessage(message, wParam, lParam) : 0;
}

BOOL IsEnlargedArrowKey(WPARAM key)
{
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

int EnlargedPanOffset(int offset, int delta, int extent)
{
    return std::max(-extent, std::min(extent, offset + delta));
}

int EnlargedRulerMicrovolts(int down, int dy, int height, float sense)
{
    return sense > 0.0f ? static_cast<int>(down * dy / static_cast<double>(height) / sense * 1000.0) : 0;
}

BOOL PressEnlargedRuler(CWaveView& view, CEnlargedRuler& ruler, CPoint point)
{
    if (ruler.GetStatus() == RULER_STATUS_OFF) return FALSE;
    ruler.ButtonDown(view, point, EnlargedRulerColour(view.GetTavrionDoc()));
    return TRUE;
}

BOOL MoveEnlargedRuler(CWaveView& view, CEnlargedRuler& ruler, UINT flags, CPoint point)
{
    HCURSOR cursor = view.GetCurrentCursor();
    const BOOL moved = ruler.MouseMove(view, flags, point, EnlargedRulerColour(view.GetTavrionDoc()), &cursor);
    view.SetCurrentCursor(cursor);
    return moved;
}

BOOL KeyEnlargedRuler(CWaveView& view, CEnlargedRuler& ruler, UINT key, BOOL* moved)
{
    *moved = FALSE;
    if (!IsEnlargedArrowKey(key)) return TRUE;
    const CEnlargedRuler::KeyResult result = ruler.ArrowKey(view, key, EnlargedRulerColour(view.GetTavrionDoc()));
    *moved = result == CEnlargedRuler::KeyResult::Moved;
    return result != CEnlargedRuler::KeyResult::AtEdge;
}

BOOL PreTranslateEnlargedView(CWnd& view, MSG* pMsg)
{
    if (!pMsg) return FALSE;
    if (view.IsDialogMessage(pMsg) && pMsg->message == WM_KEYDOWN && IsEnlargedArrowKey(pMsg->wParam))
        ::DispatchMessageW(pMsg);
    return TRUE;
}

// ---- the ruler -------------------------------------------------------------------

CEnlargedRuler::CEnlargedRuler() : m_ptCross(0, 0)
{
    for (int i = 0; i < kMarks; ++i) {
        m_ptMark[i] = CPoint(0, 0);
        m_rcMark[i].SetRectEmpty();
    }
    SetMarkRect(-1);
}

void CEnlargedRuler::SetStatus(_RULER_STATUS status)
{
    m_nStatus = status;
    // A selection belongs to the marks of state 2: a fresh ruler, or none,
    // must not move a mark the user cannot see.
    if (status != RULER_STATUS_BOTH)
        for (BOOL& selected : m_bSelected) selected = FALSE;
}

void CEnlargedRuler::SetMarkRect(int mark)
{
    if (mark < 0 || mark >= kMarks) {
        for (CRect& square : m_rcCorner) square.SetRectEmpty();
        return;
    }
    const CRect r = m_rcMark[mark];
    m_rcCorner[0].SetRect(2 * r.left - r.right, 2 * r.top - r.bottom, r.left, r.top);
    m_rcCorner[1].SetRect(r.right, 2 * r.top - r.bottom, 2 * r.right - r.left, r.top);
    m_rcCorner[2].SetRect(r.left, r.bottom, 2 * r.left - r.right, 2 * r.bottom - r.top);
    m_rcCorner[3].SetRect(r.right, r.bottom, 2 * r.right - r.left, 2 * r.bottom - r.top);
}

void CEnlargedRuler::DrawCornerSquares(CDC* pDC) const
{
    if (!pDC) return;
    for (const CRect& square : m_rcCorner)
        if (!square.IsRectNull()) pDC->Rectangle(&square);
}

void CEnlargedRuler::DrawMarkFigure(CDC* pDC, const CRect& client, CPoint point, const CRect& box)
{
    pDC->Ellipse(&box);
    pDC->MoveTo(0, point.y);
    pDC->LineTo(box.left + 1, point.y);
    pDC->MoveTo(box.right, point.y);
    pDC->LineTo(client.right, point.y);
    pDC->MoveTo(point.x, 0);
    pDC->LineTo(point.x, box.top);
    pDC->MoveTo(point.x, box.bottom);
    pDC->LineTo(point.x, client.bottom);
}

template <class Figure> void CEnlargedRuler::DrawXor(CWnd& view, COLORREF rulerColour, Figure figure)
{
    CClientDC dc(&view);
    CRect client;
    view.GetClientRect(&client);
    CDCStateSaver state(dc);
    CPen pen(PS_SOLID, 1, rulerColour);
    CBrush brush(rulerColour);
    CDCObjectSelector<CPen> penSelection(dc, &pen);
    CDCObjectSelector<CBrush> brushSelection(dc, &brush);
    dc.SetROP2(R2_XORPEN);
    figure(&dc, client);
}

void CEnlargedRuler::Paint(CDC* pDC, const CRect& client, COLORREF rulerColour)
{
    m_bClear = TRUE;
    if (!pDC || (m_nStatus != RULER_STATUS_FIRST && m_nStatus != RULER_STATUS_BOTH)) return;
    CDCStateSaver state(*pDC);
    CPen pen(PS_SOLID, 1, rulerColour);
    CBrush brush(rulerColour);
    CDCObjectSelector<CPen> penSelection(*pDC, &pen);
    CDCObjectSelector<CBrush> brushSelection(*pDC, &brush);
    pDC->SetROP2(R2_XORPEN);
    DrawMarkFigure(pDC, client, m_ptMark[0], m_rcMark[0]);
    if (m_nStatus != RULER_STATUS_BOTH) return;
    m_bClear = FALSE;
    DrawMarkFigure(pDC, client, m_ptMark[1], m_rcMark[1]);
    DrawCornerSquares(pDC);
}

void CEnlargedRuler::SetMark(int mark, CPoint point)
{
    m_ptMark[mark] = point;
    m_rcMark[mark] = MarkBox(point);
}

void CEnlargedRuler::MoveCrosshair(CWnd& view, CPoint point, COLORREF rulerColour)
{
    const CPoint old = m_ptCross;
    const BOOL erase = !m_bClear;
    DrawXor(view, rulerColour, [&](CDC* dc, const CRect& client) {
        if (erase) DrawMarkFigure(dc, client, old, MarkBox(old));
        DrawMarkFigure(dc, client, point, MarkBox(point));
    });
    m_bClear = FALSE;
    m_ptCross = point;
}

void CEnlargedRuler::RelocateMark(CWnd& view, int mark, CPoint point, COLORREF rulerColour)
{
    const CPoint old = m_ptMark[mark];
    const CRect oldBox = m_rcMark[mark];
    const BOOL erase = !m_bClear;
    DrawXor(view, rulerColour, [&](CDC* dc, const CRect& client) {
        if (erase) DrawMarkFigure(dc, client, old, oldBox);
        DrawCornerSquares(dc);
        SetMark(mark, point);
        SetMarkRect(mark);
        DrawMarkFigure(dc, client, point, m_rcMark[mark]);
        DrawCornerSquares(dc);
    });
    m_bClear = FALSE;
}

int CEnlargedRuler::FirstSelected() const
{
    for (int i = 0; i < kMarks; ++i)
        if (m_bSelected[i]) return i;
    return -1;
}

BOOL CEnlargedRuler::ButtonDown(CWnd& view, CPoint point, COLORREF rulerColour)
{
    switch (m_nStatus) {
    case RULER_STATUS_ARMED: {
        // The crosshair already stands where the mark goes when the click
        // follows a move; otherwise it is moved there, so that the screen
        // shows the mark that was set.
        if (m_bClear || m_ptCross != point) MoveCrosshair(view, point, rulerColour);
        SetMark(0, point);
        m_bClear = TRUE;
        m_nStatus = RULER_STATUS_FIRST;
        return FALSE;
    }
    case RULER_STATUS_FIRST:
        m_nStatus = RULER_STATUS_BOTH;
        return FALSE;
    case RULER_STATUS_BOTH: {
        bool any = false;
        for (int i = 0; i < kMarks; ++i) {
            m_bSelected[i] = !m_rcMark[i].IsRectEmpty() && m_rcMark[i].PtInRect(point);
            any = any || m_bSelected[i];
        }
        const int chosen = FirstSelected();
        DrawXor(view, rulerColour, [&](CDC* dc, const CRect&) {
            DrawCornerSquares(dc);
            SetMarkRect(any ? chosen : -1);
            DrawCornerSquares(dc);
        });
        return FALSE;
    }
    default:
        return FALSE;
    }
}

BOOL CEnlargedRuler::MouseMove(CWnd& view, UINT flags, CPoint point, COLORREF rulerColour, HCURSOR* cursor)
{
    if (m_nStatus == RULER_STATUS_ARMED || m_nStatus == RULER_STATUS_FIRST) {
        if (!m_bClear && point == m_ptCross) return FALSE;
        MoveCrosshair(view, point, rulerColour);
        if (m_nStatus == RULER_STATUS_ARMED) return FALSE;
        SetMark(1, point);
        return TRUE;
    }
    if (m_nStatus != RULER_STATUS_BOTH) return FALSE;
    const int mark = FirstSelected();
    if ((flags & MK_LBUTTON) && mark >= 0) {
        RelocateMark(view, mark, point, rulerColour);
        return TRUE;
    }
    if (cursor) {
        const bool overMark = m_rcMark[0].PtInRect(point) || m_rcMark[1].PtInRect(point);
        const HCURSOR hand = g_hCursorHand ? g_hCursorHand : ::LoadCursor(nullptr, IDC_ARROW);
        *cursor = overMark ? hand : ::LoadCursor(nullptr, IDC_SIZEALL);
    }
    return FALSE;
}

CEnlargedRuler::KeyResult CEnlargedRuler::ArrowKey(CWnd& view, UINT key, COLORREF rulerColour)
{
    const int mark = FirstSelected();
    if (m_nStatus == RULER_STATUS_OFF || mark < 0) return KeyResult::NotMine;
    CRect client;
    view.GetClientRect(&client);
    CPoint point = m_ptMark[mark];
    switch (key) {
    case VK_LEFT:
        if (point.x == 0) return KeyResult::AtEdge;
        --point.x;
        break;
    case VK_UP:
        if (point.y == 0) return KeyResult::AtEdge;
        --point.y;
        break;
    case VK_RIGHT:
        if (point.x == client.right) return KeyResult::AtEdge;
        ++point.x;
        break;
    case VK_DOWN:
        if (point.y == client.bottom) return KeyResult::AtEdge;
        ++point.y;
        break;
    default:
        return KeyResult::NotMine;
    }
    RelocateMark(view, mark, point, rulerColour);
    return KeyResult::Moved;
}
