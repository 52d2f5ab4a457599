// The records of the windowing layer with their Win32 field names and
// order: queued messages, window classes, window positions, painting,
// scroll bars, mouse tracking, owner-drawn items and notifications. Callers
// fill them and pass pointers through LPARAM, so the layout is the one the
// system's code writes.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiTypes.h"

#define CALLBACK
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef WORD ATOM;

struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;   // the desktop clock when the message was posted, milliseconds
    POINT pt;     // the cursor in screen coordinates when the message was posted
};
typedef tagMSG MSG;
typedef MSG* LPMSG;

struct tagWNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;   // a brush, or (HBRUSH)(COLOR_x + 1)
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};
typedef tagWNDCLASSW WNDCLASSW;
typedef WNDCLASSW WNDCLASS;
typedef WNDCLASSW* LPWNDCLASSW;
typedef WNDCLASSW* LPWNDCLASS;

struct tagWNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};
typedef tagWNDCLASSEXW WNDCLASSEXW;
typedef WNDCLASSEXW WNDCLASSEX;

struct tagCREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;          // a child's control id
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
typedef tagCREATESTRUCTW CREATESTRUCTW;
typedef CREATESTRUCTW CREATESTRUCT;
typedef CREATESTRUCTW* LPCREATESTRUCT;
typedef CREATESTRUCTW* LPCREATESTRUCTW;

struct tagWINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;   // SWP_*
};
typedef tagWINDOWPOS WINDOWPOS;
typedef WINDOWPOS* LPWINDOWPOS;
typedef WINDOWPOS* PWINDOWPOS;

struct tagNCCALCSIZE_PARAMS {
    RECT rgrc[3];
    PWINDOWPOS lppos;
};
typedef tagNCCALCSIZE_PARAMS NCCALCSIZE_PARAMS;
typedef NCCALCSIZE_PARAMS* LPNCCALCSIZE_PARAMS;

struct tagMINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};
typedef tagMINMAXINFO MINMAXINFO;
typedef MINMAXINFO* LPMINMAXINFO;

struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;    // TRUE when WM_ERASEBKGND left the background to the painter
    RECT rcPaint;   // the bounds of the area to paint, client coordinates
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef tagPAINTSTRUCT PAINTSTRUCT;
typedef PAINTSTRUCT* LPPAINTSTRUCT;

struct tagSCROLLINFO {
    UINT cbSize;
    UINT fMask;   // SIF_*
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef tagSCROLLINFO SCROLLINFO;
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

struct tagTRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;   // TME_*
    HWND hwndTrack;
    DWORD dwHoverTime;   // milliseconds; HOVER_DEFAULT for the system's
};
typedef tagTRACKMOUSEEVENT TRACKMOUSEEVENT;
typedef TRACKMOUSEEVENT* LPTRACKMOUSEEVENT;

struct tagDRAWITEMSTRUCT {
    UINT CtlType;     // ODT_*
    UINT CtlID;
    UINT itemID;
    UINT itemAction;  // ODA_*
    UINT itemState;   // ODS_*
    HWND hwndItem;    // the control; for menus the HMENU
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef tagDRAWITEMSTRUCT DRAWITEMSTRUCT;
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct tagMEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
typedef tagMEASUREITEMSTRUCT MEASUREITEMSTRUCT;
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;

struct tagDELETEITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    HWND hwndItem;
    ULONG_PTR itemData;
};
typedef tagDELETEITEMSTRUCT DELETEITEMSTRUCT;
typedef DELETEITEMSTRUCT* LPDELETEITEMSTRUCT;

struct tagCOMPAREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    HWND hwndItem;
    UINT itemID1;
    ULONG_PTR itemData1;
    UINT itemID2;
    ULONG_PTR itemData2;
    DWORD dwLocaleId;
};
typedef tagCOMPAREITEMSTRUCT COMPAREITEMSTRUCT;
typedef COMPAREITEMSTRUCT* LPCOMPAREITEMSTRUCT;

// The header of every WM_NOTIFY.
struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;   // a negative NM_/TCN_/... code stored as UINT
};
typedef tagNMHDR NMHDR;
typedef NMHDR* LPNMHDR;

// The dialog template headers as the resource bytes start (2-byte packed,
// as the resource compiler writes them); see DialogTemplate.h for the rest.
#pragma pack(push, 2)
struct DLGTEMPLATE {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
};
#pragma pack(pop)
typedef const DLGTEMPLATE* LPCDLGTEMPLATE;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;
