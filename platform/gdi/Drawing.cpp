// The Win32 drawing primitives: the DC turns logical coordinates into
// surface pixels and resolves its pen and brush; the driver draws.
#include <algorithm>

#include "platform/gdi/GdiInternal.h"

using namespace platform::gdi;

namespace {

typedef ObjectRef<DeviceContext> DcRef;

bool Contains(const RECT& rc, POINT p)
{
    return p.x >= rc.left && p.x < rc.right && p.y >= rc.top && p.y < rc.bottom;
}

}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || Rop3UsesSource(rop)) return FALSE;
    Driver* driver = dc->GetDriver();
    if (!driver) return FALSE;
    const RECT rect = Normalized(dc->ToSurface(RECT{x, y, x + width, y + height}));
    driver->PatBlt(rect, ResolveBrush(dc->State().brush), rop, dc->Attributes());
    return TRUE;
}

BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc, DWORD rop)
{
    DcRef dc = DcRef::Lookup(hdcDest);
    if (!dc || !dc->GetDriver()) return FALSE;
    // A negative extent takes the rectangle on the other side of the point,
    // for source and destination alike.
    if (width < 0) {
        x += width;
        xSrc += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        ySrc += height;
        height = -height;
    }
    PixelBuffer pixels;
    POINT sourceOrigin = {0, 0};
    COLORREF sourceBk = RGB(255, 255, 255);
    if (Rop3UsesSource(rop)) {
        DeviceContext* source = FindRecord<DeviceContext>(hdcSrc);
        if (!source || !source->GetDriver()) return FALSE;
        pixels = source->GetDriver()->Pixels();
        if (!pixels.IsValid()) return FALSE;
        sourceOrigin = source->ToSurface(POINT{xSrc, ySrc});
        sourceBk = source->State().bkColor & 0xFFFFFF;
    }
    const RECT dest = dc->ToSurface(RECT{x, y, x + width, y + height});
    return dc->GetDriver()->BitBlt(dest, pixels, sourceOrigin, sourceBk, ResolveBrush(dc->State().brush), rop,
                                   dc->Attributes())
               ? TRUE
               : FALSE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect || !dc->GetDriver()) return 0;
    COLORREF sysColor;
    if (!SystemColorBrush(brush, sysColor) && !FindRecord<BrushRecord>(brush)) return 0;
    // FillRect is PatBlt with PATCOPY: right and bottom edges excluded, ROP2 ignored.
    const RECT surface = dc->ToSurface(*rect);
    if (surface.left >= surface.right || surface.top >= surface.bottom) return 1;
    dc->GetDriver()->PatBlt(surface, ResolveBrush(brush), PATCOPY, dc->Attributes());
    return 1;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT oldPosition)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return FALSE;
    if (oldPosition) *oldPosition = dc->State().position;
    dc->State().position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !position) return FALSE;
    *position = dc->State().position;
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver()) return FALSE;
    const POINT points[2] = {dc->ToSurface(dc->State().position), dc->ToSurface(POINT{x, y})};
    dc->GetDriver()->Polyline(points, 2, ResolvePen(*dc), dc->Attributes());
    dc->State().position = POINT{x, y};
    return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver()) return FALSE;
    const RECT rect = Normalized(dc->ToSurface(RECT{left, top, right, bottom}));
    if (rect.left == rect.right || rect.top == rect.bottom) return TRUE;   // nothing to frame or fill
    dc->GetDriver()->Rectangle(rect, ResolvePen(*dc), ResolveBrush(dc->State().brush), dc->Attributes());
    return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver()) return CLR_INVALID;
    // SetPixel ignores the mix mode: the colour is set as given.
    return dc->GetDriver()->SetPixel(dc->ToSurface(POINT{x, y}), color & 0xFFFFFF, dc->Attributes());
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color)
{
    return SetPixel(hdc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC hdc, int x, int y)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver()) return CLR_INVALID;
    // A pixel outside the clip cannot be read, as in GDI.
    const POINT p = dc->ToSurface(POINT{x, y});
    if (!Contains(dc->DrawableArea(), p)) return CLR_INVALID;
    return dc->GetDriver()->GetPixel(p);
}
