#include "platform/gdi/Icon.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/GdiInternal.h"

using namespace platform::gdi;

namespace {

const int kMaxIconSide = 256;
const int kDefaultIconSize = 32;   // SM_CXICON / SM_CYICON

typedef ObjectRef<IconRecord> IconRef;

uint32_t Premultiply(uint32_t argb)
{
    const uint32_t a = argb >> 24;
    if (a == 255) return argb;
    uint32_t out = a << 24;
    for (int shift = 0; shift <= 16; shift += 8) out |= ((((argb >> shift) & 0xFF) * a + 127) / 255) << shift;
    return out;
}

uint32_t Unpremultiply(uint32_t pixel)
{
    const uint32_t a = pixel >> 24;
    if (a == 0) return 0;
    if (a == 255) return pixel & kPixelMask;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= std::min<uint32_t>(255, (((pixel >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
    return out;
}

enum class Sharing { Respect, Ignore };

BOOL Destroy(HICON icon, Sharing sharing)
{
    HandleTable& table = HandleTable::Instance();
    GdiLock lock = table.Lock();
    const IconRecord* record = FindRecord<IconRecord>(icon);
    if (!record) return FALSE;
    // Shared icons belong to the resource cache; Windows answers TRUE and keeps them.
    if (record->m_shared && sharing == Sharing::Respect) return TRUE;
    table.Remove(HandleValue(icon));
    return TRUE;
}

// A new ARGB32 surface with the same pixels.
cairo_surface_t* CopyImage(cairo_surface_t* image)
{
    const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    cairo_t* cr = cairo_create(copy);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(copy);
    return copy;
}

HICON InsertIcon(cairo_surface_t* image, POINT hotspot, bool isIcon)
{
    auto icon = std::make_unique<IconRecord>();
    icon->m_image = image;
    icon->m_hotspot = hotspot;
    icon->m_isIcon = isIcon;
    return MakeHandle<HICON>(HandleTable::Instance().Insert(std::move(icon)));
}

// The straight ARGB pixel of an icon made from a colour bitmap and a mask
// (or the AND and XOR halves of a monochrome one): the mask's white lets
// the screen through. Where the screen would be inverted (mask white, colour
// not black) there is nothing an image with alpha can do; it stays clear.
uint32_t IconPixel(uint32_t andBit, uint32_t color)
{
    if (andBit == kWhitePixel) return 0;
    return 0xFF000000u | (color & kPixelMask);
}

}  // namespace

namespace platform {
namespace gdi {

HICON CreateIconFromPixels(int width, int height, const uint32_t* argb, int hotX, int hotY)
{
    if (!argb || width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return nullptr;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return nullptr;
    }
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
        for (int x = 0; x < width; ++x) row[x] = Premultiply(argb[(size_t)y * width + x]);
    }
    cairo_surface_mark_dirty(image);

    GdiLock lock = HandleTable::Instance().Lock();
    const POINT hotspot = {std::clamp(hotX, 0, width - 1), std::clamp(hotY, 0, height - 1)};
    return InsertIcon(image, hotspot, hotspot.x == width / 2 && hotspot.y == height / 2);
}

BOOL MarkIconShared(HICON icon)
{
    IconRef record = IconRef::Lookup(icon);
    if (!record) return FALSE;
    record->m_shared = true;
    return TRUE;
}

BOOL DestroySharedIcon(HICON icon)
{
    return Destroy(icon, Sharing::Ignore);
}

BOOL GetIconMetrics(HICON icon, SIZE* size, POINT* hotspot)
{
    IconRef record = IconRef::Lookup(icon);
    if (!record) return FALSE;
    if (size)
        *size = SIZE{cairo_image_surface_get_width(record->m_image), cairo_image_surface_get_height(record->m_image)};
    if (hotspot) *hotspot = record->m_hotspot;
    return TRUE;
}

}  // namespace gdi
}  // namespace platform

BOOL DestroyIcon(HICON icon)
{
    return Destroy(icon, Sharing::Respect);
}

BOOL DestroyCursor(HCURSOR cursor)
{
    return Destroy(cursor, Sharing::Respect);
}

HICON CopyIcon(HICON icon)
{
    IconRef record = IconRef::Lookup(icon);
    if (!record) return nullptr;
    cairo_surface_t* image = CopyImage(record->m_image);
    if (!image) return nullptr;
    return InsertIcon(image, record->m_hotspot, record->m_isIcon);
}

HICON CreateIconIndirect(PICONINFO info)
{
    if (!info) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    const BitmapRecord* mask = FindRecord<BitmapRecord>(info->hbmMask);
    const BitmapRecord* color = info->hbmColor ? FindRecord<BitmapRecord>(info->hbmColor) : nullptr;
    if (!mask || (info->hbmColor && !color)) return nullptr;
    // A monochrome icon's mask holds the AND mask above the XOR mask.
    const int width = mask->m_width, height = color ? mask->m_height : mask->m_height / 2;
    if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return nullptr;
    if (color && (color->m_width < width || color->m_height < height)) return nullptr;
    const PixelBuffer maskPixels(mask->m_surface, mask->m_bitsPixel == 1);
    const PixelBuffer colorPixels = color ? PixelBuffer(color->m_surface, color->m_bitsPixel == 1) : PixelBuffer();
    std::vector<uint32_t> argb((size_t)width * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint32_t andBit = maskPixels.Get(x, y);
            const uint32_t xorColor = color ? colorPixels.Get(x, y) : maskPixels.Get(x, y + height);
            argb[(size_t)y * width + x] = IconPixel(andBit, xorColor);
        }
    // An icon's hotspot is its centre whatever the record says, as on Windows.
    const int hotX = info->fIcon ? width / 2 : (int)std::min<DWORD>(info->xHotspot, (DWORD)width - 1);
    const int hotY = info->fIcon ? height / 2 : (int)std::min<DWORD>(info->yHotspot, (DWORD)height - 1);
    return CreateIconFromPixels(width, height, argb.data(), hotX, hotY);
}

BOOL GetIconInfo(HICON icon, PICONINFO info)
{
    IconRef record = IconRef::Lookup(icon);
    if (!record || !info) return FALSE;
    const int width = cairo_image_surface_get_width(record->m_image);
    const int height = cairo_image_surface_get_height(record->m_image);
    std::unique_ptr<BitmapRecord> color = MakeBitmap(width, height, 32);
    std::unique_ptr<BitmapRecord> mask = MakeBitmap(width, height, 1);
    if (!color || !mask) return FALSE;
    // The colour bitmap has the straight colours; the mask is white where the
    // icon lets the screen show through, as icon masks are.
    PixelBuffer colorPixels(color->m_surface, false), maskPixels(mask->m_surface, true);
    cairo_surface_flush(record->m_image);
    const unsigned char* data = cairo_image_surface_get_data(record->m_image);
    const int stride = cairo_image_surface_get_stride(record->m_image);
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(data + (size_t)y * stride);
        for (int x = 0; x < width; ++x) {
            colorPixels.Put(x, y, Unpremultiply(row[x]));
            maskPixels.Put(x, y, (row[x] >> 24) < 128 ? kWhitePixel : kBlackPixel);
        }
    }
    colorPixels.Commit();
    maskPixels.Commit();
    HandleTable& table = HandleTable::Instance();
    info->fIcon = record->m_isIcon ? TRUE : FALSE;
    info->xHotspot = (DWORD)record->m_hotspot.x;
    info->yHotspot = (DWORD)record->m_hotspot.y;
    info->hbmColor = MakeHandle<HBITMAP>(table.Insert(std::move(color)));
    info->hbmMask = MakeHandle<HBITMAP>(table.Insert(std::move(mask)));
    return TRUE;
}

namespace {

class SurfaceHolder {
public:
    explicit SurfaceHolder(cairo_surface_t* surface) : m_surface(surface) {}
    ~SurfaceHolder()
    {
        if (m_surface) cairo_surface_destroy(m_surface);
    }
    SurfaceHolder(const SurfaceHolder&) = delete;
    SurfaceHolder& operator=(const SurfaceHolder&) = delete;
    cairo_surface_t* get() const { return m_surface; }

private:
    cairo_surface_t* m_surface;
};

// A new ARGB32 image from `image` with each pixel rewritten by `map`
// (premultiplied in, premultiplied out, with its position).
template <class Map> cairo_surface_t* MapImage(cairo_surface_t* image, Map&& map)
{
    cairo_surface_t* out = CopyImage(image);
    if (!out) return nullptr;
    unsigned char* data = cairo_image_surface_get_data(out);
    const int stride = cairo_image_surface_get_stride(out);
    const int width = cairo_image_surface_get_width(out), height = cairo_image_surface_get_height(out);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + (size_t)y * stride);
        for (int x = 0; x < width; ++x) row[x] = map(row[x], x, y);
    }
    cairo_surface_mark_dirty(out);
    return out;
}

// The shape of the image in one colour, keeping its edges' alpha.
cairo_surface_t* Silhouette(cairo_surface_t* image, COLORREF color)
{
    const uint32_t rgb = ToPixel(color);
    return MapImage(image, [rgb](uint32_t pixel, int, int) { return Premultiply(((pixel >> 24) << 24) | rgb); });
}

// An image DrawIconEx draws for its flags: the icon as it is, its colours
// without the mask, or the mask alone (black where the icon is opaque, the
// screen left alone elsewhere, as an AND mask does).
cairo_surface_t* IconImageFor(cairo_surface_t* image, UINT flags)
{
    if ((flags & DI_NORMAL) == DI_NORMAL) return cairo_surface_reference(image);
    if (flags & DI_IMAGE)
        return MapImage(image, [](uint32_t pixel, int, int) { return 0xFF000000u | Unpremultiply(pixel); });
    return MapImage(image, [](uint32_t pixel, int, int) { return (pixel >> 24) < 128 ? 0u : 0xFF000000u; });
}

// A device bitmap as an opaque image.
cairo_surface_t* BitmapImage(const BitmapRecord& bitmap)
{
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.m_width, bitmap.m_height);
    if (cairo_surface_status(out) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(out);
        return nullptr;
    }
    cairo_t* cr = cairo_create(out);
    cairo_set_source_surface(cr, bitmap.m_surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(out);
    return out;
}

bool SysColor(int index, COLORREF& color)
{
    return SystemColorBrush(MakeHandle<HBRUSH>((uintptr_t)index + 1), color);
}

// Draws `image` in the DrawState way at `dest` (logical units).
BOOL DrawStateImage(DeviceContext& dc, cairo_surface_t* image, const RECT& dest, UINT state, HBRUSH brush)
{
    Driver* driver = dc.GetDriver();
    const DrawAttributes attr = dc.Attributes();
    const RECT surface = dc.ToSurface(dest);
    if (state & DSS_DISABLED) {
        // Embossed: the highlight one pixel down and right, the shadow over it.
        COLORREF light, shadow;
        if (!SysColor(COLOR_3DHIGHLIGHT, light) || !SysColor(COLOR_3DSHADOW, shadow)) return FALSE;
        SurfaceHolder lit(Silhouette(image, light)), dark(Silhouette(image, shadow));
        if (!lit.get() || !dark.get()) return FALSE;
        driver->DrawImage(RECT{surface.left + 1, surface.top + 1, surface.right + 1, surface.bottom + 1}, lit.get(), attr);
        driver->DrawImage(surface, dark.get(), attr);
        return TRUE;
    }
    if (state & DSS_MONO) {
        COLORREF color = dc.State().textColor;
        const BrushRecord* record = FindRecord<BrushRecord>(brush);
        if (record) color = record->m_log.lbColor;
        else SystemColorBrush(brush, color);
        SurfaceHolder mono(Silhouette(image, color & 0xFFFFFF));
        if (!mono.get()) return FALSE;
        driver->DrawImage(surface, mono.get(), attr);
        return TRUE;
    }
    driver->DrawImage(surface, image, attr);
    if (state & DSS_UNION) {
        // Dithered: every other pixel of the image takes the selection colour.
        COLORREF highlight;
        if (!SysColor(COLOR_HIGHLIGHT, highlight)) return FALSE;
        const uint32_t rgb = ToPixel(highlight);
        SurfaceHolder dither(MapImage(image, [rgb](uint32_t pixel, int x, int y) {
            return ((x + y) & 1) ? 0u : Premultiply(((pixel >> 24) << 24) | rgb);
        }));
        if (dither.get()) driver->DrawImage(surface, dither.get(), attr);
    }
    return TRUE;
}

BOOL DrawStateText(HDC hdc, DeviceContext& dc, LPCWSTR text, int length, const RECT& dest, UINT flags, HBRUSH brush)
{
    const UINT format = DT_NOCLIP | DT_SINGLELINE | ((flags & 0xF) == DST_PREFIXTEXT ? 0 : DT_NOPREFIX);
    const COLORREF savedColor = dc.State().textColor;
    const int savedMode = dc.State().bkMode;
    dc.State().bkMode = TRANSPARENT;
    auto draw = [&](COLORREF color, int dx, int dy) {
        dc.State().textColor = color;
        RECT rc = {dest.left + dx, dest.top + dy, dest.right + dx, dest.bottom + dy};
        DrawTextW(hdc, text, length, &rc, format);
    };
    BOOL result = TRUE;
    if (flags & DSS_DISABLED) {
        COLORREF light, shadow;
        if (SysColor(COLOR_3DHIGHLIGHT, light) && SysColor(COLOR_3DSHADOW, shadow)) {
            draw(light, 1, 1);
            draw(shadow, 0, 0);
        } else {
            result = FALSE;
        }
    } else if (flags & DSS_MONO) {
        COLORREF color = savedColor;
        const BrushRecord* record = FindRecord<BrushRecord>(brush);
        if (record) color = record->m_log.lbColor;
        else SystemColorBrush(brush, color);
        draw(color, 0, 0);
    } else {
        draw(savedColor, 0, 0);
    }
    dc.State().textColor = savedColor;
    dc.State().bkMode = savedMode;
    return result;
}

}  // namespace

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFree, UINT flags)
{
    (void)step;   // no animated cursors
    ObjectRef<DeviceContext> dc = ObjectRef<DeviceContext>::Lookup(hdc);
    const IconRecord* record = FindRecord<IconRecord>(icon);
    if (!dc || !record || !dc->GetDriver() || (flags & DI_NORMAL) == 0 || width < 0 || height < 0) return FALSE;
    if (width == 0) width = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : cairo_image_surface_get_width(record->m_image);
    if (height == 0)
        height = (flags & DI_DEFAULTSIZE) ? kDefaultIconSize : cairo_image_surface_get_height(record->m_image);
    const RECT dest = dc->ToSurface(RECT{x, y, x + width, y + height});
    const DrawAttributes attr = dc->Attributes();
    // With a flicker-free brush the background is painted first, as the
    // off-screen drawing of DrawIconEx does.
    if (flickerFree) dc->GetDriver()->PatBlt(dest, ResolveBrush(flickerFree), PATCOPY, attr);
    SurfaceHolder image(IconImageFor(record->m_image, flags));
    if (!image.get()) return FALSE;
    dc->GetDriver()->DrawImage(dest, image.get(), attr);
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon)
{
    // The icon's own size: our icons come from resources at the size they are drawn.
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}

