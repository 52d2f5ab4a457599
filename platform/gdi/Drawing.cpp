// The Win32 drawing primitives: the DC turns logical coordinates into
// surface pixels and resolves its pen and brush; the driver draws.
#include <algorithm>
#include <cstdlib>
#include <vector>

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

namespace {

// The figure's points in surface pixels; false for too few points.
bool SurfacePoints(const DeviceContext& dc, const POINT* points, int count, int least, std::vector<POINT>& out)
{
    if (!points || count < least) return false;
    out.resize((size_t)count);
    for (int i = 0; i < count; ++i) out[(size_t)i] = dc.ToSurface(points[i]);
    return true;
}

BOOL DrawShape(HDC hdc, ShapeSpec::Kind kind, const RECT& logical, SIZE corner)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver()) return FALSE;
    ShapeSpec shape;
    shape.kind = kind;
    shape.box = Normalized(dc->ToSurface(logical));
    if (shape.box.left == shape.box.right || shape.box.top == shape.box.bottom) return TRUE;   // nothing to draw
    const long long width = (long long)shape.box.right - shape.box.left;
    const long long height = (long long)shape.box.bottom - shape.box.top;
    shape.corner = SIZE{(LONG)std::min<long long>(std::llabs((long long)corner.cx), width),
                        (LONG)std::min<long long>(std::llabs((long long)corner.cy), height)};
    dc->GetDriver()->Shape(shape, ResolvePen(*dc), ResolveBrush(dc->State().brush), dc->Attributes());
    return TRUE;
}

// A COLOR_x pseudo brush or a real one, or nothing.
bool ValidBrush(HBRUSH brush)
{
    COLORREF color;
    return SystemColorBrush(brush, color) || FindRecord<BrushRecord>(brush);
}

DeviceBrush SolidBrush(COLORREF color)
{
    DeviceBrush brush;
    brush.style = BS_SOLID;
    brush.color = color & 0xFFFFFF;
    return brush;
}

// Paints logical rectangles of the DC with a brush and a raster operation.
void PaintRects(DeviceContext& dc, const std::vector<RECT>& rects, const DeviceBrush& brush, DWORD rop)
{
    const DrawAttributes attr = dc.Attributes();
    for (const RECT& rc : rects) {
        const RECT surface = Normalized(dc.ToSurface(rc));
        if (!IsEmpty(surface)) dc.GetDriver()->PatBlt(surface, brush, rop, attr);
    }
}

}  // namespace

BOOL Polyline(HDC hdc, const POINT* points, int count)
{
    DcRef dc = DcRef::Lookup(hdc);
    std::vector<POINT> surface;
    if (!dc || !dc->GetDriver() || !SurfacePoints(*dc, points, count, 2, surface)) return FALSE;
    dc->GetDriver()->Polyline(surface.data(), count, ResolvePen(*dc), dc->Attributes());
    return TRUE;
}

BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver() || (polylines > 0 && (!points || !counts))) return FALSE;
    for (DWORD i = 0; i < polylines; ++i)
        if (counts[i] < 2) return FALSE;
    // One look-up and one pen for the lot: a trace of many short strokes
    // costs its strokes, not a DC's round trip each.
    const DevicePen pen = ResolvePen(*dc);
    const DrawAttributes attributes = dc->Attributes();
    std::vector<POINT> surface;
    for (DWORD i = 0; i < polylines; ++i) {
        surface.resize(counts[i]);
        for (DWORD k = 0; k < counts[i]; ++k) surface[k] = dc->ToSurface(points[k]);
        dc->GetDriver()->Polyline(surface.data(), static_cast<int>(counts[i]), pen, attributes);
        points += counts[i];
    }
    return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* points, int count)
{
    DcRef dc = DcRef::Lookup(hdc);
    ShapeSpec shape;
    if (!dc || !dc->GetDriver() || !SurfacePoints(*dc, points, count, 2, shape.points)) return FALSE;
    shape.kind = ShapeSpec::Kind::Polygon;
    shape.fillMode = dc->State().polyFillMode;
    dc->GetDriver()->Shape(shape, ResolvePen(*dc), ResolveBrush(dc->State().brush), dc->Attributes());
    return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight)
{
    return DrawShape(hdc, ShapeSpec::Kind::RoundRect, RECT{left, top, right, bottom}, SIZE{ellipseWidth, ellipseHeight});
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom)
{
    return DrawShape(hdc, ShapeSpec::Kind::Ellipse, RECT{left, top, right, bottom}, SIZE{0, 0});
}

