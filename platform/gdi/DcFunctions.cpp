// The Win32 DC functions: creating and deleting DCs, selecting objects,
// saved states, attributes, coordinate origins, clipping and device caps.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/gdi/CairoDriver.h"
#include "platform/gdi/GdiInternal.h"

using namespace platform::gdi;

namespace {

const int kScreenDpi = 96;
SIZE g_screenSize = {1024, 768};

typedef ObjectRef<DeviceContext> DcRef;

// Device to logical and back, MM_TEXT: only the origins move things.
POINT DeviceToLogical(const DcState& state, POINT p)
{
    return POINT{p.x - state.viewportOrg.x + state.windowOrg.x, p.y - state.viewportOrg.y + state.windowOrg.y};
}

POINT LogicalToDevice(const DcState& state, POINT p)
{
    return POINT{p.x - state.windowOrg.x + state.viewportOrg.x, p.y - state.windowOrg.y + state.viewportOrg.y};
}

int Millimetres(int pixels, int dpi)
{
    return (int)std::lround(pixels * 25.4 / dpi);
}

HGDIOBJ SelectBitmap(HDC hdc, DeviceContext& dc, HGDIOBJ object, BitmapRecord& bitmap)
{
    // Only memory DCs take bitmaps, and a bitmap goes into one DC at a time.
    if (dc.Kind() != DcKind::Memory) return nullptr;
    if (!bitmap.m_stock && bitmap.m_selectedIn && bitmap.m_selectedIn != hdc) return nullptr;
    HandleTable& table = HandleTable::Instance();
    HBITMAP previous = dc.State().bitmap;
    dc.State().bitmap = MakeHandle<HBITMAP>(HandleValue(object));
    table.AddUse(HandleValue(object));
    if (!bitmap.m_stock) bitmap.m_selectedIn = hdc;
    BindSelectedBitmap(dc);
    table.ReleaseUse(HandleValue(previous));
    return MakeHandle<HGDIOBJ>(HandleValue(previous));
}

template <class H> HGDIOBJ Swap(H& slot, HGDIOBJ object)
{
    HandleTable& table = HandleTable::Instance();
    H previous = slot;
    slot = MakeHandle<H>(HandleValue(object));
    table.AddUse(HandleValue(object));
    table.ReleaseUse(HandleValue(previous));
    return MakeHandle<HGDIOBJ>(HandleValue(previous));
}

int PrinterCaps(const DeviceContext& dc, int index)
{
    const SIZE size = dc.m_referenceSize;
    const PrinterGeometry& printer = dc.m_printer;
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return Millimetres(size.cx, dc.m_dpi);
    case VERTSIZE: return Millimetres(size.cy, dc.m_dpi);
    case HORZRES: return size.cx;
    case VERTRES: return size.cy;
    case PHYSICALWIDTH: return printer.paper.cx;
    case PHYSICALHEIGHT: return printer.paper.cy;
    case PHYSICALOFFSETX: return printer.offset.x;
    case PHYSICALOFFSETY: return printer.offset.y;
    case LOGPIXELSX:
    case LOGPIXELSY: return dc.m_dpi;
    case ASPECTX:
    case ASPECTY: return dc.m_dpi;
    case ASPECTXY: return (int)std::lround(dc.m_dpi * std::sqrt(2.0));
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_STRETCHBLT | RC_STRETCHDIB;
    case DESKTOPHORZRES:
    case DESKTOPVERTRES:
    case VREFRESH: return 0;
    default: return -1;   // a value the display branch knows
    }
}

int DeviceCaps(const DeviceContext& dc, int index)
{
    if (dc.m_printer.paper.cx > 0) {
        const int printer = PrinterCaps(dc, index);
        if (printer >= 0) return printer;
    }
    const SIZE size = dc.m_referenceSize;
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return Millimetres(size.cx, kScreenDpi);
    case VERTSIZE: return Millimetres(size.cy, kScreenDpi);
    case HORZRES:
    case DESKTOPHORZRES: return size.cx;
    case VERTRES:
    case DESKTOPVERTRES: return size.cy;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;   // more than 256 colours
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return kScreenDpi;
    case CLIPCAPS: return 1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_GDI20_OUTPUT | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case COLORRES: return 24;
    case VREFRESH: return 60;
    default: return 0;   // PHYSICALWIDTH and the other printer values are 0 on a display
    }
}

}  // namespace

