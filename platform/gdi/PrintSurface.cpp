#include "platform/gdi/PrintSurface.h"

#include <cmath>
#include <memory>
#include <utility>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/PdfDriver.h"

namespace platform {
namespace gdi {

namespace {

const int kMinPaperTenthMm = 10;       // 1 mm
const int kMaxPaperTenthMm = 100000;   // 10 m: the longest roll any printer takes
const int kMinDpi = 72;
const int kMaxDpi = 4800;

int TenthMmToDots(int tenthMm, int dpi)
{
    return (int)std::lround(tenthMm * (double)dpi / 254.0);
}

// The driver of a print surface DC; null for any other handle. The caller holds the GDI lock.
PdfDriver* PrintDriver(HDC hdc)
{
    DeviceContext* dc = FindRecord<DeviceContext>(hdc);
    if (!dc || dc->Kind() != DcKind::Printer) return nullptr;
    return static_cast<PdfDriver*>(dc->GetDriver());
}

}  // namespace

HDC CreatePrintSurfaceDC(const PrintSurfaceSpec& spec)
{
    if (spec.paperWidthTenthMm < kMinPaperTenthMm || spec.paperWidthTenthMm > kMaxPaperTenthMm ||
        spec.paperHeightTenthMm < kMinPaperTenthMm || spec.paperHeightTenthMm > kMaxPaperTenthMm ||
        spec.dpi < kMinDpi || spec.dpi > kMaxDpi)
        return nullptr;
    if (spec.marginLeft < 0 || spec.marginTop < 0 || spec.marginRight < 0 || spec.marginBottom < 0) return nullptr;
    SIZE paper = {TenthMmToDots(spec.paperWidthTenthMm, spec.dpi), TenthMmToDots(spec.paperHeightTenthMm, spec.dpi)};
    if (spec.landscape) std::swap(paper.cx, paper.cy);
    const long long width = (long long)paper.cx - spec.marginLeft - spec.marginRight;
    const long long height = (long long)paper.cy - spec.marginTop - spec.marginBottom;
    if (width <= 0 || height <= 0) return nullptr;

    GdiLock lock = HandleTable::Instance().Lock();
    const SIZE printable = {(LONG)width, (LONG)height};
    const POINT offset = {spec.marginLeft, spec.marginTop};
    double widthPt = spec.paperWidthTenthMm * 72.0 / 254.0, heightPt = spec.paperHeightTenthMm * 72.0 / 254.0;
    if (spec.landscape) std::swap(widthPt, heightPt);
    auto driver = std::make_unique<PdfDriver>(printable, offset, widthPt, heightPt, spec.dpi);
    if (!spec.pdfPath.empty()) driver->SetOutput(spec.pdfPath);
    auto dc = std::make_unique<DeviceContext>(DcKind::Printer, std::move(driver));
    dc->m_referenceSize = printable;
    dc->m_dpi = spec.dpi;
    dc->m_printer.paper = paper;
    dc->m_printer.offset = offset;
    return InsertDC(std::move(dc));
}

BOOL PrintSurfaceSetOutput(HDC dc, const std::string& pdfPath)
{
    GdiLock lock = HandleTable::Instance().Lock();
    PdfDriver* driver = PrintDriver(dc);
    return driver && driver->SetOutput(pdfPath);
}

BOOL PrintSurfaceStartPage(HDC dc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    PdfDriver* driver = PrintDriver(dc);
    return driver && driver->StartPage();
}

BOOL PrintSurfaceEndPage(HDC dc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    PdfDriver* driver = PrintDriver(dc);
    return driver && driver->EndPage();
}

BOOL PrintSurfaceFinish(HDC dc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    PdfDriver* driver = PrintDriver(dc);
    return driver && driver->Finish();
}

BOOL PrintSurfaceAbort(HDC dc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    PdfDriver* driver = PrintDriver(dc);
    if (!driver) return FALSE;
    driver->Abort();
    return TRUE;
}

int PrintSurfacePageCount(HDC dc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    PdfDriver* driver = PrintDriver(dc);
    return driver ? driver->PageCount() : -1;
}

BOOL IsPrintSurfaceDC(HDC dc)
{
    GdiLock lock = HandleTable::Instance().Lock();
    return PrintDriver(dc) != nullptr;
}

}  // namespace gdi
}  // namespace platform