BOOL StretchBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop)
{
    DcRef dc = DcRef::Lookup(hdcDest);
    if (!dc || !dc->GetDriver()) return FALSE;
    PixelBuffer pixels;
    RECT sourceRect = {0, 0, 0, 0};
    COLORREF sourceBk = RGB(255, 255, 255);
    if (Rop3UsesSource(rop)) {
        DeviceContext* source = FindRecord<DeviceContext>(hdcSrc);
        if (!source || !source->GetDriver()) return FALSE;
        pixels = source->GetDriver()->Pixels();
        if (!pixels.IsValid()) return FALSE;
        // Corners as given: a negative extent on one side only mirrors.
        sourceRect = source->ToSurface(RECT{xSrc, ySrc, xSrc + widthSrc, ySrc + heightSrc});
        sourceBk = source->State().bkColor & 0xFFFFFF;
    }
    const RECT dest = dc->ToSurface(RECT{x, y, x + width, y + height});
    return dc->GetDriver()->StretchBlt(dest, pixels, sourceRect, dc->State().stretchMode, sourceBk,
                                       ResolveBrush(dc->State().brush), rop, dc->Attributes())
               ? TRUE
               : FALSE;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect || !dc->GetDriver() || !ValidBrush(brush)) return 0;
    const RECT rc = *rect;
    if (rc.left >= rc.right || rc.top >= rc.bottom) return 1;   // an empty or inverted frame draws nothing
    // One pixel wide, inside the rectangle, painted with the brush (not a pen).
    const std::vector<RECT> sides = {{rc.left, rc.top, rc.right, rc.top + 1},
                                     {rc.left, rc.bottom - 1, rc.right, rc.bottom},
                                     {rc.left, rc.top + 1, rc.left + 1, rc.bottom - 1},
                                     {rc.right - 1, rc.top + 1, rc.right, rc.bottom - 1}};
    PaintRects(*dc, sides, ResolveBrush(brush), PATCOPY);
    return 1;
}

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush)
{
    DcRef dc = DcRef::Lookup(hdc);
    const RegionRecord* rgn = FindRecord<RegionRecord>(region);
    if (!dc || !rgn || !dc->GetDriver() || !ValidBrush(brush)) return FALSE;
    PaintRects(*dc, rgn->m_region.Rects(), ResolveBrush(brush), PATCOPY);
    return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rect)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect || !dc->GetDriver()) return FALSE;
    PaintRects(*dc, {*rect}, DeviceBrush(), DSTINVERT);
    return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect || !dc->GetDriver()) return FALSE;
    const RECT rc = Normalized(*rect);
    if (IsEmpty(rc)) return TRUE;
    // Every other pixel of a one-pixel frame is inverted: a 50% grey brush
    // XORed on, so a second call takes it off again. The sides do not
    // overlap, so no pixel is inverted twice.
    DeviceBrush checker;
    checker.style = BS_PATTERN;
    checker.color = RGB(255, 255, 255);
    checker.patternBk = RGB(0, 0, 0);
    for (int row = 0; row < 8; ++row) checker.pattern[row] = (row % 2) ? 0x55 : 0xAA;
    std::vector<RECT> sides = {{rc.left, rc.top, rc.right, rc.top + 1}};
    if (rc.bottom - 1 > rc.top) sides.push_back({rc.left, rc.bottom - 1, rc.right, rc.bottom});
    if (rc.bottom - 1 > rc.top + 1) {
        sides.push_back({rc.left, rc.top + 1, rc.left + 1, rc.bottom - 1});
        if (rc.right - 1 > rc.left) sides.push_back({rc.right - 1, rc.top + 1, rc.right, rc.bottom - 1});
    }
    PaintRects(*dc, sides, checker, PATINVERT);
    return TRUE;
}

