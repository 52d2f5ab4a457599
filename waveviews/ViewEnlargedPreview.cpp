// CViewEnlargedPreview: the magnifier's picture and the canvas layout.
#include "waveviews/ViewEnlargedPreview.h"

#include <algorithm>
#include <cmath>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNCREATE(CViewEnlargedPreview, CWaveView)

BEGIN_MESSAGE_MAP(CViewEnlargedPreview, CWaveView)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {
// The paper colour of the document's palette.
constexpr int kPaperSlot = 28;
}  // namespace

CViewEnlargedPreview::CViewEnlargedPreview()
    : m_rcCanvas(0, 0, 0, 0), m_rcDraw(0, 0, 0, 0), m_rcVisible(0, 0, 0, 0)
{
}

CViewEnlargedPreview::~CViewEnlargedPreview()
{
    m_pMemSelection.reset();
    if (m_pMemDC) m_pMemDC->DeleteDC();
}

void CViewEnlargedPreview::SetScaleRatio(float ratio)
{
    // A ratio under 1 would make an empty picture and a division by zero.
    m_fScaleRatio = std::max(1.0f, std::trunc(ratio));
}

void CViewEnlargedPreview::CalcEnlargedRect(int left, int top, int right, int bottom, int cursorX, int cursorY,
                                            int gridX, int gridY)
{
    const int w = right - left;
    const int h = bottom - top;
    if (w <= 0 || h <= 0 || gridX <= 0 || gridY <= 0) {
        m_rcCanvas.SetRect(left, top, left, top);
        m_rcDraw.SetRect(0, 0, 0, 0);
        return;
    }
    const int sw = ::GetSystemMetrics(SM_CXSCREEN);
    const int sh = ::GetSystemMetrics(SM_CYSCREEN);
    int factor = std::max(std::max(1, sw / w), std::max(1, sh / h));
    while (static_cast<double>(w) * h * factor * factor > 2.0 * sw * sh && factor > 1) --factor;
    m_rcCanvas.SetRect(left, top, right * factor, bottom * factor);

    const double r = m_fScaleRatio;
    const int dw = static_cast<int>(w * r + 0.5);
    const int dh = static_cast<int>(h * r + 0.5);
    m_rcDraw.SetRect(0, 0, dw, dh);
    const double sx = static_cast<double>(dw) / gridX * 5.0;
    const double sy = static_cast<double>(dh) / gridY * 5.0;
    const int oy = static_cast<int>(std::trunc((m_rcCanvas.Height() * 0.5 - cursorY * r) / sy) * sy);
    const int ox = static_cast<int>(std::trunc((m_rcCanvas.Width() * 0.5 - cursorX * r) / sx) * sx);
    m_rcDraw.OffsetRect(ox, oy);
    m_rcCanvas.right += static_cast<int>(sx);
    m_rcCanvas.bottom += static_cast<int>(sy);

    if (m_rcDraw.bottom < m_rcCanvas.bottom) m_rcDraw.OffsetRect(0, m_rcCanvas.bottom - m_rcDraw.bottom);
    if (m_rcDraw.top > m_rcCanvas.top) m_rcDraw.OffsetRect(0, m_rcCanvas.top - m_rcDraw.top);
    if (m_rcDraw.right < m_rcCanvas.right) m_rcDraw.OffsetRect(m_rcCanvas.right - m_rcDraw.right, 0);
    if (m_rcDraw.left > m_rcCanvas.left) m_rcDraw.OffsetRect(m_rcCanvas.left - m_rcDraw.left, 0);

    if (m_rcCanvas.Width() > dw || m_rcCanvas.Height() > dh) m_rcCanvas.SetRect(left, top, dw, dh);
}

CRect CViewEnlargedPreview::GetVisibleRect()
{
    m_rcVisible.SetRect(-m_rcDraw.left, -m_rcDraw.top, std::min(m_rcDraw.right, m_rcCanvas.right) - m_rcDraw.left,
                        std::min(m_rcDraw.bottom, m_rcCanvas.bottom) - m_rcDraw.top);
    return m_rcVisible;
}

COLORREF CViewEnlargedPreview::PaperColour() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    return doc ? doc->GetWaveColor(kPaperSlot) : RGB(255, 255, 255);
}

CDC* CViewEnlargedPreview::GetMemDC()
{
    if (!m_pMemDC) return nullptr;
    OnEraseBkgnd(m_pMemDC.get());
    return m_pMemDC.get();
}

BOOL CViewEnlargedPreview::OnEraseBkgnd(CDC* pDC)
{
    if (!pDC) return TRUE;
    CRect box;
    pDC->GetClipBox(&box);
    pDC->FillSolidRect(&box, PaperColour());
    return TRUE;
}

void CViewEnlargedPreview::OnInitialUpdate()
{
    m_pMemSelection.reset();
    if (m_pMemDC) m_pMemDC->DeleteDC();
    m_pMemDC.reset();
    m_pMemBitmap.reset();
    if (!GetSafeHwnd()) return;
    CRect client;
    GetClientRect(&client);
    CClientDC windowDC(this);
    auto bitmap = std::make_unique<CBitmap>();
    auto memDC = std::make_unique<CDC>();
    if (!bitmap->CreateCompatibleBitmap(&windowDC, std::max(1, client.Width()), std::max(1, client.Height())))
        return;
    if (!memDC->CreateCompatibleDC(&windowDC)) return;
    auto selection = std::make_unique<CDCObjectSelector<CBitmap>>(*memDC, bitmap.get());
    memDC->FillSolidRect(&client, PaperColour());
    m_pMemBitmap = std::move(bitmap);
    m_pMemDC = std::move(memDC);
    m_pMemSelection = std::move(selection);
}

void CViewEnlargedPreview::OnDraw(CDC* pDC)
{
    if (!pDC || !m_pMemDC) return;
    CRect client;
    GetClientRect(&client);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), m_pMemDC.get(), 0, 0, SRCCOPY);
}

// The window drags itself: the presses and moves go to it unchanged.
void CViewEnlargedPreview::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CViewEnlargedPreview::OnMouseMove(UINT nFlags, CPoint point)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_MOUSEMOVE, nFlags, MAKELPARAM(point.x, point.y));
}

void CViewEnlargedPreview::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (CWnd* parent = GetParent()) parent->SendMessage(WM_LBUTTONUP, nFlags, MAKELPARAM(point.x, point.y));
}

BOOL CViewEnlargedPreview::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(g_hCursorHand ? g_hCursorHand : ::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}
