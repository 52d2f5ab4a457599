// The Win32 GDI functions the system calls, with their documented contracts:
// a stale or foreign handle, a null pointer or an out-of-range argument
// returns the documented failure value (0, FALSE, NULL, CLR_INVALID,
// GDI_ERROR) and changes nothing.
//
// Coordinates are logical units of the DC; only MM_TEXT exists so far, so
// logical units are device pixels moved by the window and viewport origins.
#pragma once

#include <cstdint>
#include <type_traits>

#include "platform/base/WinTypes.h"
#include "platform/gdi/GdiTypes.h"

// ---- objects --------------------------------------------------------------------
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* logPen);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);
HFONT CreateFontIndirectW(const LOGFONTW* logFont);
HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
LONG GetBitmapBits(HBITMAP bitmap, LONG count, LPVOID bits);
LONG SetBitmapBits(HBITMAP bitmap, DWORD count, const void* bits);
// 24- and 32-bit BI_RGB only; `bits` null fills in the header (biSizeImage).
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage);

// ---- regions ---------------------------------------------------------------------
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int GetRgnBox(HRGN region, LPRECT rect);
int CombineRgn(HRGN dest, HRGN source1, HRGN source2, int mode);
BOOL EqualRgn(HRGN region1, HRGN region2);
int OffsetRgn(HRGN region, int dx, int dy);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
HGDIOBJ GetStockObject(int index);
// Deleting an object that is still selected into a DC (or kept by a saved
// state) returns TRUE but only marks it: it goes when the last DC lets go,
// so a DC never draws with a freed pen. Stock objects are never deleted.
BOOL DeleteObject(HGDIOBJ object);
int GetObjectW(HGDIOBJ object, int count, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
#define CreateFontIndirect CreateFontIndirectW
#define CreateFont CreateFontW
#define GetObject GetObjectW

namespace platform {
namespace gdi {
// The typed GDI handles. On Windows they all convert to HGDIOBJ (a void*);
// ours are distinct types, so the calls taking any object get overloads for them.
template <class H> struct IsGdiHandle : std::false_type {};
template <> struct IsGdiHandle<HPEN> : std::true_type {};
template <> struct IsGdiHandle<HBRUSH> : std::true_type {};
template <> struct IsGdiHandle<HFONT> : std::true_type {};
template <> struct IsGdiHandle<HBITMAP> : std::true_type {};
template <> struct IsGdiHandle<HRGN> : std::true_type {};
template <> struct IsGdiHandle<HPALETTE> : std::true_type {};
template <> struct IsGdiHandle<HDC> : std::true_type {};
template <class H> using EnableForGdiHandle = std::enable_if_t<IsGdiHandle<H>::value, int>;
}  // namespace gdi
}  // namespace platform

template <class H, platform::gdi::EnableForGdiHandle<H> = 0> inline BOOL DeleteObject(H object)
{
    return DeleteObject(reinterpret_cast<HGDIOBJ>(object));
}
template <class H, platform::gdi::EnableForGdiHandle<H> = 0> inline int GetObjectW(H object, int count, LPVOID buffer)
{
    return GetObjectW(reinterpret_cast<HGDIOBJ>(object), count, buffer);
}
template <class H, platform::gdi::EnableForGdiHandle<H> = 0> inline DWORD GetObjectType(H object)
{
    return GetObjectType(reinterpret_cast<HGDIOBJ>(object));
}

// ---- device contexts --------------------------------------------------------
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
template <class H, platform::gdi::EnableForGdiHandle<H> = 0> inline HGDIOBJ SelectObject(HDC hdc, H object)
{
    return SelectObject(hdc, reinterpret_cast<HGDIOBJ>(object));
}
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int savedDC);
int GetDeviceCaps(HDC hdc, int index);

COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
int SetROP2(HDC hdc, int rop2);
int GetROP2(HDC hdc);
int SetMapMode(HDC hdc, int mode);
int GetMapMode(HDC hdc);

BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT oldOrigin);
BOOL GetViewportOrgEx(HDC hdc, LPPOINT origin);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT oldOrigin);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT oldOrigin);
BOOL GetWindowOrgEx(HDC hdc, LPPOINT origin);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT oldOrigin);
BOOL LPtoDP(HDC hdc, LPPOINT points, int count);
BOOL DPtoLP(HDC hdc, LPPOINT points, int count);

int GetClipBox(HDC hdc, LPRECT rect);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC hdc, HRGN region);
int ExtSelectClipRgn(HDC hdc, HRGN region, int mode);
BOOL PtVisible(HDC hdc, int x, int y);
BOOL RectVisible(HDC hdc, const RECT* rect);
int SetPolyFillMode(HDC hdc, int mode);
int GetPolyFillMode(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);

// ---- drawing ----------------------------------------------------------------------
BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc, DWORD rop);
BOOL StretchBlt(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop);
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* rect);
// XORs a dotted frame: calling it again with the same rectangle removes it.
BOOL DrawFocusRect(HDC hdc, const RECT* rect);
// Rectangular edges only; BF_DIAGONAL returns FALSE and draws nothing.
BOOL DrawEdge(HDC hdc, LPRECT rect, UINT edge, UINT flags);
BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT oldPosition);
BOOL GetCurrentPositionEx(HDC hdc, LPPOINT position);
BOOL LineTo(HDC hdc, int x, int y);
BOOL Polyline(HDC hdc, const POINT* points, int count);
// Several polylines in the pen, drawn as LineTo and Polyline draw them; the
// current position stays.
BOOL PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL Polygon(HDC hdc, const POINT* points, int count);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC hdc, int x, int y);

