// The common controls' shared constants and records: the WM_NOTIFY codes
// every common control sends, the tab control (which property sheets are
// made of), and the property sheet's messages and records.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"

// ---- notification codes (negative numbers, carried as UINT) -------------------
#define NM_FIRST (0U - 0U)
#define NM_CLICK (NM_FIRST - 2U)
#define NM_DBLCLK (NM_FIRST - 3U)
#define NM_RETURN (NM_FIRST - 4U)
#define NM_RCLICK (NM_FIRST - 5U)
#define NM_RDBLCLK (NM_FIRST - 6U)
#define NM_SETFOCUS (NM_FIRST - 7U)
#define NM_KILLFOCUS (NM_FIRST - 8U)
#define NM_CUSTOMDRAW (NM_FIRST - 12U)
#define NM_HOVER (NM_FIRST - 13U)

// ---- tab control ---------------------------------------------------------------------
#define TCS_TABS 0x0000u
#define TCS_SINGLELINE 0x0000u
#define TCS_RIGHTJUSTIFY 0x0000u
#define TCS_BUTTONS 0x0100u
#define TCS_MULTILINE 0x0200u
#define TCS_FIXEDWIDTH 0x0400u
#define TCS_RAGGEDRIGHT 0x0800u
#define TCS_FOCUSONBUTTONDOWN 0x1000u
#define TCS_TOOLTIPS 0x4000u
#define TCS_FOCUSNEVER 0x8000u

#define TCM_FIRST 0x1300
#define TCM_GETITEMCOUNT (TCM_FIRST + 4)
#define TCM_DELETEITEM (TCM_FIRST + 8)
#define TCM_DELETEALLITEMS (TCM_FIRST + 9)
#define TCM_GETITEMRECT (TCM_FIRST + 10)
#define TCM_GETCURSEL (TCM_FIRST + 11)
#define TCM_SETCURSEL (TCM_FIRST + 12)
#define TCM_HITTEST (TCM_FIRST + 13)
#define TCM_ADJUSTRECT (TCM_FIRST + 40)
#define TCM_SETITEMSIZE (TCM_FIRST + 41)
#define TCM_GETROWCOUNT (TCM_FIRST + 44)
#define TCM_GETCURFOCUS (TCM_FIRST + 47)
#define TCM_SETCURFOCUS (TCM_FIRST + 48)
#define TCM_GETITEMW (TCM_FIRST + 60)
#define TCM_SETITEMW (TCM_FIRST + 61)
#define TCM_INSERTITEMW (TCM_FIRST + 62)
#define TCM_GETITEM TCM_GETITEMW
#define TCM_SETITEM TCM_SETITEMW
#define TCM_INSERTITEM TCM_INSERTITEMW

#define TCIF_TEXT 0x0001u
#define TCIF_IMAGE 0x0002u
#define TCIF_RTLREADING 0x0004u
#define TCIF_PARAM 0x0008u
#define TCIF_STATE 0x0010u

#define TCHT_NOWHERE 0x0001u
#define TCHT_ONITEMICON 0x0002u
#define TCHT_ONITEMLABEL 0x0004u
#define TCHT_ONITEM (TCHT_ONITEMICON | TCHT_ONITEMLABEL)

#define TCN_FIRST (0U - 550U)
#define TCN_KEYDOWN (TCN_FIRST - 0U)
#define TCN_SELCHANGE (TCN_FIRST - 1U)
#define TCN_SELCHANGING (TCN_FIRST - 2U)

struct tagTCITEMW {
    UINT mask;          // TCIF_*
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;
    int cchTextMax;     // characters pszText holds, for TCM_GETITEM
    int iImage;
    LPARAM lParam;
};
typedef tagTCITEMW TCITEMW;
typedef TCITEMW TCITEM;
typedef TCITEMW* LPTCITEMW;
typedef TCITEMW* LPTCITEM;

struct tagTCHITTESTINFO {
    POINT pt;      // client coordinates
    UINT flags;    // TCHT_* on return
};
typedef tagTCHITTESTINFO TCHITTESTINFO;
typedef TCHITTESTINFO* LPTCHITTESTINFO;

// ---- property sheets ----------------------------------------------------------------
#define PSP_DEFAULT 0x0000u
#define PSP_DLGINDIRECT 0x0001u
#define PSP_USETITLE 0x0008u
#define PSP_HASHELP 0x0020u

#define PSH_DEFAULT 0x0000u
#define PSH_PROPTITLE 0x0001u
#define PSH_NOAPPLYNOW 0x0080u
#define PSH_HASHELP 0x0200u

#define PSM_SETCURSEL (WM_USER + 101)
#define PSM_REMOVEPAGE (WM_USER + 102)
#define PSM_ADDPAGE (WM_USER + 103)
#define PSM_CHANGED (WM_USER + 104)
#define PSM_QUERYSIBLINGS (WM_USER + 108)
#define PSM_UNCHANGED (WM_USER + 109)
#define PSM_APPLY (WM_USER + 110)
#define PSM_PRESSBUTTON (WM_USER + 113)
#define PSM_GETTABCONTROL (WM_USER + 116)
#define PSM_GETCURRENTPAGEHWND (WM_USER + 118)

#define PSBTN_BACK 0
#define PSBTN_NEXT 1
#define PSBTN_FINISH 2
#define PSBTN_OK 3
#define PSBTN_APPLYNOW 4
#define PSBTN_CANCEL 5
#define PSBTN_HELP 6

struct tagPROPSHEETPAGEW {
    DWORD dwSize;
    DWORD dwFlags;      // PSP_*
    HINSTANCE hInstance;
    LPCWSTR pszTemplate;
    HICON hIcon;
    LPCWSTR pszTitle;   // the tab text with PSP_USETITLE
    DLGPROC pfnDlgProc;
    LPARAM lParam;
};
typedef tagPROPSHEETPAGEW PROPSHEETPAGEW;
typedef PROPSHEETPAGEW PROPSHEETPAGE;

struct tagPROPSHEETHEADERW {
    DWORD dwSize;
    DWORD dwFlags;      // PSH_*
    HWND hwndParent;
    HINSTANCE hInstance;
    HICON hIcon;
    LPCWSTR pszCaption;
    UINT nPages;
    UINT nStartPage;
};
typedef tagPROPSHEETHEADERW PROPSHEETHEADERW;
typedef PROPSHEETHEADERW PROPSHEETHEADER;
