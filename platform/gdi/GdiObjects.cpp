// The Win32 object functions: pens, brushes, fonts, bitmaps, rectangular
// regions, stock objects, DeleteObject and GetObject.
#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>
#include <vector>

#include "platform/gdi/GdiInternal.h"

using namespace platform::gdi;

namespace {

const int kStockCount = 20;
const int kMaxBitmapSide = 32767;
// Beyond the last COLOR_x index FillRect's pseudo brushes are real handles.
const uintptr_t kMaxSysColorBrush = 31;

SysColorSource g_sysColorSource = nullptr;

template <class H> H Insert(std::unique_ptr<GdiRecord> record)
{
    return MakeHandle<H>(HandleTable::Instance().Insert(std::move(record)));
}

std::unique_ptr<PenRecord> MakePen(int style, int width, COLORREF color)
{
    auto pen = std::make_unique<PenRecord>(false);
    pen->m_style = (DWORD)style;
    pen->m_width = width;
    pen->m_brush = {BS_SOLID, color, 0};
    return pen;
}

std::unique_ptr<BrushRecord> MakeBrush(UINT style, COLORREF color, ULONG_PTR hatch)
{
    auto brush = std::make_unique<BrushRecord>();
    brush->m_log = {style, color, hatch};
    return brush;
}

std::unique_ptr<FontRecord> MakeFont(LONG height, LONG weight, BYTE charSet, BYTE pitchAndFamily, const wchar_t* face)
{
    auto font = std::make_unique<FontRecord>();
    font->m_log.lfHeight = height;
    font->m_log.lfWeight = weight;
    font->m_log.lfCharSet = charSet;
    font->m_log.lfPitchAndFamily = pitchAndFamily;
    std::wcsncpy(font->m_log.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

// The stock objects of a Japanese system: fonts carry the faces it names,
// which the font mapping turns into IPA Gothic.
std::unique_ptr<GdiRecord> MakeStock(int index)
{
    switch (index) {
    case WHITE_BRUSH: return MakeBrush(BS_SOLID, RGB(255, 255, 255), 0);
    case LTGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(192, 192, 192), 0);
    case GRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(128, 128, 128), 0);
    case DKGRAY_BRUSH: return MakeBrush(BS_SOLID, RGB(64, 64, 64), 0);
    case BLACK_BRUSH: return MakeBrush(BS_SOLID, RGB(0, 0, 0), 0);
    case NULL_BRUSH: return MakeBrush(BS_NULL, 0, 0);
    case WHITE_PEN: return MakePen(PS_SOLID, 0, RGB(255, 255, 255));
    case BLACK_PEN: return MakePen(PS_SOLID, 0, RGB(0, 0, 0));
    case NULL_PEN: return MakePen(PS_NULL, 0, 0);
    case OEM_FIXED_FONT: return MakeFont(12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, L"Terminal");
    case ANSI_FIXED_FONT: return MakeFont(12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, L"Courier");
    case ANSI_VAR_FONT: return MakeFont(12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, L"MS Sans Serif");
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT: return MakeFont(16, FW_NORMAL, SHIFTJIS_CHARSET, VARIABLE_PITCH | FF_SWISS, L"System");
    case SYSTEM_FIXED_FONT: return MakeFont(16, FW_NORMAL, SHIFTJIS_CHARSET, FIXED_PITCH | FF_MODERN, L"FixedSys");
    case DEFAULT_GUI_FONT:
        return MakeFont(-12, FW_NORMAL, SHIFTJIS_CHARSET, VARIABLE_PITCH | FF_SWISS, L"MS UI Gothic");
    default: return nullptr;   // DEFAULT_PALETTE, DC_BRUSH and DC_PEN are not provided
    }
}

HGDIOBJ* StockTable()
{
    static HGDIOBJ table[kStockCount] = {};
    return table;
}

// Bytes per scan line of a device bitmap: rounded up to a WORD.
LONG WidthBytes(int width, int bitsPixel)
{
    return (LONG)((((long long)width * bitsPixel + 15) / 16) * 2);
}

// Device bitmaps' bits as the display drivers lay them out: rows top-down,
// each padded to a WORD; 1 bit per pixel with set bits white, 16 bits 5-6-5,
// 24 bits blue-green-red, 32 bits blue-green-red-unused. Other depths have
// no layout here (they would need a palette).
bool HasBitLayout(int bitsPixel)
{
    return bitsPixel == 1 || bitsPixel == 16 || bitsPixel == 24 || bitsPixel == 32;
}

uint32_t ReadPixel(const unsigned char* row, int x, int bpp)
{
    switch (bpp) {
    case 1: return (row[x / 8] & (0x80 >> (x % 8))) ? kWhitePixel : kBlackPixel;
    case 16: {
        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        const uint32_t r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
        return (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
    }
    default: {
        const unsigned char* p = row + (size_t)x * (bpp / 8);
        return ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
    }
    }
}

void WritePixel(unsigned char* row, int x, int bpp, uint32_t pixel)
{
    switch (bpp) {
    case 1:
        if (pixel == kWhitePixel) row[x / 8] |= (unsigned char)(0x80 >> (x % 8));
        else row[x / 8] &= (unsigned char)~(0x80 >> (x % 8));
        return;
    case 16: {
        const unsigned v = (((pixel >> 19) & 0x1F) << 11) | (((pixel >> 10) & 0x3F) << 5) | ((pixel >> 3) & 0x1F);
        row[2 * x] = (unsigned char)(v & 0xFF);
        row[2 * x + 1] = (unsigned char)(v >> 8);
        return;
    }
    default: {
        unsigned char* p = row + (size_t)x * (bpp / 8);
        p[0] = (unsigned char)(pixel & 0xFF);
        p[1] = (unsigned char)((pixel >> 8) & 0xFF);
        p[2] = (unsigned char)((pixel >> 16) & 0xFF);
        if (bpp == 32) p[3] = 0;
    }
    }
}

// Copies whole rows in: the first `rows` rows from `bits`.
void ImportRows(BitmapRecord& bitmap, const unsigned char* bits, int rows)
{
    const int bpp = bitmap.m_bitsPixel;
    PixelBuffer px(bitmap.m_surface, bpp == 1);
    const LONG rowBytes = WidthBytes(bitmap.m_width, bpp);
    for (int y = 0; y < rows; ++y) {
        const unsigned char* row = bits + (size_t)y * rowBytes;
        for (int x = 0; x < bitmap.m_width; ++x) px.Put(x, y, ReadPixel(row, x, bpp));
    }
    px.Commit();
}

void ImportBits(BitmapRecord& bitmap, const void* bits)
{
    if (!bits || !HasBitLayout(bitmap.m_bitsPixel)) return;   // other depths start white
    ImportRows(bitmap, static_cast<const unsigned char*>(bits), bitmap.m_height);
}

bool IsSupportedBrushStyle(UINT style)
{
    return style == BS_SOLID || style == BS_NULL || style == BS_HATCHED;
}

bool IsValidHatch(ULONG_PTR hatch)
{
    return hatch <= HS_DIAGCROSS;
}

int CopyOut(LPVOID buffer, int count, const void* data, int size)
{
    if (!buffer) return size;
    if (count < size) return 0;
    std::memcpy(buffer, data, (size_t)size);
    return size;
}

int GetPenObject(const PenRecord& pen, int count, LPVOID buffer)
{
    if (!pen.IsExtended()) {
        LOGPEN log = {(UINT)pen.m_style, {pen.m_width, 0}, pen.m_brush.lbColor};
        return CopyOut(buffer, count, &log, (int)sizeof log);
    }
    const size_t entries = pen.m_userStyle.size();
    const int size = (int)(offsetof(EXTLOGPEN, elpStyleEntry) + entries * sizeof(DWORD));
    if (!buffer) return size;
    if (count < size) return 0;
    EXTLOGPEN* ext = static_cast<EXTLOGPEN*>(buffer);
    ext->elpPenStyle = pen.m_style;
    ext->elpWidth = (DWORD)pen.m_width;
    ext->elpBrushStyle = pen.m_brush.lbStyle;
    ext->elpColor = pen.m_brush.lbColor;
    ext->elpHatch = pen.m_brush.lbHatch;
    ext->elpNumEntries = (DWORD)entries;
    if (entries) std::memcpy(ext->elpStyleEntry, pen.m_userStyle.data(), entries * sizeof(DWORD));
    return size;
}

}  // namespace

namespace platform {
namespace gdi {

int LiveObjectCount()
{
    GdiLock lock = HandleTable::Instance().Lock();
    return HandleTable::Instance().LiveCount();
}

SysColorSource SetSysColorSource(SysColorSource source)
{
    GdiLock lock = HandleTable::Instance().Lock();
    return std::exchange(g_sysColorSource, source);
}

bool SystemColorBrush(HBRUSH brush, COLORREF& color)
{
    const uintptr_t value = HandleValue(brush);
    if (value == 0 || value > kMaxSysColorBrush || !g_sysColorSource) return false;
    color = g_sysColorSource((int)value - 1);
    return true;
}

std::unique_ptr<BitmapRecord> MakeBitmap(int width, int height, int bitsPixel)
{
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    // New device bitmaps are white here; GDI leaves them undefined, and
    // white is what a test or a print preview expects to see.
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    auto bitmap = std::make_unique<BitmapRecord>();
    bitmap->m_width = width;
    bitmap->m_height = height;
    bitmap->m_bitsPixel = bitsPixel;
    bitmap->m_surface = surface;
    return bitmap;
}

HBITMAP DefaultBitmap()
{
    static HBITMAP stock = nullptr;
    if (HandleTable::Instance().Find(HandleValue(stock))) return stock;
    std::unique_ptr<BitmapRecord> bitmap = MakeBitmap(1, 1, 1);
    if (!bitmap) return nullptr;
    bitmap->m_stock = true;
    stock = Insert<HBITMAP>(std::move(bitmap));
    return stock;
}

DevicePen ResolvePen(const DeviceContext& dc)
{
    DevicePen resolved;
    const PenRecord* pen = FindRecord<PenRecord>(dc.State().pen);
    if (!pen || pen->m_brush.lbStyle == BS_NULL) {
        resolved.style = PS_NULL;
        return resolved;
    }
    resolved.style = pen->Style();
    resolved.color = pen->m_brush.lbColor & 0xFFFFFF;
    // CreatePen makes a wide pen geometric, with round ends and joins.
    resolved.geometric = pen->IsGeometric() || (!pen->IsExtended() && pen->m_width > 1);
    resolved.width = resolved.geometric ? std::max(1, pen->m_width) : 1;
    resolved.endCap = pen->IsExtended() ? (pen->m_style & PS_ENDCAP_MASK) : PS_ENDCAP_ROUND;
    resolved.join = pen->IsExtended() ? (pen->m_style & PS_JOIN_MASK) : PS_JOIN_ROUND;
    resolved.userStyle = pen->m_userStyle;
    return resolved;
}

DeviceBrush ResolveBrush(HBRUSH brush)
{
    DeviceBrush resolved;
    COLORREF sysColor;
    if (SystemColorBrush(brush, sysColor)) {
        resolved.style = BS_SOLID;
        resolved.color = sysColor & 0xFFFFFF;
        return resolved;
    }
    const BrushRecord* record = FindRecord<BrushRecord>(brush);
    if (!record) return resolved;
    resolved.style = record->m_log.lbStyle;
    resolved.color = record->m_log.lbColor & 0xFFFFFF;
    resolved.hatch = (int)record->m_log.lbHatch;
    return resolved;
}

const RealizedFont* ResolveFont(const DeviceContext& dc)
{
    FontRecord* font = FindRecord<FontRecord>(dc.State().font);
    if (!font) font = FindRecord<FontRecord>(GetStockObject(SYSTEM_FONT));
    if (!font) return nullptr;
    if (!font->m_realized) font->m_realized = TextLayout::Instance().Realize(font->m_log);
    return font->m_realized;
}

}  // namespace gdi
}  // namespace platform

HPEN CreatePen(int style, int width, COLORREF color)
{
    GdiLock lock = HandleTable::Instance().Lock();
    // CreatePen knows only the basic styles; anything else draws solid.
    if (style < PS_SOLID || style > PS_INSIDEFRAME) style = PS_SOLID;
    return Insert<HPEN>(MakePen(style, std::abs(width), color));
}

HPEN CreatePenIndirect(const LOGPEN* logPen)
{
    if (!logPen) return nullptr;
    return CreatePen((int)logPen->lopnStyle, logPen->lopnWidth.x, logPen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles)
{
    if (!brush) return nullptr;
    const DWORD basic = style & PS_STYLE_MASK;
    const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
    if ((style & PS_TYPE_MASK) > PS_GEOMETRIC || basic > PS_ALTERNATE) return nullptr;
    if ((style & ~(PS_STYLE_MASK | PS_ENDCAP_MASK | PS_JOIN_MASK | PS_TYPE_MASK)) != 0) return nullptr;
    if ((style & PS_ENDCAP_MASK) > PS_ENDCAP_FLAT || (style & PS_JOIN_MASK) > PS_JOIN_MITER) return nullptr;
    // Cosmetic pens are one pixel wide and solid-coloured; PS_ALTERNATE is cosmetic only.
    if (!geometric && (width != 1 || brush->lbStyle != BS_SOLID)) return nullptr;
    if (geometric && basic == PS_ALTERNATE) return nullptr;
    if (!IsSupportedBrushStyle(brush->lbStyle)) return nullptr;
    if (brush->lbStyle == BS_HATCHED && !IsValidHatch(brush->lbHatch)) return nullptr;
    // Style entries come with PS_USERSTYLE and only with it.
    if (basic == PS_USERSTYLE) {
        if (styleCount == 0 || styleCount > 16 || !styles) return nullptr;
    } else if (styleCount != 0 || styles) {
        return nullptr;
    }

    GdiLock lock = HandleTable::Instance().Lock();
    auto pen = std::make_unique<PenRecord>(true);
    pen->m_style = style;
    pen->m_width = (int)std::min<DWORD>(width, 0x7FFFFFFF);
    pen->m_brush = *brush;
    if (brush->lbStyle != BS_HATCHED) pen->m_brush.lbHatch = 0;
    if (basic == PS_USERSTYLE) pen->m_userStyle.assign(styles, styles + styleCount);
    return Insert<HPEN>(std::move(pen));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    GdiLock lock = HandleTable::Instance().Lock();
    return Insert<HBRUSH>(MakeBrush(BS_SOLID, color, 0));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < 0 || !IsValidHatch((ULONG_PTR)hatch)) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    return Insert<HBRUSH>(MakeBrush(BS_HATCHED, color, (ULONG_PTR)hatch));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush)
{
    if (!logBrush || !IsSupportedBrushStyle(logBrush->lbStyle)) return nullptr;
    switch (logBrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(logBrush->lbColor);
    case BS_HATCHED:
        if (!IsValidHatch(logBrush->lbHatch)) return nullptr;
        return CreateHatchBrush((int)logBrush->lbHatch, logBrush->lbColor);
    default: {
        GdiLock lock = HandleTable::Instance().Lock();
        return Insert<HBRUSH>(MakeBrush(BS_NULL, 0, 0));
    }
    }
}

HFONT CreateFontIndirectW(const LOGFONTW* logFont)
{
    if (!logFont) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    auto font = std::make_unique<FontRecord>();
    font->m_log = *logFont;
    // The face name is kept up to its terminator; the rest of the array is zero.
    bool ended = false;
    for (int i = 0; i < LF_FACESIZE; ++i) {
        ended = ended || logFont->lfFaceName[i] == 0 || i == LF_FACESIZE - 1;
        if (ended) font->m_log.lfFaceName[i] = 0;
    }
    return Insert<HFONT>(std::move(font));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCWSTR faceName)
{
    LOGFONTW log = {};
    log.lfHeight = height;
    log.lfWidth = width;
    log.lfEscapement = escapement;
    log.lfOrientation = orientation;
    log.lfWeight = weight;
    log.lfItalic = (BYTE)italic;
    log.lfUnderline = (BYTE)underline;
    log.lfStrikeOut = (BYTE)strikeOut;
    log.lfCharSet = (BYTE)charSet;
    log.lfOutPrecision = (BYTE)outPrecision;
    log.lfClipPrecision = (BYTE)clipPrecision;
    log.lfQuality = (BYTE)quality;
    log.lfPitchAndFamily = (BYTE)pitchAndFamily;
    if (faceName) std::wcsncpy(log.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&log);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    if (width < 0 || height < 0 || planes > 32 || bitsPerPixel > 32) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    // A zero size gives the stock 1 x 1 monochrome bitmap, as in GDI.
    if (width == 0 || height == 0) return DefaultBitmap();
    const int depth = (int)(planes * bitsPerPixel);
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return nullptr;
    std::unique_ptr<BitmapRecord> bitmap = MakeBitmap(width, height, depth);
    if (!bitmap) return nullptr;
    ImportBits(*bitmap, bits);
    return Insert<HBITMAP>(std::move(bitmap));
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height)
{
    ObjectRef<DeviceContext> dc = ObjectRef<DeviceContext>::Lookup(hdc);
    if (!dc || width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return DefaultBitmap();
    // A memory DC is compatible with its selected bitmap: a fresh one (with
    // the 1 x 1 monochrome bitmap) makes monochrome bitmaps, a classic trap.
    int depth = 32;
    if (dc->Kind() == DcKind::Memory) {
        const BitmapRecord* selected = FindRecord<BitmapRecord>(dc->State().bitmap);
        if (selected && selected->m_bitsPixel == 1) depth = 1;
    }
    std::unique_ptr<BitmapRecord> bitmap = MakeBitmap(width, height, depth);
    if (!bitmap) return nullptr;
    return Insert<HBITMAP>(std::move(bitmap));
}

LONG GetBitmapBits(HBITMAP bitmap, LONG count, LPVOID bits)
{
    ObjectRef<BitmapRecord> record = ObjectRef<BitmapRecord>::Lookup(bitmap);
    if (!record || count < 0 || !HasBitLayout(record->m_bitsPixel)) return 0;
    const LONG rowBytes = WidthBytes(record->m_width, record->m_bitsPixel);
    const long long total = (long long)rowBytes * record->m_height;
    if (!bits) return (LONG)total;
    // Only whole bytes the caller asked for; a short buffer gets the first rows (and part of the next).
    const long long wanted = std::min<long long>(count, total);
    std::vector<unsigned char> all((size_t)total, 0);
    const PixelBuffer px(record->m_surface, record->m_bitsPixel == 1);
    for (int y = 0; y < record->m_height; ++y) {
        unsigned char* row = all.data() + (size_t)y * rowBytes;
        for (int x = 0; x < record->m_width; ++x) WritePixel(row, x, record->m_bitsPixel, px.Get(x, y));
    }
    std::memcpy(bits, all.data(), (size_t)wanted);
    return (LONG)wanted;
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD count, const void* bits)
{
    ObjectRef<BitmapRecord> record = ObjectRef<BitmapRecord>::Lookup(bitmap);
    if (!record || !bits || !HasBitLayout(record->m_bitsPixel)) return 0;
    const LONG rowBytes = WidthBytes(record->m_width, record->m_bitsPixel);
    // Whole rows only: a partial row would leave a pixel half written.
    const int rows = (int)std::min<long long>(record->m_height, (long long)count / rowBytes);
    ImportRows(*record, static_cast<const unsigned char*>(bits), rows);
    return (LONG)((long long)rows * rowBytes);
}

int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage)
{
    GdiLock lock = HandleTable::Instance().Lock();
    const BitmapRecord* record = FindRecord<BitmapRecord>(bitmap);
    if (!FindRecord<DeviceContext>(hdc) || !record || !info || usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER)) return 0;
    if (!bits && header.biBitCount == 0) {
        // Asked for the bitmap's format: ours is always 32-bit colour underneath.
        header.biWidth = record->m_width;
        header.biHeight = record->m_height;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        header.biSizeImage = (DWORD)((long long)record->m_width * 4 * record->m_height);
        return record->m_height;
    }
    if (header.biCompression != BI_RGB || (header.biBitCount != 24 && header.biBitCount != 32)) return 0;
    const int bpp = header.biBitCount;
    // DIB rows are padded to a DWORD.
    const long long rowBytes = (((long long)record->m_width * bpp + 31) / 32) * 4;
    header.biWidth = record->m_width;
    header.biPlanes = 1;
    header.biSizeImage = (DWORD)(rowBytes * record->m_height);
    if (!bits) return record->m_height;
    const bool topDown = header.biHeight < 0;
    header.biHeight = topDown ? -record->m_height : record->m_height;
    // Scan line numbers count from the bottom of a bottom-up DIB and from the top of a top-down one.
    const long long first = start, count = std::min<long long>(lines, std::max<long long>(0, record->m_height - first));
    const PixelBuffer px(record->m_surface, record->m_bitsPixel == 1);
    unsigned char* out = static_cast<unsigned char*>(bits);
    for (long long line = 0; line < count; ++line) {
        const long long dibRow = first + line;
        const int y = (int)(topDown ? dibRow : record->m_height - 1 - dibRow);
        unsigned char* row = out + (size_t)(line * rowBytes);
        std::memset(row, 0, (size_t)rowBytes);
        for (int x = 0; x < record->m_width; ++x) WritePixel(row, x, bpp, px.Get(x, y));
    }
    return (int)count;
}

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index >= kStockCount) return nullptr;
    GdiLock lock = HandleTable::Instance().Lock();
    HGDIOBJ* table = StockTable();
    if (HandleTable::Instance().Find(HandleValue(table[index]))) return table[index];
    std::unique_ptr<GdiRecord> record = MakeStock(index);
    if (!record) return nullptr;
    record->m_stock = true;
    table[index] = Insert<HGDIOBJ>(std::move(record));
    return table[index];
}

