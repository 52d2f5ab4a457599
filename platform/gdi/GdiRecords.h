// What the handle table holds: one record per GDI object. Records are plain
// state; the behaviour lives in the Win32 functions and the drivers. Only
// handles leave the layer.
#pragma once

#include <cairo.h>

#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Region.h"

namespace platform {
namespace gdi {

// Icons and cursors are USER objects on Windows, not GDI ones; they share our
// table (so stale icon handles fail the same way) under a type of their own
// that GetObjectType does not report.
const DWORD kIconType = 0x100;

struct RealizedFont;

class GdiRecord {
public:
    explicit GdiRecord(DWORD type) : m_type(type) {}
    virtual ~GdiRecord() = default;
    GdiRecord(const GdiRecord&) = delete;
    GdiRecord& operator=(const GdiRecord&) = delete;

    static bool Accepts(DWORD) { return true; }

    DWORD m_type;                 // OBJ_* or kIconType
    bool m_stock = false;         // stock objects are never freed and not counted as live
    int m_useCount = 0;           // DC selections plus saved states that hold the object
    bool m_deletePending = false; // DeleteObject came while in use; freed when m_useCount drops to 0
};

class PenRecord : public GdiRecord {
public:
    explicit PenRecord(bool extended) : GdiRecord(extended ? OBJ_EXTPEN : OBJ_PEN) {}
    static bool Accepts(DWORD type) { return type == OBJ_PEN || type == OBJ_EXTPEN; }
    bool IsExtended() const { return m_type == OBJ_EXTPEN; }
    int Style() const { return (int)(m_style & PS_STYLE_MASK); }
    bool IsGeometric() const { return (m_style & PS_TYPE_MASK) == PS_GEOMETRIC; }

    DWORD m_style = PS_SOLID;     // PS_* style, end cap, join and type bits
    int m_width = 1;              // logical units; 0 for cosmetic pens means one pixel
    LOGBRUSH m_brush = {BS_SOLID, 0, 0};
    std::vector<DWORD> m_userStyle;   // PS_USERSTYLE dash and gap lengths: logical units (geometric), pixels (cosmetic)
};

class BrushRecord : public GdiRecord {
public:
    BrushRecord() : GdiRecord(OBJ_BRUSH) {}
    static bool Accepts(DWORD type) { return type == OBJ_BRUSH; }

    LOGBRUSH m_log = {BS_SOLID, 0, 0};
};

class FontRecord : public GdiRecord {
public:
    FontRecord() : GdiRecord(OBJ_FONT) {}
    static bool Accepts(DWORD type) { return type == OBJ_FONT; }

    LOGFONTW m_log = {};
    const RealizedFont* m_realized = nullptr;   // owned by the font cache; null until first used
};

class BitmapRecord : public GdiRecord {
public:
    BitmapRecord() : GdiRecord(OBJ_BITMAP) {}
    ~BitmapRecord() override
    {
        if (m_surface) cairo_surface_destroy(m_surface);
    }
    static bool Accepts(DWORD type) { return type == OBJ_BITMAP; }

    int m_width = 0;
    int m_height = 0;
    int m_bitsPixel = 32;         // 1 for monochrome; the surface stores every kind as 32-bit RGB
    int m_planes = 1;
    cairo_surface_t* m_surface = nullptr;   // CAIRO_FORMAT_RGB24, m_width x m_height
    HDC m_selectedIn = nullptr;   // the one DC a bitmap may be selected into; stock bitmaps ignore it
};

class RegionRecord : public GdiRecord {
public:
    RegionRecord() : GdiRecord(OBJ_REGION) {}
    static bool Accepts(DWORD type) { return type == OBJ_REGION; }

    Region m_region;
};

class IconRecord : public GdiRecord {
public:
    IconRecord() : GdiRecord(kIconType) {}
    ~IconRecord() override
    {
        if (m_image) cairo_surface_destroy(m_image);
    }
    static bool Accepts(DWORD type) { return type == kIconType; }

    cairo_surface_t* m_image = nullptr;   // CAIRO_FORMAT_ARGB32 (premultiplied)
    POINT m_hotspot = {0, 0};
    bool m_isIcon = true;         // false for cursors: their hotspot is not the centre
    bool m_shared = false;        // loaded from resources: DestroyIcon leaves it alone
};

}  // namespace gdi
}  // namespace platform
