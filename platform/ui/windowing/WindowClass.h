// Window classes: RegisterClass and its relatives, and the built-in classes
// (each control's file registers its own class with a SystemClass object,
// as Wine's user32 keeps one window procedure per control).
//
// Class names compare without case, as on Windows. Every class is visible
// to every module (the system's library and its host register and use each
// other's classes freely); a name can be registered once.
#pragma once

#include <memory>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"

#ifndef ERROR_CLASS_ALREADY_EXISTS
#define ERROR_CLASS_ALREADY_EXISTS 1410u
#endif
#ifndef ERROR_CLASS_DOES_NOT_EXIST
#define ERROR_CLASS_DOES_NOT_EXIST 1411u
#endif
#ifndef ERROR_CLASS_HAS_WINDOWS
#define ERROR_CLASS_HAS_WINDOWS 1412u
#endif
#ifndef ERROR_INVALID_PARAMETER
#define ERROR_INVALID_PARAMETER 87u
#endif

namespace platform::ui {

struct WindowClassInfo {
    CString name;
    ATOM atom = 0;
    UINT style = 0;                 // CS_*
    WNDPROC proc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;             // bytes of GetWindowLongPtr storage from index 0
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    LPCWSTR stockCursor = nullptr;  // a built-in class's IDC_* cursor, loaded when first needed
    HBRUSH background = nullptr;    // a brush or (HBRUSH)(COLOR_x + 1); null: the window erases nothing
    CString menuName;
    bool system = false;            // a built-in class: never unregistered
    int windowCount = 0;            // live windows of the class

    // The class cursor, loading a built-in class's stock cursor on first use.
    HCURSOR Cursor();
};

// The class named `name` (a name or an atom); null when none is registered.
WindowClassInfo* FindWindowClass(LPCWSTR name);

// Registers a built-in class from the file of its window procedure:
//     static const platform::ui::SystemClass s_class(L"Button", ButtonWndProc, CS_DBLCLKS, IDC_ARROW, 0, 0);
class SystemClass {
public:
    SystemClass(LPCWSTR name, WNDPROC proc, UINT style, LPCWSTR stockCursor, int sysColorBackground, int cbWndExtra);
};

}  // namespace platform::ui

// As Win32: the class atom, 0 with the last error set for a missing name or
// procedure and for a name already registered.
ATOM RegisterClassW(const WNDCLASSW* lpWndClass);
ATOM RegisterClassExW(const WNDCLASSEXW* lpWndClass);
// FALSE for an unknown or built-in class and while windows of the class live.
BOOL UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance);
BOOL GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass);
BOOL GetClassInfoExW(HINSTANCE hInstance, LPCWSTR lpszClass, WNDCLASSEXW* lpwcx);
int GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);
ULONG_PTR GetClassLongPtrW(HWND hWnd, int nIndex);
ULONG_PTR SetClassLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);

inline ATOM RegisterClass(const WNDCLASSW* wc) { return RegisterClassW(wc); }
inline ATOM RegisterClassEx(const WNDCLASSEXW* wc) { return RegisterClassExW(wc); }
inline BOOL UnregisterClass(LPCWSTR name, HINSTANCE instance) { return UnregisterClassW(name, instance); }
inline BOOL GetClassInfo(HINSTANCE instance, LPCWSTR name, LPWNDCLASSW wc) { return GetClassInfoW(instance, name, wc); }
inline int GetClassName(HWND hWnd, LPWSTR name, int max) { return GetClassNameW(hWnd, name, max); }
inline ULONG_PTR GetClassLongPtr(HWND hWnd, int index) { return GetClassLongPtrW(hWnd, index); }
inline ULONG_PTR SetClassLongPtr(HWND hWnd, int index, LONG_PTR value) { return SetClassLongPtrW(hWnd, index, value); }