BOOL DeleteObject(HGDIOBJ object)
{
    HandleTable& table = HandleTable::Instance();
    GdiLock lock = table.Lock();
    GdiRecord* record = table.Find(HandleValue(object));
    if (!record) return FALSE;
    if (record->m_stock) return TRUE;
    // DCs go through DeleteDC, icons through DestroyIcon.
    if (DeviceContext::Accepts(record->m_type) || record->m_type == kIconType) return FALSE;
    if (record->m_useCount > 0) {
        record->m_deletePending = true;
        return TRUE;
    }
    table.Remove(HandleValue(object));
    return TRUE;
}

int GetObjectW(HGDIOBJ object, int count, LPVOID buffer)
{
    GdiLock lock = HandleTable::Instance().Lock();
    GdiRecord* record = HandleTable::Instance().Find(HandleValue(object));
    if (!record || (buffer && count <= 0)) return 0;
    switch (record->m_type) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return GetPenObject(*static_cast<PenRecord*>(record), count, buffer);
    case OBJ_BRUSH: return CopyOut(buffer, count, &static_cast<BrushRecord*>(record)->m_log, (int)sizeof(LOGBRUSH));
    case OBJ_FONT: {
        // A short buffer gets the start of the LOGFONT, as GDI gives it.
        const int size = (int)sizeof(LOGFONTW);
        if (!buffer) return size;
        const int n = std::min(count, size);
        std::memcpy(buffer, &static_cast<FontRecord*>(record)->m_log, (size_t)n);
        return n;
    }
    case OBJ_BITMAP: {
        const BitmapRecord* bitmap = static_cast<BitmapRecord*>(record);
        BITMAP bm = {0, bitmap->m_width, bitmap->m_height, WidthBytes(bitmap->m_width, bitmap->m_bitsPixel),
                     (WORD)bitmap->m_planes, (WORD)bitmap->m_bitsPixel, nullptr};
        return CopyOut(buffer, count, &bm, (int)sizeof bm);
    }
    default: return 0;
    }
}

DWORD GetObjectType(HGDIOBJ object)
{
    GdiLock lock = HandleTable::Instance().Lock();
    const GdiRecord* record = HandleTable::Instance().Find(HandleValue(object));
    if (!record || record->m_type == kIconType) return 0;
    return record->m_type;
}
