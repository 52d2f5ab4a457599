// The Win32 text functions: TextOut, ExtTextOut, text extents and metrics.
// The DC places the text cell from the alignment flags and the font's
// metrics; pango shapes and the driver draws.
#include <algorithm>

#include "platform/gdi/GdiInternal.h"

using namespace platform::gdi;

namespace {

typedef ObjectRef<DeviceContext> DcRef;

// The left edge and top of the character cell for a reference point and the
// TA_ flags, logical units.
POINT CellOrigin(POINT ref, UINT align, int width, const TEXTMETRICW& tm)
{
    POINT origin = ref;
    switch (align & TA_CENTER) {
    case TA_RIGHT: origin.x -= width; break;
    case TA_CENTER: origin.x -= width / 2; break;
    default: break;
    }
    switch (align & TA_BASELINE) {
    case TA_BASELINE: origin.y -= tm.tmAscent; break;
    case TA_BOTTOM: origin.y -= tm.tmHeight; break;
    default: break;
    }
    return origin;
}

class LayoutHolder {
public:
    explicit LayoutHolder(PangoLayout* layout) : m_layout(layout) {}
    ~LayoutHolder()
    {
        if (m_layout) g_object_unref(m_layout);
    }
    LayoutHolder(const LayoutHolder&) = delete;
    LayoutHolder& operator=(const LayoutHolder&) = delete;
    PangoLayout* get() const { return m_layout; }

private:
    PangoLayout* m_layout;
};

}  // namespace

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx)
{
    (void)dx;   // per-character advances come with the rest of the text functions
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !dc->GetDriver() || (count > 0 && !text) || count > 0x7FFFFFFF) return FALSE;
    Driver* driver = dc->GetDriver();
    DcState& state = dc->State();
    const DrawAttributes attr = dc->Attributes();
    const bool hasRect = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
    const RECT surfaceRect = hasRect ? Normalized(dc->ToSurface(*rect)) : RECT{0, 0, 0, 0};

    // ETO_OPAQUE fills its rectangle with the background colour whatever the
    // background mode, text or no text (CDC::FillSolidRect relies on it).
    if (hasRect && (options & ETO_OPAQUE)) {
        DeviceBrush bk;
        bk.style = BS_SOLID;
        bk.color = attr.bkColor;
        RECT fill = surfaceRect;
        driver->PatBlt(fill, bk, PATCOPY, attr);
    }
    if (count == 0) return TRUE;

    const RealizedFont* font = ResolveFont(*dc);
    if (!font) return FALSE;
    TextLayout& layouts = TextLayout::Instance();
    LayoutHolder layout(layouts.CreateLayout(font, text, (int)count));
    const int width = TextLayout::AdvanceWidth(layout.get());
    const TEXTMETRICW& tm = font->metrics;
    const bool updateCp = (state.textAlign & TA_UPDATECP) != 0;
    const POINT ref = updateCp ? state.position : POINT{x, y};
    const POINT origin = CellOrigin(ref, state.textAlign, width, tm);

    TextRun run;
    run.layout = layout.get();
    run.font = font;
    run.text.assign(text, count);
    run.cell = dc->ToSurface(RECT{origin.x, origin.y, origin.x + width, origin.y + (LONG)tm.tmHeight});
    run.baseline = dc->ToSurface(POINT{origin.x, origin.y + (LONG)tm.tmAscent});
    run.clipped = hasRect && (options & ETO_CLIPPED);
    run.clip = run.clipped ? surfaceRect : RECT{0, 0, 0, 0};
    // In OPAQUE mode the text's own cell gets the background colour.
    if (state.bkMode == OPAQUE) run.opaque = run.clipped ? Intersect(run.cell, run.clip) : run.cell;
    run.color = state.textColor & 0xFFFFFF;
    driver->Text(run, attr);

    if (updateCp) {
        if ((state.textAlign & TA_CENTER) == TA_LEFT) state.position.x += width;
        else if ((state.textAlign & TA_CENTER) == TA_RIGHT) state.position.x -= width;
    }
    return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count)
{
    if (count < 0) return FALSE;
    return ExtTextOutW(hdc, x, y, 0, nullptr, text, (UINT)count, nullptr);
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
    const RealizedFont* font = ResolveFont(*dc);
    if (!font) return FALSE;
    int width = 0;
    if (count > 0) {
        LayoutHolder layout(TextLayout::Instance().CreateLayout(font, text, count));
        width = TextLayout::AdvanceWidth(layout.get());
    }
    size->cx = width;
    size->cy = font->metrics.tmHeight;
    return TRUE;
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !metrics) return FALSE;
    const RealizedFont* font = ResolveFont(*dc);
    if (!font) return FALSE;
    *metrics = font->metrics;
    return TRUE;
}

int GetTextFaceW(HDC hdc, int count, LPWSTR faceName)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc) return 0;
    const RealizedFont* font = ResolveFont(*dc);
    if (!font) return 0;
    const wchar_t* face = font->log.lfFaceName;
    int length = 0;
    while (length < LF_FACESIZE && face[length]) ++length;
    // Counts include the terminator, with or without a buffer.
    if (!faceName) return length + 1;
    if (count <= 0) return 0;
    const int n = std::min(length, count - 1);
    std::copy(face, face + n, faceName);
    faceName[n] = 0;
    return n + 1;
}