// ---- text ---------------------------------------------------------------------------
BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* dx);
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size);
BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics);
int GetTextFaceW(HDC hdc, int count, LPWSTR faceName);
// The height of the text drawn (with DT_VCENTER or DT_BOTTOM, the offset
// from rect->top to its bottom); 0 on failure. `count` -1: up to the NUL.
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format);
// The next character (a base character with the combining marks after it);
// `text` itself at its end.
LPWSTR CharNextW(LPCWSTR text);
LPWSTR CharPrevW(LPCWSTR start, LPCWSTR current);
#define DrawText DrawTextW
#define CharNext CharNextW
#define CharPrev CharPrevW
#define TextOut TextOutW
#define ExtTextOut ExtTextOutW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextMetrics GetTextMetricsW
#define GetTextFace GetTextFaceW

// ---- printing -----------------------------------------------------------------------
// Declared here so the framework's CDC can call them; the printing layer
// (platform/print/) implements them on top of the print surfaces of
// PrintSurface.h. DEVMODEW is defined by the printing layer with
// DocumentPropertiesW; here it is only named.
struct _devicemodeW;
typedef _devicemodeW DEVMODEW;
typedef DEVMODEW* LPDEVMODEW;

struct _DOCINFOW {
    int cbSize;
    LPCWSTR lpszDocName;
    LPCWSTR lpszOutput;      // a file to print to; null for the printer's own destination
    LPCWSTR lpszDatatype;    // null or L"RAW"/L"EMF"
    DWORD fwType;
};
typedef _DOCINFOW DOCINFOW;
typedef DOCINFOW DOCINFO;
typedef DOCINFOW* LPDOCINFOW;
typedef DOCINFOW* LPDOCINFO;

// Called by the printing layer while a job runs; returning FALSE cancels it.
typedef BOOL (*ABORTPROC)(HDC hdc, int error);

// Job-control failure values (StartDoc, EndPage, SetAbortProc...).
#define SP_ERROR (-1)
#define SP_APPABORT (-2)
#define SP_USERABORT (-3)
#define SP_OUTOFDISK (-4)
#define SP_OUTOFMEMORY (-5)

HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR port, const DEVMODEW* devMode);
int StartDocW(HDC hdc, const DOCINFOW* docInfo);   // the job id (> 0), or SP_ERROR
int StartPage(HDC hdc);                            // > 0, or SP_ERROR
int EndPage(HDC hdc);                              // > 0, or SP_ERROR / SP_APPABORT
int EndDoc(HDC hdc);                               // > 0, or SP_ERROR
int AbortDoc(HDC hdc);                             // > 0, or SP_ERROR
int SetAbortProc(HDC hdc, ABORTPROC proc);         // > 0, or SP_ERROR
#define CreateDC CreateDCW
#define StartDoc StartDocW

// ---- icons and cursors ----------------------------------------------------------
// Icons and cursors loaded from resources are shared (see MarkIconShared):
// destroying one returns TRUE and leaves it alive, as Windows does.
BOOL DestroyIcon(HICON icon);
BOOL DestroyCursor(HCURSOR cursor);
// From the caller's colour bitmap and mask (white in the mask lets the
// screen show through); without a colour bitmap the mask is twice as high,
// AND mask above XOR mask. The bitmaps stay the caller's.
HICON CreateIconIndirect(PICONINFO info);
// A new, unshared icon with the same image.
HICON CopyIcon(HICON icon);
#define CopyCursor CopyIcon
// As Windows: the two bitmaps returned belong to the caller, who deletes them.
BOOL GetIconInfo(HICON icon, PICONINFO info);
BOOL DrawIcon(HDC hdc, int x, int y, HICON icon);
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flickerFree,
                UINT flags);
// DST_ICON, DST_BITMAP, DST_TEXT and DST_PREFIXTEXT with DSS_NORMAL,
// DSS_DISABLED (embossed), DSS_UNION (dithered) or DSS_MONO (in `brush`'s
// colour); DST_COMPLEX calls `callback`. cx/cy 0: the image's own size.
BOOL DrawStateW(HDC hdc, HBRUSH brush, DRAWSTATEPROC callback, LPARAM data, WPARAM extra, int x, int y, int cx,
                int cy, UINT flags);
#define DrawState DrawStateW

namespace platform {
namespace gdi {

// Live GDI objects, DCs and icons, stock objects not counted. Tests take it
// before and after and fail on a difference.
int LiveObjectCount();

// Makes `icon` shared, as icons and cursors loaded from resources are:
// DestroyIcon and DestroyCursor then leave it alive. The resource cache that
// owns it frees it with DestroySharedIcon. FALSE for a bad handle.
BOOL MarkIconShared(HICON icon);
BOOL DestroySharedIcon(HICON icon);

// The size memory DCs report as HORZRES/VERTRES when they were made from the
// screen (CreateCompatibleDC(NULL)); the windowing layer keeps it in step
// with its desktop. 1024 x 768 until set.
void SetScreenSize(int width, int height);
SIZE GetScreenSize();

// The colour of the COLOR_x index, for FillRect's COLOR_x + 1 pseudo brushes;
// the windowing layer installs its GetSysColor. Without one those brushes
// fail. Returns the source it replaces.
typedef COLORREF (*SysColorSource)(int index);
SysColorSource SetSysColorSource(SysColorSource source);

}  // namespace gdi
}  // namespace platform