namespace {

struct EdgeColors {
    int topLeft;       // COLOR_x index
    int bottomRight;
};

// The two rings of DrawEdge, outer then inner; -1 where the edge has none.
void EdgeRings(UINT edge, UINT flags, EdgeColors& outer, EdgeColors& inner)
{
    outer = {-1, -1};
    inner = {-1, -1};
    if (edge & BDR_RAISEDOUTER) outer = {COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    else if (edge & BDR_SUNKENOUTER) outer = {COLOR_3DSHADOW, COLOR_3DHIGHLIGHT};
    if (edge & BDR_RAISEDINNER) inner = {COLOR_3DHIGHLIGHT, COLOR_3DSHADOW};
    else if (edge & BDR_SUNKENINNER) inner = {COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    // Flat and mono edges are plain frames in one colour per ring.
    if (flags & BF_MONO) {
        if (outer.topLeft >= 0) outer = {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
        if (inner.topLeft >= 0) inner = {COLOR_WINDOW, COLOR_WINDOW};
    } else if (flags & BF_FLAT) {
        if (outer.topLeft >= 0) outer = {COLOR_3DSHADOW, COLOR_3DSHADOW};
        if (inner.topLeft >= 0) inner = {COLOR_3DFACE, COLOR_3DFACE};
    }
}

// One ring of an edge on the sides `flags` names: top and left in the
// top-left colour, bottom and right in the other, which also takes the
// corners they share. Returns the rectangle inside the ring.
RECT DrawRing(DeviceContext& dc, RECT rc, const EdgeColors& colors, UINT flags)
{
    COLORREF tl = 0, br = 0;
    if (!SystemColorBrush(MakeHandle<HBRUSH>((uintptr_t)colors.topLeft + 1), tl) ||
        !SystemColorBrush(MakeHandle<HBRUSH>((uintptr_t)colors.bottomRight + 1), br))
        return rc;
    const LONG right = (flags & BF_RIGHT) ? rc.right - 1 : rc.right;
    const LONG bottom = (flags & BF_BOTTOM) ? rc.bottom - 1 : rc.bottom;
    if (flags & BF_TOP) PaintRects(dc, {{rc.left, rc.top, right, rc.top + 1}}, SolidBrush(tl), PATCOPY);
    if (flags & BF_LEFT) PaintRects(dc, {{rc.left, rc.top, rc.left + 1, bottom}}, SolidBrush(tl), PATCOPY);
    if (flags & BF_BOTTOM) PaintRects(dc, {{rc.left, rc.bottom - 1, rc.right, rc.bottom}}, SolidBrush(br), PATCOPY);
    if (flags & BF_RIGHT) PaintRects(dc, {{rc.right - 1, rc.top, rc.right, rc.bottom}}, SolidBrush(br), PATCOPY);
    if (flags & BF_TOP) ++rc.top;
    if (flags & BF_LEFT) ++rc.left;
    if (flags & BF_BOTTOM) --rc.bottom;
    if (flags & BF_RIGHT) --rc.right;
    return rc;
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect || !dc->GetDriver()) return FALSE;
    if (flags & BF_DIAGONAL) return FALSE;   // diagonal edges are not drawn by this layer
    COLORREF probe;
    if (!SystemColorBrush(MakeHandle<HBRUSH>((uintptr_t)COLOR_3DFACE + 1), probe)) return FALSE;
    EdgeColors outer, inner;
    EdgeRings(edge, flags, outer, inner);
    RECT rc = Normalized(*rect);
    if (outer.topLeft >= 0) rc = DrawRing(*dc, rc, outer, flags);
    if (inner.topLeft >= 0) rc = DrawRing(*dc, rc, inner, flags);
    if ((flags & BF_MIDDLE) && !IsEmpty(rc)) {
        COLORREF face = 0;
        SystemColorBrush(MakeHandle<HBRUSH>((uintptr_t)((flags & BF_MONO) ? COLOR_WINDOW : COLOR_3DFACE) + 1), face);
        PaintRects(*dc, {rc}, SolidBrush(face), PATCOPY);
    }
    if (flags & BF_ADJUST) *rect = rc;
    return TRUE;
}
