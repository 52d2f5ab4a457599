// The state behind an HDC: the selected objects and drawing attributes, the
// stack of states SaveDC pushed, the coordinate mapping, and the driver that
// draws. Object handles held by the current or a saved state count as uses
// of those objects, so a DeleteObject while they are held only marks them.
#pragma once

#include <memory>
#include <vector>

#include "platform/gdi/Driver.h"
#include "platform/gdi/GdiRecords.h"
#include "platform/gdi/Region.h"

namespace platform {
namespace gdi {

enum class DcKind {
    Memory,      // CreateCompatibleDC: draws into the selected bitmap (OBJ_MEMDC)
    Image,       // CreateImageDC / CreateSurfaceDC: a display-like DC over an image (OBJ_DC)
    Recording,   // CreateRecordingDC: keeps primitives for tests (OBJ_DC)
    Printer,     // CreatePrintSurfaceDC: a page of a PDF document (OBJ_DC, DT_RASPRINTER)
};

// What a printer DC reports in GetDeviceCaps beyond its printable size.
struct PrinterGeometry {
    SIZE paper = {0, 0};          // the whole sheet as printed, device units
    POINT offset = {0, 0};        // top-left of the printable area on the sheet, device units
};

struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;     // memory DCs only
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int rop2 = R2_COPYPEN;
    int mapMode = MM_TEXT;
    POINT position = {0, 0};      // current position, logical units
    POINT viewportOrg = {0, 0};   // device units
    POINT windowOrg = {0, 0};     // logical units
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    bool hasClip = false;         // no clip region: the whole surface
    Region clip;                  // device units (as GDI keeps clip regions); empty is a null region
};

class DeviceContext : public GdiRecord {
public:
    DeviceContext(DcKind kind, std::unique_ptr<Driver> driver);
    static bool Accepts(DWORD type) { return type == OBJ_DC || type == OBJ_MEMDC; }

    DcKind Kind() const { return m_kind; }
    DcState& State() { return m_state; }
    const DcState& State() const { return m_state; }
    Driver* GetDriver() const { return m_driver.get(); }
    void SetDriver(std::unique_ptr<Driver> driver) { m_driver = std::move(driver); }

    // Selection bookkeeping for the initial objects of a new DC.
    void AdoptInitialObjects();
    // Lets go of everything the DC and its saved states hold (DeleteDC).
    void ReleaseAll();

    int SaveLevel() const { return (int)m_saved.size(); }
    // Pushes the current state; returns the new level.
    int Save();
    // Makes saved state `level` (1-based) current and drops the ones above it.
    void PopStateTo(int level);

    // Logical to surface pixels and back (surface pixels include the DC's
    // own origin on a shared surface).
    POINT ToSurface(POINT logical) const;
    RECT ToSurface(const RECT& logical) const;
    POINT ToLogical(POINT surface) const;
    // Device units (what viewport origins and clip regions are given in) to surface pixels.
    RECT DeviceToSurface(const RECT& device) const;
    RECT SurfaceToDevice(const RECT& surface) const;

    // What drawing may touch, surface pixels: the DC's visible area and its
    // clip; the area as a box, and as a region.
    RECT DrawableArea() const;
    Region DrawableRegion() const;
    // The surface and visible area without the clip region, device units:
    // what "the whole DC" means to ExcludeClipRect.
    Region DeviceArea() const;
    DrawAttributes Attributes() const;

    // The device the DC reports in GetDeviceCaps: its own surface, or for
    // memory DCs the device it was made compatible with.
    SIZE m_referenceSize = {0, 0};
    POINT m_surfaceOrigin = {0, 0};   // surface pixel of device (0, 0); non-zero for child windows on a shared surface
    bool m_hasVisible = false;        // false: the DC may draw on the whole surface
    RECT m_visible = {0, 0, 0, 0};    // surface pixels the DC may draw on when m_hasVisible
    int m_dpi = 96;                   // LOGPIXELSX/Y: 96 for screens, the printer's resolution for printers
    PrinterGeometry m_printer;        // printer DCs only

private:
    void UseState(const DcState& state, bool add);
    // The surface, or the part of it the DC is given, surface pixels.
    RECT VisibleArea() const;

    DcKind m_kind;
    std::unique_ptr<Driver> m_driver;
    DcState m_state;
    std::vector<DcState> m_saved;
};

}  // namespace gdi
}  // namespace platform
