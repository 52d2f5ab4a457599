// The Win32 window functions: creation and destruction with their message
// sequences, the tree and z-order, styles, placement, coordinate mapping
// and window text. Windows are headless: they have a place in the tree, a
// rectangle and styles, and paint into their top-level window's image.
//
// Every function takes any handle: a null, stale or foreign one fails with
// the documented value (0, FALSE, NULL) and ERROR_INVALID_WINDOW_HANDLE.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

#ifndef ERROR_INVALID_WINDOW_HANDLE
#define ERROR_INVALID_WINDOW_HANDLE 1400u
#endif
#ifndef ERROR_TLW_WITH_WSCHILD
#define ERROR_TLW_WITH_WSCHILD 1406u
#endif
#ifndef ERROR_CANNOT_FIND_WND_CLASS
#define ERROR_CANNOT_FIND_WND_CLASS 1407u
#endif
#ifndef ERROR_INVALID_INDEX
#define ERROR_INVALID_INDEX 1413u
#endif

// WM_STYLECHANGING / WM_STYLECHANGED.
struct tagSTYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};
typedef tagSTYLESTRUCT STYLESTRUCT;
typedef STYLESTRUCT* LPSTYLESTRUCT;

typedef BOOL (*WNDENUMPROC)(HWND, LPARAM);

// A window of class `lpClassName` (a name or an atom). For a child window
// `hMenu` carries its control id and `hWndParent` must be a window; for a
// top-level window `hWndParent` names its owner. CW_USEDEFAULT places a
// top-level window at the screen's origin with three quarters of its size.
// Sends WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, then
// WM_PARENTNOTIFY to the parent, then shows a WS_VISIBLE window. Null on
// failure (unknown class, stale parent, WM_NCCREATE FALSE, WM_CREATE -1),
// with the last error set.
HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
inline HWND CreateWindowW(LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int w, int h, HWND parent, HMENU menu,
                          HINSTANCE instance, LPVOID param)
{
    return CreateWindowExW(0, cls, name, style, x, y, w, h, parent, menu, instance, param);
}

// Hides the window, destroys its owned windows, sends WM_DESTROY to it and
// then its descendants (parents first), and WM_NCDESTROY to the descendants
// and then to it (children first); the focus and capture leave it first.
BOOL DestroyWindow(HWND hWnd);
BOOL IsWindow(HWND hWnd);
// Visible when it and every ancestor have WS_VISIBLE.
BOOL IsWindowVisible(HWND hWnd);
// Returns nonzero when the window was disabled before the call; sends
// WM_ENABLE when the state changes, and a disabled window loses the focus.
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
BOOL IsIconic(HWND hWnd);
BOOL IsZoomed(HWND hWnd);

// A child's parent, a top-level window's owner; null for an unowned
// top-level window and for a handle that is not a window.
HWND GetParent(HWND hWnd);
// Moves a child under another parent (placed on top of its new siblings,
// same client coordinates) and returns the old parent; null when either
// handle is bad or the new parent is the window or one of its descendants.
HWND SetParent(HWND hWndChild, HWND hWndNewParent);
HWND GetAncestor(HWND hWnd, UINT gaFlags);
BOOL IsChild(HWND hWndParent, HWND hWnd);
// GW_CHILD is the top child; GW_HWNDNEXT goes down the z-order, which for
// children is their creation order (and a dialog's tab order).
HWND GetWindow(HWND hWnd, UINT uCmd);
HWND GetTopWindow(HWND hWnd);
// The parent of the top-level windows; null here, and null in the mapping
// functions stands for the screen.
HWND GetDesktopWindow();
BOOL EnumChildWindows(HWND hWndParent, WNDENUMPROC lpEnumFunc, LPARAM lParam);
// The first top-level window with that class (null: any) and title (null: any).
HWND FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName);

// Through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH, as Win32: a control
// may keep its own text. GetWindowText copies at most nMaxCount - 1
// characters and a terminator and returns the number copied; 0 for a bad
// window or buffer.
BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLengthW(HWND hWnd);

// GWL_STYLE, GWL_EXSTYLE (through WM_STYLECHANGING/CHANGED when set),
// GWLP_ID, GWLP_USERDATA, GWLP_WNDPROC, GWLP_HINSTANCE, GWLP_HWNDPARENT,
// the DWLP_ values of a dialog, and offsets into the class's extra bytes;
// 0 with ERROR_INVALID_INDEX for anything else.
LONG_PTR GetWindowLongPtrW(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
LONG GetWindowLongW(HWND hWnd, int nIndex);
LONG SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);
int GetDlgCtrlID(HWND hWnd);

// Placement. Rectangles of children are in their parent's client
// coordinates; GetWindowRect answers in screen coordinates.
BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
// Returns whether the window was visible before.
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL BringWindowToTop(HWND hWnd);
BOOL GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);
BOOL AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu);

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint);
// From the client coordinates of one window to another's (null: the
// screen). Returns the offset added, x in the low word and y in the high
// word; 0 with the last error set for a bad window.
int MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);

// The deepest visible, enabled window under a screen point, skipping those
// that answer WM_NCHITTEST with HTTRANSPARENT (static controls); a disabled
// child gives its parent. Null where no window is.
HWND WindowFromPoint(POINT Point);
// The child of hWndParent under a point of its client area (CWP_* flags);
// the parent itself when no child is there, null outside it.
HWND ChildWindowFromPointEx(HWND hWndParent, POINT pt, UINT flags);
HWND ChildWindowFromPoint(HWND hWndParent, POINT pt);

inline BOOL SetWindowText(HWND hWnd, LPCWSTR text) { return SetWindowTextW(hWnd, text); }
inline int GetWindowText(HWND hWnd, LPWSTR text, int max) { return GetWindowTextW(hWnd, text, max); }
inline int GetWindowTextLength(HWND hWnd) { return GetWindowTextLengthW(hWnd); }
inline LONG GetWindowLong(HWND hWnd, int index) { return GetWindowLongW(hWnd, index); }
inline LONG SetWindowLong(HWND hWnd, int index, LONG value) { return SetWindowLongW(hWnd, index, value); }
inline LONG_PTR GetWindowLongPtr(HWND hWnd, int index) { return GetWindowLongPtrW(hWnd, index); }
inline LONG_PTR SetWindowLongPtr(HWND hWnd, int index, LONG_PTR value) { return SetWindowLongPtrW(hWnd, index, value); }
inline HWND FindWindow(LPCWSTR cls, LPCWSTR name) { return FindWindowW(cls, name); }
inline HWND GetNextWindow(HWND hWnd, UINT wCmd) { return GetWindow(hWnd, wCmd); }

namespace platform::ui {
// Private SWP flags of WM_WINDOWPOSCHANGED: the client area kept its size or its place.
const UINT kSwpNoClientSize = 0x0800u;
const UINT kSwpNoClientMove = 0x1000u;
}  // namespace platform::ui
