#include "platform/gdi/Dc.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>

IMPLEMENT_DYNCREATE(CDC, CObject)

namespace {

std::mutex& MapMutex()
{
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

std::unordered_map<HDC, CDC*>& PermanentDCs()
{
    static auto* map = new std::unordered_map<HDC, CDC*>;
    return *map;
}

std::unordered_map<HDC, std::unique_ptr<CDC>>& TemporaryDCs()
{
    static auto* map = new std::unordered_map<HDC, std::unique_ptr<CDC>>;
    return *map;
}

}  // namespace

CDC::~CDC()
{
    if (m_hDC) ::DeleteDC(Detach());
    m_tempObjects.RemoveAll();
}

CDC* CDC::FromHandle(HDC hDC)
{
    if (!hDC || ::GetObjectType(reinterpret_cast<HGDIOBJ>(hDC)) == 0) return nullptr;
    std::lock_guard<std::mutex> lock(MapMutex());
    auto permanent = PermanentDCs().find(hDC);
    if (permanent != PermanentDCs().end()) return permanent->second;
    std::unique_ptr<CDC>& temporary = TemporaryDCs()[hDC];
    if (!temporary) {
        // Set directly, not attached: a temporary CDC never deletes the DC.
        temporary = std::make_unique<CDC>();
        temporary->m_hDC = hDC;
        temporary->m_hAttribDC = hDC;
    }
    return temporary.get();
}

void CDC::DeleteTempMap()
{
    std::unordered_map<HDC, std::unique_ptr<CDC>> doomed;
    {
        std::lock_guard<std::mutex> lock(MapMutex());
        doomed.swap(TemporaryDCs());
    }
    for (auto& entry : doomed) {
        entry.second->m_hDC = nullptr;
        entry.second->m_hAttribDC = nullptr;
    }
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC) return FALSE;
    m_hDC = hDC;
    SetAttribDC(hDC);
    // Printer DCs print; memory DCs made from them only render for them.
    m_bPrinting = ::GetObjectType(reinterpret_cast<HGDIOBJ>(hDC)) == OBJ_DC &&
                  ::GetDeviceCaps(hDC, TECHNOLOGY) == DT_RASPRINTER;
    std::lock_guard<std::mutex> lock(MapMutex());
    PermanentDCs()[hDC] = this;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC) {
        std::lock_guard<std::mutex> lock(MapMutex());
        auto found = PermanentDCs().find(hDC);
        if (found != PermanentDCs().end() && found->second == this) PermanentDCs().erase(found);
    }
    m_tempObjects.RemoveAll();
    ReleaseAttribDC();
    ReleaseOutputDC();
    m_bPrinting = FALSE;
    return hDC;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (m_hDC) return FALSE;
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData)
{
    if (m_hDC) return FALSE;
    return Attach(::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODEW*>(lpInitData)));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int level = 0;
    if (m_hAttribDC) level = ::SaveDC(m_hAttribDC);
    if (m_hDC != m_hAttribDC && ::SaveDC(m_hDC) != 0) level = -1;   // the two DCs' levels differ; -1 restores both
    return level;
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    BOOL result = TRUE;
    if (m_hDC != m_hAttribDC) result = ::RestoreDC(m_hDC, nSavedDC);
    if (m_hAttribDC) result = ::RestoreDC(m_hAttribDC, nSavedDC) && result;
    return result;
}

int CDC::GetDeviceCaps(int nIndex) const
{
    return ::GetDeviceCaps(m_hAttribDC, nIndex);
}

CGdiObject* CDC::Wrap(HGDIOBJ handle) const
{
    return m_tempObjects.Lookup(handle);
}

HGDIOBJ CDC::SelectHandle(HGDIOBJ handle)
{
    HGDIOBJ previous = nullptr;
    if (m_hDC != m_hAttribDC) previous = ::SelectObject(m_hDC, handle);
    if (m_hAttribDC) previous = ::SelectObject(m_hAttribDC, handle);
    return previous;
}