namespace platform {
namespace gdi {

void SetScreenSize(int width, int height)
{
    GdiLock lock = HandleTable::Instance().Lock();
    if (width > 0 && height > 0) g_screenSize = SIZE{width, height};
}

SIZE GetScreenSize()
{
    GdiLock lock = HandleTable::Instance().Lock();
    return g_screenSize;
}

HDC InsertDC(std::unique_ptr<DeviceContext> dc)
{
    DcState& state = dc->State();
    state.pen = MakeHandle<HPEN>(HandleValue(GetStockObject(BLACK_PEN)));
    state.brush = MakeHandle<HBRUSH>(HandleValue(GetStockObject(WHITE_BRUSH)));
    state.font = MakeHandle<HFONT>(HandleValue(GetStockObject(SYSTEM_FONT)));
    const bool memory = dc->Kind() == DcKind::Memory;
    if (memory) {
        state.bitmap = DefaultBitmap();
        BindSelectedBitmap(*dc);
    }
    DeviceContext* raw = dc.get();
    const uintptr_t handle = HandleTable::Instance().Insert(std::move(dc));
    if (!handle) return nullptr;
    raw->AdoptInitialObjects();
    return MakeHandle<HDC>(handle);
}

void BindSelectedBitmap(DeviceContext& dc)
{
    const BitmapRecord* bitmap = FindRecord<BitmapRecord>(dc.State().bitmap);
    if (!bitmap) {
        dc.SetDriver(nullptr);
        return;
    }
    dc.SetDriver(std::make_unique<CairoDriver>(bitmap->m_surface, bitmap->m_bitsPixel == 1));
}

}  // namespace gdi
}  // namespace platform

HDC CreateCompatibleDC(HDC hdc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    SIZE reference = g_screenSize;
    int dpi = kScreenDpi;
    PrinterGeometry printer;
    if (hdc) {
        const DeviceContext* source = FindRecord<DeviceContext>(hdc);
        if (!source) return nullptr;
        reference = source->m_referenceSize;
        dpi = source->m_dpi;
        printer = source->m_printer;
    }
    auto dc = std::make_unique<DeviceContext>(DcKind::Memory, nullptr);
    // A memory DC made from a printer DC reports the printer's device.
    dc->m_referenceSize = reference;
    dc->m_dpi = dpi;
    dc->m_printer = printer;
    return InsertDC(std::move(dc));
}

BOOL DeleteDC(HDC hdc)
{
    HandleTable& table = HandleTable::Instance();
    GdiLock lock = table.Lock();
    DeviceContext* dc = FindRecord<DeviceContext>(hdc);
    if (!dc) return FALSE;
    dc->SetDriver(nullptr);
    dc->ReleaseAll();
    table.Remove(HandleValue(hdc));
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return nullptr;
    GdiRecord* record = HandleTable::Instance().Find(HandleValue(object));
    if (!record) return nullptr;
    DcState& state = dc->State();
    switch (record->m_type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return Swap(state.pen, object);
    case OBJ_BRUSH: return Swap(state.brush, object);
    case OBJ_FONT: return Swap(state.font, object);
    case OBJ_BITMAP: return SelectBitmap(hdc, *dc, object, *static_cast<BitmapRecord*>(record));
    case OBJ_REGION:
        // A region is copied into the clip; the result is the region type, as in GDI.
        return MakeHandle<HGDIOBJ>((uintptr_t)SelectClipRgn(hdc, MakeHandle<HRGN>(HandleValue(object))));
    default: return nullptr;
    }
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return nullptr;
    const DcState& state = dc->State();
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return MakeHandle<HGDIOBJ>(HandleValue(state.pen));
    case OBJ_BRUSH: return MakeHandle<HGDIOBJ>(HandleValue(state.brush));
    case OBJ_FONT: return MakeHandle<HGDIOBJ>(HandleValue(state.font));
    case OBJ_BITMAP: return MakeHandle<HGDIOBJ>(HandleValue(state.bitmap));
    default: return nullptr;
    }
}

