#include "platform/gdi/Image.h"

#include <algorithm>
#include <string>

#include "platform/gdi/CairoDriver.h"
#include "platform/gdi/GdiInternal.h"

namespace platform {
namespace gdi {

namespace {

const int kMaxImageSide = 32767;

bool IsRgbImage(cairo_surface_t* surface)
{
    return surface && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
           cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
           cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24;
}

// `reference` is the resolution GetDeviceCaps reports.
HDC InsertImageDC(std::unique_ptr<Driver> driver, DcKind kind, POINT origin, const RECT* visible, SIZE reference)
{
    const SIZE size = driver->Size();
    auto dc = std::make_unique<DeviceContext>(kind, std::move(driver));
    dc->m_surfaceOrigin = origin;
    dc->m_hasVisible = visible != nullptr;
    if (visible) dc->m_visible = Intersect(*visible, RECT{0, 0, size.cx, size.cy});
    dc->m_referenceSize = reference;
    return InsertDC(std::move(dc));
}

BOOL WritePng(cairo_surface_t* surface, const char* path)
{
    return SaveSurfacePng(surface, path);
}

RecordingDriver* RecorderOf(HDC hdc)
{
    DeviceContext* dc = FindRecord<DeviceContext>(hdc);
    if (!dc || dc->Kind() != DcKind::Recording) return nullptr;
    return static_cast<RecordingDriver*>(dc->GetDriver());
}

}  // namespace

HDC CreateImageDC(int width, int height)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    std::unique_ptr<BitmapRecord> image = MakeBitmap(width, height, 32);
    if (!image) return nullptr;
    // An image DC stands for a whole screen: its resolution is its own size.
    return InsertImageDC(std::make_unique<CairoDriver>(image->m_surface, false), DcKind::Image, POINT{0, 0}, nullptr,
                         SIZE{width, height});
}

HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, const RECT* visible)
{
    if (!IsRgbImage(surface)) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    // A window's DC reports the screen's resolution, as on Windows.
    return InsertImageDC(std::make_unique<CairoDriver>(surface, false), DcKind::Image, origin, visible,
                         GetScreenSize());
}

cairo_surface_t* GetImageSurface(HDC hdc)
{
    ObjectRef<DeviceContext> dc = ObjectRef<DeviceContext>::Lookup(hdc);
    if (!dc) return nullptr;
    CairoDriver* driver = dynamic_cast<CairoDriver*>(dc->GetDriver());
    return driver ? driver->Surface() : nullptr;
}

BOOL SaveImagePng(HDC hdc, const char* path)
{
    GdiLock lock = HandleTable::Instance().Lock();
    return WritePng(GetImageSurface(hdc), path);
}

BOOL SaveBitmapPng(HBITMAP bitmap, const char* path)
{
    ObjectRef<BitmapRecord> record = ObjectRef<BitmapRecord>::Lookup(bitmap);
    if (!record) return FALSE;
    return WritePng(record->m_surface, path);
}

HDC CreateRecordingDC(int width, int height)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    return InsertImageDC(std::make_unique<RecordingDriver>(width, height), DcKind::Recording, POINT{0, 0}, nullptr,
                         SIZE{width, height});
}

std::vector<DrawRecord> GetRecording(HDC hdc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    RecordingDriver* recorder = RecorderOf(hdc);
    return recorder ? recorder->Records() : std::vector<DrawRecord>();
}

void ClearRecording(HDC hdc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    RecordingDriver* recorder = RecorderOf(hdc);
    if (recorder) recorder->Clear();
}

}  // namespace gdi
}  // namespace platform
