// The Win32 region and clipping functions. Regions are kept in device units
// as GDI keeps them: the clip region of a DC does not move when its origins
// do, and a region selected into a DC is copied, so the caller keeps (and
// deletes) its own.
#include <algorithm>

#include "platform/gdi/GdiInternal.h"

using namespace platform::gdi;

namespace {

typedef ObjectRef<DeviceContext> DcRef;
typedef ObjectRef<RegionRecord> RgnRef;

HRGN InsertRegion(Region region)
{
    auto record = std::make_unique<RegionRecord>();
    record->m_region = std::move(region);
    return MakeHandle<HRGN>(HandleTable::Instance().Insert(std::move(record)));
}

// A logical rectangle of the DC as a device rectangle (MM_TEXT: only the origins move it).
RECT LogicalToDevice(const DcState& state, int left, int top, int right, int bottom)
{
    const int dx = state.viewportOrg.x - state.windowOrg.x, dy = state.viewportOrg.y - state.windowOrg.y;
    return Normalized(RECT{left + dx, top + dy, right + dx, bottom + dy});
}

// Combines the DC's clip region with `region` (device units); without a
// clip region the DC's whole area stands in for it.
int CombineClip(DeviceContext& dc, const Region& region, int mode)
{
    DcState& state = dc.State();
    if (mode == RGN_COPY) {
        state.clip = region;
    } else {
        const Region current = state.hasClip ? state.clip : dc.DeviceArea();
        state.clip = Region::Combine(current, region, mode);
    }
    state.hasClip = true;
    return state.clip.Type();
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom)
{
    GdiLock lock = HandleTable::Instance().Lock();
    return InsertRegion(Region(RECT{left, top, right, bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* rect)
{
    if (!rect) return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom)
{
    RgnRef rgn = RgnRef::Lookup(region);
    if (!rgn) return FALSE;
    rgn->m_region = Region(RECT{left, top, right, bottom});
    return TRUE;
}

int GetRgnBox(HRGN region, LPRECT rect)
{
    RgnRef rgn = RgnRef::Lookup(region);
    if (!rgn || !rect) return ERROR;
    *rect = rgn->m_region.Box();
    return rgn->m_region.Type();
}

int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode)
{
    GdiLock lock = HandleTable::Instance().Lock();
    RegionRecord* out = FindRecord<RegionRecord>(dest);
    const RegionRecord* a = FindRecord<RegionRecord>(source1);
    if (!out || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    if (mode == RGN_COPY) {
        out->m_region = a->m_region;
        return out->m_region.Type();
    }
    const RegionRecord* b = FindRecord<RegionRecord>(source2);
    if (!b) return ERROR;
    // Computed before it is stored: dest may be one of the sources.
    Region result = Region::Combine(a->m_region, b->m_region, mode);
    out->m_region = std::move(result);
    return out->m_region.Type();
}

BOOL EqualRgn(HRGN region1, HRGN region2)
{
    GdiLock lock = HandleTable::Instance().Lock();
    const RegionRecord* a = FindRecord<RegionRecord>(region1);
    const RegionRecord* b = FindRecord<RegionRecord>(region2);
    if (!a || !b) return FALSE;
    return a->m_region == b->m_region;
}

int OffsetRgn(HRGN region, int dx, int dy)
{
    RgnRef rgn = RgnRef::Lookup(region);
    if (!rgn) return ERROR;
    rgn->m_region.Offset(dx, dy);
    return rgn->m_region.Type();
}

BOOL PtInRegion(HRGN region, int x, int y)
{
    RgnRef rgn = RgnRef::Lookup(region);
    return rgn && rgn->m_region.Contains(x, y);
}

BOOL RectInRegion(HRGN region, const RECT* rect)
{
    RgnRef rgn = RgnRef::Lookup(region);
    if (!rgn || !rect) return FALSE;
    return rgn->m_region.Intersects(Normalized(*rect));
}

int GetClipBox(HDC hdc, LPRECT rect)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect) return ERROR;
    const Region drawable = dc->DrawableRegion();
    if (drawable.IsEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    const RECT device = dc->SurfaceToDevice(drawable.Box());
    const DcState& state = dc->State();
    const int dx = state.windowOrg.x - state.viewportOrg.x, dy = state.windowOrg.y - state.viewportOrg.y;
    *rect = RECT{device.left + dx, device.top + dy, device.right + dx, device.bottom + dy};
    return drawable.Type();
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return ERROR;
    const Region rect(LogicalToDevice(dc->State(), left, top, right, bottom));
    // Without a clip region the rectangle becomes the clip region itself.
    if (!dc->State().hasClip) return CombineClip(*dc, rect, RGN_COPY);
    return CombineClip(*dc, rect, RGN_AND);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return ERROR;
    return CombineClip(*dc, Region(LogicalToDevice(dc->State(), left, top, right, bottom)), RGN_DIFF);
}

int SelectClipRgn(HDC hdc, HRGN region)
{
    return ExtSelectClipRgn(hdc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC hdc, HRGN region, int mode)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
    DcState& state = dc->State();
    if (!region) {
        // Only RGN_COPY may take a null region: it removes the clip region.
        if (mode != RGN_COPY) return ERROR;
        state.hasClip = false;
        state.clip = Region();
        return SIMPLEREGION;
    }
    const RegionRecord* rgn = FindRecord<RegionRecord>(region);
    if (!rgn) return ERROR;
    return CombineClip(*dc, rgn->m_region, mode);
}

BOOL PtVisible(HDC hdc, int x, int y)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return FALSE;
    const POINT p = dc->ToSurface(POINT{x, y});
    return dc->DrawableRegion().Contains(p.x, p.y);
}

BOOL RectVisible(HDC hdc, const RECT* rect)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect) return FALSE;
    return dc->DrawableRegion().Intersects(Normalized(dc->ToSurface(*rect)));
}