int SaveDC(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return 0;
    return dc->Save();
}

BOOL RestoreDC(HDC hdc, int savedDC)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return FALSE;
    if (savedDC == 0 || std::abs(savedDC) > dc->SaveLevel()) return FALSE;
    if (savedDC < 0) savedDC += dc->SaveLevel() + 1;   // -1 is the most recent save
    const HBITMAP before = dc->State().bitmap;
    dc->PopStateTo(savedDC);
    if (dc->Kind() == DcKind::Memory && dc->State().bitmap != before) BindSelectedBitmap(*dc);
    return TRUE;
}

int GetDeviceCaps(HDC hdc, int index)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return 0;
    return DeviceCaps(*dc, index);
}

COLORREF SetTextColor(HDC hdc, COLORREF color)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->State().textColor, color);
}

COLORREF GetTextColor(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return CLR_INVALID;
    return std::exchange(dc->State().bkColor, color);
}

COLORREF GetBkColor(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    return std::exchange(dc->State().bkMode, mode);
}

int GetBkMode(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().bkMode : 0;
}

UINT SetTextAlign(HDC hdc, UINT align)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return GDI_ERROR;
    return std::exchange(dc->State().textAlign, align & TA_MASK);
}

UINT GetTextAlign(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().textAlign : GDI_ERROR;
}

int SetROP2(HDC hdc, int rop2)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || rop2 < R2_BLACK || rop2 > R2_LAST) return 0;
    return std::exchange(dc->State().rop2, rop2);
}

int GetROP2(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().rop2 : 0;
}

int SetMapMode(HDC hdc, int mode)
{
    DcRef dc = DcRef::Lookup(hdc);
    // Only MM_TEXT so far: the metric and English modes come with printing,
    // and failing loudly beats drawing at the wrong scale.
    if (!dc || mode != MM_TEXT) return 0;
    return std::exchange(dc->State().mapMode, mode);
}

int GetMapMode(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().mapMode : 0;
}

int SetPolyFillMode(HDC hdc, int mode)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || (mode != ALTERNATE && mode != WINDING)) return 0;
    return std::exchange(dc->State().polyFillMode, mode);
}

int GetPolyFillMode(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().polyFillMode : 0;
}

int SetStretchBltMode(HDC hdc, int mode)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return std::exchange(dc->State().stretchMode, mode);
}

int GetStretchBltMode(HDC hdc)
{
    DcRef dc = DcRef::Lookup(hdc);
    return dc ? dc->State().stretchMode : 0;
}

namespace {

BOOL MoveOrigin(HDC hdc, POINT DcState::*origin, int x, int y, bool relative, LPPOINT oldOrigin)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return FALSE;
    POINT& value = dc->State().*origin;
    if (oldOrigin) *oldOrigin = value;
    if (relative) {
        value.x += x;
        value.y += y;
    } else {
        value = POINT{x, y};
    }
    return TRUE;
}

BOOL ReadOrigin(HDC hdc, POINT DcState::*origin, LPPOINT out)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !out) return FALSE;
    *out = dc->State().*origin;
    return TRUE;
}

}  // namespace

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT oldOrigin)
{
    return MoveOrigin(hdc, &DcState::viewportOrg, x, y, false, oldOrigin);
}

BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin)
{
    return ReadOrigin(hdc, &DcState::viewportOrg, origin);
}

BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT oldOrigin)
{
    return MoveOrigin(hdc, &DcState::viewportOrg, dx, dy, true, oldOrigin);
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT oldOrigin)
{
    return MoveOrigin(hdc, &DcState::windowOrg, x, y, false, oldOrigin);
}

BOOL GetWindowOrgEx(HDC hdc, LPPOINT origin)
{
    return ReadOrigin(hdc, &DcState::windowOrg, origin);
}

BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT oldOrigin)
{
    return MoveOrigin(hdc, &DcState::windowOrg, dx, dy, true, oldOrigin);
}

BOOL LPtoDP(HDC hdc, LPPOINT points, int count)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || count < 0 || (!points && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = LogicalToDevice(dc->State(), points[i]);
    return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT points, int count)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || count < 0 || (!points && count > 0)) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = DeviceToLogical(dc->State(), points[i]);
    return TRUE;
}