BOOL DrawStateW(HDC hdc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM data, WPARAM extra, int x, int y, int cx,
                int cy, UINT flags)
{
    ObjectRef<DeviceContext> dc = ObjectRef<DeviceContext>::Lookup(hdc);
    if (!dc || !dc->GetDriver()) return FALSE;
    switch (flags & 0xF) {
    case DST_ICON: {
        const IconRecord* record = FindRecord<IconRecord>(reinterpret_cast<HICON>(data));
        if (!record) return FALSE;
        if (cx == 0) cx = cairo_image_surface_get_width(record->m_image);
        if (cy == 0) cy = cairo_image_surface_get_height(record->m_image);
        return DrawStateImage(*dc, record->m_image, RECT{x, y, x + cx, y + cy}, flags, brush);
    }
    case DST_BITMAP: {
        const BitmapRecord* record = FindRecord<BitmapRecord>(reinterpret_cast<HBITMAP>(data));
        if (!record) return FALSE;
        SurfaceHolder image(BitmapImage(*record));
        if (!image.get()) return FALSE;
        // The bitmap is drawn at its own size, cut to cx by cy.
        if (cx == 0) cx = record->m_width;
        if (cy == 0) cy = record->m_height;
        const int w = std::min(cx, record->m_width), h = std::min(cy, record->m_height);
        const int level = dc->Save();
        IntersectClipRect(hdc, x, y, x + w, y + h);
        const RECT dest = {x, y, x + record->m_width, y + record->m_height};
        const BOOL result = DrawStateImage(*dc, image.get(), dest, flags, brush);
        dc->PopStateTo(level);
        return result;
    }
    case DST_TEXT:
    case DST_PREFIXTEXT: {
        const LPCWSTR text = reinterpret_cast<LPCWSTR>(data);
        if (!text) return FALSE;
        const int length = extra ? (int)std::min<WPARAM>(extra, 0x7FFFFFFF) : -1;
        return DrawStateText(hdc, *dc, text, length, RECT{x, y, x + cx, y + cy}, flags, brush);
    }
    case DST_COMPLEX: {
        if (!callback) return FALSE;
        // The callback draws at the DC's origin moved to (x, y); state effects need an image and are not applied.
        POINT old;
        OffsetViewportOrgEx(hdc, x, y, &old);
        const BOOL result = callback(hdc, data, extra, cx, cy);
        SetViewportOrgEx(hdc, old.x, old.y, nullptr);
        return result;
    }
    default: return FALSE;
    }
}
