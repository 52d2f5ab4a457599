// The Win32 window functions, on the window manager's state. Windows are
// headless: they have a place in the tree, a text, styles and a rectangle,
// and nothing is shown. Messages (WM_CREATE, WM_DESTROY…) are not sent yet;
// window procedures and classes arrive with the message queue.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/UiTypes.h"

#ifndef ERROR_INVALID_WINDOW_HANDLE
#define ERROR_INVALID_WINDOW_HANDLE 1400u
#endif
#ifndef ERROR_TLW_WITH_WSCHILD
#define ERROR_TLW_WITH_WSCHILD 1406u
#endif
#ifndef ERROR_CANNOT_FIND_WND_CLASS
#define ERROR_CANNOT_FIND_WND_CLASS 1407u
#endif

// A window of class `lpClassName` (a name or an atom). For a child window
// `hMenu` carries its control id and `hWndParent` must be a window; for a
// top-level window `hWndParent` names its owner. CW_USEDEFAULT places a
// top-level window at the screen's origin with three quarters of its size.
// Null on failure, with the last error set.
HWND CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                     int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
BOOL DestroyWindow(HWND hWnd);
BOOL IsWindow(HWND hWnd);

// A child's parent, a top-level window's owner; null for an unowned
// top-level window and for a handle that is not a window.
HWND GetParent(HWND hWnd);
BOOL IsChild(HWND hWndParent, HWND hWnd);

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString);
// As Win32: copies at most nMaxCount - 1 characters and a terminator and
// returns the number copied; 0 for a bad window or buffer.
int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int GetWindowTextLengthW(HWND hWnd);

// Returns nonzero when the window was disabled before the call.
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);

// GWL_STYLE, GWL_EXSTYLE and GWL_ID; 0 for anything else or a bad window.
LONG GetWindowLongW(HWND hWnd, int nIndex);
int GetDlgCtrlID(HWND hWnd);

// Ends a dialog's modal run with `nResult` (DoModal returns it). FALSE for a
// handle that is not a window.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);

inline BOOL SetWindowText(HWND hWnd, LPCWSTR text) { return SetWindowTextW(hWnd, text); }
inline int GetWindowText(HWND hWnd, LPWSTR text, int max) { return GetWindowTextW(hWnd, text, max); }
inline int GetWindowTextLength(HWND hWnd) { return GetWindowTextLengthW(hWnd); }
inline LONG GetWindowLong(HWND hWnd, int index) { return GetWindowLongW(hWnd, index); }