CPen* CDC::SelectObject(CPen* pPen)
{
    if (!pPen) return nullptr;
    return static_cast<CPen*>(Wrap(SelectHandle(pPen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    if (!pBrush) return nullptr;
    return static_cast<CBrush*>(Wrap(SelectHandle(pBrush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    if (!pFont) return nullptr;
    return static_cast<CFont*>(Wrap(SelectHandle(pFont->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    if (!pBitmap) return nullptr;
    return static_cast<CBitmap*>(Wrap(SelectHandle(pBitmap->m_hObject)));
}

int CDC::SelectObject(CRgn* pRgn)
{
    return SelectClipRgn(pRgn);
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (!pObject) return nullptr;
    if (pObject->GetObjectType() == OBJ_REGION) {
        SelectClipRgn(static_cast<CRgn*>(pObject));
        return nullptr;
    }
    return Wrap(SelectHandle(pObject->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    HGDIOBJ stock = ::GetStockObject(nIndex);
    if (!stock) return nullptr;
    return Wrap(SelectHandle(stock));
}

CPen* CDC::GetCurrentPen() const
{
    return static_cast<CPen*>(Wrap(::GetCurrentObject(m_hDC, OBJ_PEN)));
}

CBrush* CDC::GetCurrentBrush() const
{
    return static_cast<CBrush*>(Wrap(::GetCurrentObject(m_hDC, OBJ_BRUSH)));
}

CFont* CDC::GetCurrentFont() const
{
    return static_cast<CFont*>(Wrap(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return static_cast<CBitmap*>(Wrap(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

COLORREF CDC::GetTextColor() const
{
    return ::GetTextColor(m_hAttribDC);
}

COLORREF CDC::SetTextColor(COLORREF crColor)
{
    COLORREF previous = CLR_INVALID;
    if (m_hDC != m_hAttribDC) previous = ::SetTextColor(m_hDC, crColor);
    if (m_hAttribDC) previous = ::SetTextColor(m_hAttribDC, crColor);
    return previous;
}

COLORREF CDC::GetBkColor() const
{
    return ::GetBkColor(m_hAttribDC);
}

COLORREF CDC::SetBkColor(COLORREF crColor)
{
    COLORREF previous = CLR_INVALID;
    if (m_hDC != m_hAttribDC) previous = ::SetBkColor(m_hDC, crColor);
    if (m_hAttribDC) previous = ::SetBkColor(m_hAttribDC, crColor);
    return previous;
}

int CDC::GetBkMode() const
{
    return ::GetBkMode(m_hAttribDC);
}

int CDC::SetBkMode(int nBkMode)
{
    int previous = 0;
    if (m_hDC != m_hAttribDC) previous = ::SetBkMode(m_hDC, nBkMode);
    if (m_hAttribDC) previous = ::SetBkMode(m_hAttribDC, nBkMode);
    return previous;
}

UINT CDC::GetTextAlign() const
{
    return ::GetTextAlign(m_hAttribDC);
}

UINT CDC::SetTextAlign(UINT nFlags)
{
    UINT previous = GDI_ERROR;
    if (m_hDC != m_hAttribDC) previous = ::SetTextAlign(m_hDC, nFlags);
    if (m_hAttribDC) previous = ::SetTextAlign(m_hAttribDC, nFlags);
    return previous;
}

int CDC::GetROP2() const
{
    return ::GetROP2(m_hAttribDC);
}

int CDC::SetROP2(int nDrawMode)
{
    int previous = 0;
    if (m_hDC != m_hAttribDC) previous = ::SetROP2(m_hDC, nDrawMode);
    if (m_hAttribDC) previous = ::SetROP2(m_hAttribDC, nDrawMode);
    return previous;
}

int CDC::GetMapMode() const
{
    return ::GetMapMode(m_hAttribDC);
}

int CDC::SetMapMode(int nMapMode)
{
    int previous = 0;
    if (m_hDC != m_hAttribDC) previous = ::SetMapMode(m_hDC, nMapMode);
    if (m_hAttribDC) previous = ::SetMapMode(m_hAttribDC, nMapMode);
    return previous;
}

int CDC::GetPolyFillMode() const
{
    return ::GetPolyFillMode(m_hAttribDC);
}

int CDC::SetPolyFillMode(int nPolyFillMode)
{
    int previous = 0;
    if (m_hDC != m_hAttribDC) previous = ::SetPolyFillMode(m_hDC, nPolyFillMode);
    if (m_hAttribDC) previous = ::SetPolyFillMode(m_hAttribDC, nPolyFillMode);
    return previous;
}

int CDC::GetStretchBltMode() const
{
    return ::GetStretchBltMode(m_hAttribDC);
}

int CDC::SetStretchBltMode(int nStretchMode)
{
    int previous = 0;
    if (m_hDC != m_hAttribDC) previous = ::SetStretchBltMode(m_hDC, nStretchMode);
    if (m_hAttribDC) previous = ::SetStretchBltMode(m_hAttribDC, nStretchMode);
    return previous;
}

CPoint CDC::GetViewportOrg() const
{
    POINT point = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &point);
    return CPoint(point);
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC) ::SetViewportOrgEx(m_hDC, x, y, &previous);
    if (m_hAttribDC) ::SetViewportOrgEx(m_hAttribDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC) ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &previous);
    if (m_hAttribDC) ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &previous);
    return CPoint(previous);
}

CPoint CDC::GetWindowOrg() const
{
    POINT point = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &point);
    return CPoint(point);
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC) ::SetWindowOrgEx(m_hDC, x, y, &previous);
    if (m_hAttribDC) ::SetWindowOrgEx(m_hAttribDC, x, y, &previous);
    return CPoint(previous);
}

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC) ::OffsetWindowOrgEx(m_hDC, nWidth, nHeight, &previous);
    if (m_hAttribDC) ::OffsetWindowOrgEx(m_hAttribDC, nWidth, nHeight, &previous);
    return CPoint(previous);
}

void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const
{
    ::LPtoDP(m_hAttribDC, lpPoints, nCount);
}

void CDC::LPtoDP(LPRECT lpRect) const
{
    ::LPtoDP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const
{
    ::DPtoLP(m_hAttribDC, lpPoints, nCount);
}

void CDC::DPtoLP(LPRECT lpRect) const
{
    ::DPtoLP(m_hAttribDC, reinterpret_cast<LPPOINT>(lpRect), 2);
}

int CDC::GetClipBox(LPRECT lpRect) const
{
    return ::GetClipBox(m_hDC, lpRect);
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC) result = ::IntersectClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC) result = ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2);
    return result;
}

int CDC::IntersectClipRect(LPCRECT lpRect)
{
    if (!lpRect) return ERROR;
    return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    int result = ERROR;
    if (m_hDC != m_hAttribDC) result = ::ExcludeClipRect(m_hDC, x1, y1, x2, y2);
    if (m_hAttribDC) result = ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2);
    return result;
}

int CDC::ExcludeClipRect(LPCRECT lpRect)
{
    if (!lpRect) return ERROR;
    return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

int CDC::SelectClipRgn(CRgn* pRgn)
{
    return SelectClipRgn(pRgn, RGN_COPY);
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    HRGN region = pRgn ? reinterpret_cast<HRGN>(pRgn->m_hObject) : nullptr;
    int result = ERROR;
    if (m_hDC != m_hAttribDC) result = ::ExtSelectClipRgn(m_hDC, region, nMode);
    if (m_hAttribDC) result = ::ExtSelectClipRgn(m_hAttribDC, region, nMode);
    return result;
}

BOOL CDC::PtVisible(int x, int y) const
{
    return ::PtVisible(m_hDC, x, y);
}

BOOL CDC::RectVisible(LPCRECT lpRect) const
{
    return ::RectVisible(m_hDC, lpRect);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT previous = {0, 0};
    if (m_hDC != m_hAttribDC) ::MoveToEx(m_hDC, x, y, &previous);
    if (m_hAttribDC) ::MoveToEx(m_hAttribDC, x, y, &previous);
    return CPoint(previous);
}

BOOL CDC::LineTo(int x, int y)
{
    // The attribute DC keeps the current position in step.
    if (m_hAttribDC && m_hAttribDC != m_hDC) ::MoveToEx(m_hAttribDC, x, y, nullptr);
    return ::LineTo(m_hDC, x, y);
}

CPoint CDC::GetCurrentPosition() const
{
    POINT point = {0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &point);
    return CPoint(point);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2)
{
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT lpRect)
{
    if (!lpRect) return FALSE;
    return ::Rectangle(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

BOOL CDC::Polyline(const POINT* lpPoints, int nCount)
{
    return ::Polyline(m_hDC, lpPoints, nCount);
}

BOOL CDC::PolyPolyline(const POINT* lpPoints, const DWORD* lpPolyPoints, int nCount)
{
    return nCount < 0 ? FALSE : ::PolyPolyline(m_hDC, lpPoints, lpPolyPoints, static_cast<DWORD>(nCount));
}

BOOL CDC::Polygon(const POINT* lpPoints, int nCount)
{
    return ::Polygon(m_hDC, lpPoints, nCount);
}

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT lpRect, POINT point)
{
    if (!lpRect) return FALSE;
    return RoundRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
}

BOOL CDC::Ellipse(int x1, int y1, int x2, int y2)
{
    return ::Ellipse(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Ellipse(LPCRECT lpRect)
{
    if (!lpRect) return FALSE;
    return ::Ellipse(m_hDC, lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!pBrush) return;
    ::FrameRect(m_hDC, lpRect, reinterpret_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::InvertRect(LPCRECT lpRect)
{
    ::InvertRect(m_hDC, lpRect);
}

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    if (!pRgn || !pBrush) return FALSE;
    return ::FillRgn(m_hDC, reinterpret_cast<HRGN>(pRgn->m_hObject), reinterpret_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    if (!lpRect) return;
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    // Through FillSolidRect, so the background colour is left at clrBottomRight.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}

void CDC::DrawFocusRect(LPCRECT lpRect)
{
    ::DrawFocusRect(m_hDC, lpRect);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush)
{
    if (!pBrush) return;
    ::FillRect(m_hDC, lpRect, reinterpret_cast<HBRUSH>(pBrush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    const RECT rect = {x, y, x + cx, y + cy};
    FillSolidRect(&rect, clr);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
{
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor)
{
    return ::SetPixel(m_hDC, x, y, crColor);
}

BOOL CDC::SetPixelV(int x, int y, COLORREF crColor)
{
    return ::SetPixelV(m_hDC, x, y, crColor);
}

COLORREF CDC::GetPixel(int x, int y) const
{
    return ::GetPixel(m_hDC, x, y);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon)
{
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, pt.x, pt.y, size.cx, size.cy,
                        (nFlags & ~0xFu) | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, CBrush* pBrush)
{
    return DrawState(pt, size, hIcon, nFlags, pBrush ? reinterpret_cast<HBRUSH>(pBrush->m_hObject) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(hBitmap), 0, pt.x, pt.y, size.cx, size.cy,
                        (nFlags & ~0xFu) | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, CBrush* pBrush)
{
    if (!pBitmap) return FALSE;
    return DrawState(pt, size, reinterpret_cast<HBITMAP>(pBitmap->m_hObject), nFlags,
                     pBrush ? reinterpret_cast<HBRUSH>(pBrush->m_hObject) : nullptr);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen,
                    HBRUSH hBrush)
{
    const UINT type = bPrefixText ? DST_PREFIXTEXT : DST_TEXT;
    return ::DrawStateW(m_hDC, hBrush, nullptr, reinterpret_cast<LPARAM>(lpszText), (WPARAM)std::max(0, nTextLen),
                        pt.x, pt.y, size.cx, size.cy, (nFlags & ~0xFu) | type);
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
{
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText(str.GetString(), str.GetLength(), lpRect, nFormat);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount)
{
    return ::TextOutW(m_hDC, x, y, lpszString, nCount);
}

BOOL CDC::TextOut(int x, int y, const CString& str)
{
    return TextOut(x, y, str.GetString(), str.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths)
{
    return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT lpDxWidths)
{
    return ExtTextOut(x, y, nOptions, lpRect, str.GetString(), (UINT)str.GetLength(), lpDxWidths);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32W(m_hAttribDC, lpszString, nCount, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const
{
    return GetTextExtent(str.GetString(), str.GetLength());
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    return ::GetTextMetricsW(m_hAttribDC, lpMetrics);
}

int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const
{
    return ::GetTextFaceW(m_hAttribDC, nCount, lpszFacename);
}

int CDC::GetTextFace(CString& rString) const
{
    const int length = ::GetTextFaceW(m_hAttribDC, 0, nullptr);
    if (length <= 0) {
        rString.Empty();
        return 0;
    }
    const int result = ::GetTextFaceW(m_hAttribDC, length, rString.GetBuffer(length));
    rString.ReleaseBuffer();
    return result;
}

int CDC::StartDoc(LPDOCINFO lpDocInfo)
{
    return ::StartDocW(m_hDC, lpDocInfo);
}

int CDC::StartDoc(LPCTSTR lpszDocName)
{
    DOCINFO info = {};
    info.cbSize = (int)sizeof info;
    info.lpszDocName = lpszDocName;
    return StartDoc(&info);
}

int CDC::StartPage()
{
    return ::StartPage(m_hDC);
}

int CDC::EndPage()
{
    return ::EndPage(m_hDC);
}

int CDC::EndDoc()
{
    return ::EndDoc(m_hDC);
}

int CDC::AbortDoc()
{
    return ::AbortDoc(m_hDC);
}

int CDC::SetAbortProc(ABORTPROC lpfn)
{
    return ::SetAbortProc(m_hDC, lpfn);
}
