// Basic Win32 types, handles and constants as the system's code spells them.
// Sizes follow the 64-bit Windows model where it matters to callers: the
// *_PTR types, WPARAM and LPARAM are pointer-sized; DWORD, UINT and LONG
// stay 32 bits (LONG is int32_t here, because Linux `long` is 64 bits).
#pragma once

#include <cstddef>
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int INT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef wchar_t TCHAR;
typedef float FLOAT;
typedef double DOUBLE;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef BOOL* LPBOOL;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef wchar_t* LPWSTR;
typedef const wchar_t* LPCWSTR;
typedef wchar_t* LPTSTR;
typedef const wchar_t* LPCTSTR;
typedef DWORD COLORREF;
typedef double DATE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define _T(x) L##x
#define _TEXT(x) L##x
#define TEXT(x) L##x

#define MAX_PATH 260

// Handles are distinct opaque pointer types so that mixing them up fails to compile.
#define MORVELANCE_DECLARE_HANDLE(name) \
    struct name##__ {                   \
        int unused;                     \
    };                                  \
    typedef struct name##__* name
MORVELANCE_DECLARE_HANDLE(HWND);
MORVELANCE_DECLARE_HANDLE(HDC);
MORVELANCE_DECLARE_HANDLE(HINSTANCE);
MORVELANCE_DECLARE_HANDLE(HKEY);
MORVELANCE_DECLARE_HANDLE(HICON);
MORVELANCE_DECLARE_HANDLE(HMENU);
MORVELANCE_DECLARE_HANDLE(HGDIOBJ);
MORVELANCE_DECLARE_HANDLE(HPEN);
MORVELANCE_DECLARE_HANDLE(HBRUSH);
MORVELANCE_DECLARE_HANDLE(HFONT);
MORVELANCE_DECLARE_HANDLE(HBITMAP);
MORVELANCE_DECLARE_HANDLE(HRGN);
MORVELANCE_DECLARE_HANDLE(HPALETTE);
MORVELANCE_DECLARE_HANDLE(HRSRC);
#undef MORVELANCE_DECLARE_HANDLE
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HANDLE;
typedef HANDLE HGLOBAL;
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

typedef LONG_PTR (*FARPROC)();

#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR)(w)) >> 8) & 0xff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKEWORD(a, b) ((WORD)(((BYTE)(((DWORD_PTR)(a)) & 0xff)) | ((WORD)((BYTE)(((DWORD_PTR)(b)) & 0xff))) << 8))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCE(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(p) ((((ULONG_PTR)(p)) >> 16) == 0)

struct tagPOINT {
    LONG x;
    LONG y;
};
typedef tagPOINT POINT;
typedef POINT* LPPOINT;

struct tagSIZE {
    LONG cx;
    LONG cy;
};
typedef tagSIZE SIZE;
typedef SIZE* LPSIZE;

struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef tagRECT RECT;
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct _SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
typedef _SYSTEMTIME SYSTEMTIME;
typedef SYSTEMTIME* LPSYSTEMTIME;

// Message box types and results.
#define MB_OK 0x00000000u
#define MB_OKCANCEL 0x00000001u
#define MB_ABORTRETRYIGNORE 0x00000002u
#define MB_YESNOCANCEL 0x00000003u
#define MB_YESNO 0x00000004u
#define MB_RETRYCANCEL 0x00000005u
#define MB_ICONHAND 0x00000010u
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000u
#define MB_DEFBUTTON2 0x00000100u
#define MB_DEFBUTTON3 0x00000200u
#define MB_APPLMODAL 0x00000000u
#define MB_SYSTEMMODAL 0x00001000u
#define MB_TASKMODAL 0x00002000u
#define MB_TYPEMASK 0x0000000Fu
#define MB_ICONMASK 0x000000F0u
#define MB_DEFMASK 0x00000F00u

#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// Code pages the system converts through.
#define CP_ACP 0
#define CP_UTF8 65001
