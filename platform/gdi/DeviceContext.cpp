#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/HandleTable.h"

namespace platform {
namespace gdi {

DeviceContext::DeviceContext(DcKind kind, std::unique_ptr<Driver> driver)
    : GdiRecord(kind == DcKind::Memory ? OBJ_MEMDC : OBJ_DC), m_kind(kind), m_driver(std::move(driver))
{
}

void DeviceContext::UseState(const DcState& state, bool add)
{
    HandleTable& table = HandleTable::Instance();
    const void* handles[] = {state.pen, state.brush, state.font, state.bitmap};
    for (const void* handle : handles) {
        if (!handle) continue;
        if (add) table.AddUse(HandleValue(handle));
        else table.ReleaseUse(HandleValue(handle));
    }
}

void DeviceContext::AdoptInitialObjects()
{
    UseState(m_state, true);
}

void DeviceContext::ReleaseAll()
{
    for (const DcState& saved : m_saved) UseState(saved, false);
    m_saved.clear();
    UseState(m_state, false);
    m_state = DcState();
}

int DeviceContext::Save()
{
    m_saved.push_back(m_state);
    UseState(m_state, true);
    return SaveLevel();
}

void DeviceContext::PopStateTo(int level)
{
    if (level < 1 || level > SaveLevel()) return;
    // The restored state's uses move into the current state; the current
    // state and the ones above the level let go of theirs afterwards, so
    // nothing still in use is freed on the way.
    const DcState previous = m_state;
    std::vector<DcState> dropped(m_saved.begin() + level, m_saved.end());
    m_state = m_saved[level - 1];
    m_saved.resize(level - 1);
    UseState(previous, false);
    for (const DcState& state : dropped) UseState(state, false);
}

POINT DeviceContext::ToSurface(POINT logical) const
{
    POINT p;
    p.x = logical.x - m_state.windowOrg.x + m_state.viewportOrg.x + m_surfaceOrigin.x;
    p.y = logical.y - m_state.windowOrg.y + m_state.viewportOrg.y + m_surfaceOrigin.y;
    return p;
}

RECT DeviceContext::ToSurface(const RECT& logical) const
{
    const POINT a = ToSurface(POINT{logical.left, logical.top});
    const POINT b = ToSurface(POINT{logical.right, logical.bottom});
    return RECT{a.x, a.y, b.x, b.y};
}

POINT DeviceContext::ToLogical(POINT surface) const
{
    POINT p;
    p.x = surface.x - m_surfaceOrigin.x - m_state.viewportOrg.x + m_state.windowOrg.x;
    p.y = surface.y - m_surfaceOrigin.y - m_state.viewportOrg.y + m_state.windowOrg.y;
    return p;
}

RECT DeviceContext::DeviceToSurface(const RECT& device) const
{
    return RECT{device.left + m_surfaceOrigin.x, device.top + m_surfaceOrigin.y, device.right + m_surfaceOrigin.x,
                device.bottom + m_surfaceOrigin.y};
}

RECT DeviceContext::SurfaceToDevice(const RECT& surface) const
{
    return RECT{surface.left - m_surfaceOrigin.x, surface.top - m_surfaceOrigin.y, surface.right - m_surfaceOrigin.x,
                surface.bottom - m_surfaceOrigin.y};
}

RECT DeviceContext::VisibleArea() const
{
    if (!m_driver) return RECT{0, 0, 0, 0};
    const SIZE size = m_driver->Size();
    RECT area = {0, 0, size.cx, size.cy};
    if (m_hasVisible) area = Intersect(area, m_visible);
    return area;
}

RECT DeviceContext::DrawableArea() const
{
    // Most DCs have no clip region or a rectangular one: no region arithmetic for those.
    if (!m_state.hasClip) return VisibleArea();
    if (m_state.clip.Type() != COMPLEXREGION) return Intersect(VisibleArea(), DeviceToSurface(m_state.clip.Box()));
    return DrawableRegion().Box();
}

Region DeviceContext::DrawableRegion() const
{
    Region region(VisibleArea());
    if (!m_state.hasClip) return region;
    Region clip = m_state.clip;
    clip.Offset(m_surfaceOrigin.x, m_surfaceOrigin.y);
    return Region::Combine(region, clip, RGN_AND);
}

Region DeviceContext::DeviceArea() const
{
    return Region(SurfaceToDevice(VisibleArea()));
}

DrawAttributes DeviceContext::Attributes() const
{
    DrawAttributes attr;
    attr.clip = DrawableArea();
    if (m_state.hasClip && m_state.clip.Type() == COMPLEXREGION) {
        const Region drawable = DrawableRegion();
        if (drawable.Type() == COMPLEXREGION) attr.clipRects = drawable.Rects();
    }
    attr.brushOrigin = m_surfaceOrigin;
    attr.rop2 = m_state.rop2;
    attr.bkMode = m_state.bkMode;
    attr.bkColor = m_state.bkColor & 0xFFFFFF;
    attr.textColor = m_state.textColor & 0xFFFFFF;
    return attr;
}

}  // namespace gdi
}  // namespace platform
