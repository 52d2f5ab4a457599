#include "platform/gdi/Icon.h"

#include <algorithm>

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

BOOL Destroy(HICON icon)
{
    HandleTable& table = HandleTable::Instance();
    GdiLock lock = table.Lock();
    if (!FindRecord<IconRecord>(icon)) return FALSE;
    table.Remove(HandleValue(icon));
    return TRUE;
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
    auto icon = std::make_unique<IconRecord>();
    icon->m_image = image;
    icon->m_hotspot = POINT{std::clamp(hotX, 0, width - 1), std::clamp(hotY, 0, height - 1)};
    icon->m_isIcon = icon->m_hotspot.x == width / 2 && icon->m_hotspot.y == height / 2;
    return MakeHandle<HICON>(HandleTable::Instance().Insert(std::move(icon)));
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
    return Destroy(icon);
}

BOOL DestroyCursor(HCURSOR cursor)
{
    return Destroy(cursor);
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
    dc->GetDriver()->DrawImage(dest, record->m_image, attr);
    return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon)
{
    // The icon's own size: our icons come from resources at the size they are drawn.
    return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL);
}
