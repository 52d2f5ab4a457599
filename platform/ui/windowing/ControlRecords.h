// The constants and records of the standard controls beyond those every
// window needs (UiTypes.h) and the tab control's (CommCtrl.h): the up-down
// (spin) control, the tree view, the tooltip, and the few edit, list and
// combo box values the windowing layer does not define. Values are Win32's:
// the system stores some of them and compares others with numbers it makes.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/CommCtrl.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

// ---- edit, list box and combo box extras --------------------------------------------
#define EC_LEFTMARGIN 0x0001
#define EC_RIGHTMARGIN 0x0002
#define EC_USEFONTINFO 0xFFFF

// A list box that is the drop-down list of a combo box.
#define LBS_COMBOBOX 0x8000u
#define LB_INITSTORAGE 0x01A8
#define LB_ITEMFROMPOINT 0x01A9

#define WC_COMBOLBOX L"ComboLBox"

// ---- up-down (spin) control -----------------------------------------------------------
#define UPDOWN_CLASSW L"msctls_updown32"
#define UPDOWN_CLASS UPDOWN_CLASSW

#define UDS_WRAP 0x0001u
#define UDS_SETBUDDYINT 0x0002u
#define UDS_ALIGNRIGHT 0x0004u
#define UDS_ALIGNLEFT 0x0008u
#define UDS_AUTOBUDDY 0x0010u
#define UDS_ARROWKEYS 0x0020u
#define UDS_HORZ 0x0040u
#define UDS_NOTHOUSANDS 0x0080u
#define UDS_HOTTRACK 0x0100u

#define UD_MAXVAL 0x7FFF
#define UD_MINVAL (-UD_MAXVAL)

#define UDM_SETRANGE (WM_USER + 101)
#define UDM_GETRANGE (WM_USER + 102)
#define UDM_SETPOS (WM_USER + 103)
#define UDM_GETPOS (WM_USER + 104)
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETACCEL (WM_USER + 107)
#define UDM_GETACCEL (WM_USER + 108)
#define UDM_SETBASE (WM_USER + 109)
#define UDM_GETBASE (WM_USER + 110)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)
#define UDM_SETPOS32 (WM_USER + 113)
#define UDM_GETPOS32 (WM_USER + 114)

#define UDN_FIRST (0U - 721U)
#define UDN_DELTAPOS (UDN_FIRST - 1U)

struct tagNMUPDOWN {
    NMHDR hdr;
    int iPos;     // the position before the change
    int iDelta;   // the proposed change; the parent may alter it
};
typedef tagNMUPDOWN NMUPDOWN;
typedef NMUPDOWN* LPNMUPDOWN;
typedef NMUPDOWN NM_UPDOWN;

struct tagUDACCEL {
    UINT nSec;   // seconds the arrow has been held
    UINT nInc;   // step from then on
};
typedef tagUDACCEL UDACCEL;
typedef UDACCEL* LPUDACCEL;

// ---- tree view ------------------------------------------------------------------------
#define WC_TREEVIEWW L"SysTreeView32"
#define WC_TREEVIEW WC_TREEVIEWW

struct _TREEITEM;
typedef _TREEITEM* HTREEITEM;

#define TVS_HASBUTTONS 0x0001u
#define TVS_HASLINES 0x0002u
#define TVS_LINESATROOT 0x0004u
#define TVS_EDITLABELS 0x0008u
#define TVS_DISABLEDRAGDROP 0x0010u
#define TVS_SHOWSELALWAYS 0x0020u
#define TVS_NOTOOLTIPS 0x0080u
#define TVS_CHECKBOXES 0x0100u
#define TVS_TRACKSELECT 0x0200u
#define TVS_SINGLEEXPAND 0x0400u
#define TVS_FULLROWSELECT 0x1000u
#define TVS_NOSCROLL 0x2000u

#define TVIF_TEXT 0x0001u
#define TVIF_IMAGE 0x0002u
#define TVIF_PARAM 0x0004u
#define TVIF_STATE 0x0008u
#define TVIF_HANDLE 0x0010u
#define TVIF_SELECTEDIMAGE 0x0020u
#define TVIF_CHILDREN 0x0040u

#define TVIS_SELECTED 0x0002u
#define TVIS_CUT 0x0004u
#define TVIS_DROPHILITED 0x0008u
#define TVIS_BOLD 0x0010u
#define TVIS_EXPANDED 0x0020u
#define TVIS_EXPANDEDONCE 0x0040u
#define TVIS_EXPANDPARTIAL 0x0080u
#define TVIS_OVERLAYMASK 0x0F00u
#define TVIS_STATEIMAGEMASK 0xF000u
#define TVIS_USERMASK 0xF000u

#define TVI_ROOT ((HTREEITEM)(ULONG_PTR)-0x10000)
#define TVI_FIRST ((HTREEITEM)(ULONG_PTR)-0x0FFFF)
#define TVI_LAST ((HTREEITEM)(ULONG_PTR)-0x0FFFE)
#define TVI_SORT ((HTREEITEM)(ULONG_PTR)-0x0FFFD)

#define LPSTR_TEXTCALLBACKW ((LPWSTR)(LONG_PTR)-1)
#define LPSTR_TEXTCALLBACK LPSTR_TEXTCALLBACKW
#define I_CHILDRENCALLBACK (-1)
#define I_IMAGECALLBACK (-1)

#define TV_FIRST 0x1100
#define TVM_DELETEITEM (TV_FIRST + 1)
#define TVM_EXPAND (TV_FIRST + 2)
#define TVM_GETITEMRECT (TV_FIRST + 4)
#define TVM_GETCOUNT (TV_FIRST + 5)
#define TVM_GETINDENT (TV_FIRST + 6)
#define TVM_SETINDENT (TV_FIRST + 7)
#define TVM_GETNEXTITEM (TV_FIRST + 10)
#define TVM_SELECTITEM (TV_FIRST + 11)
#define TVM_GETVISIBLECOUNT (TV_FIRST + 16)
#define TVM_HITTEST (TV_FIRST + 17)
#define TVM_SORTCHILDREN (TV_FIRST + 19)
#define TVM_ENSUREVISIBLE (TV_FIRST + 20)
#define TVM_SETITEMHEIGHT (TV_FIRST + 27)
#define TVM_GETITEMHEIGHT (TV_FIRST + 28)
#define TVM_SETBKCOLOR (TV_FIRST + 29)
#define TVM_SETTEXTCOLOR (TV_FIRST + 30)
#define TVM_GETBKCOLOR (TV_FIRST + 31)
#define TVM_GETTEXTCOLOR (TV_FIRST + 32)
#define TVM_GETITEMSTATE (TV_FIRST + 39)
#define TVM_INSERTITEMW (TV_FIRST + 50)
#define TVM_GETITEMW (TV_FIRST + 62)
#define TVM_SETITEMW (TV_FIRST + 63)
#define TVM_INSERTITEM TVM_INSERTITEMW
#define TVM_GETITEM TVM_GETITEMW
#define TVM_SETITEM TVM_SETITEMW

#define TVE_COLLAPSE 0x0001u
#define TVE_EXPAND 0x0002u
#define TVE_TOGGLE 0x0003u
#define TVE_EXPANDPARTIAL 0x4000u
#define TVE_COLLAPSERESET 0x8000u

#define TVGN_ROOT 0x0000u
#define TVGN_NEXT 0x0001u
#define TVGN_PREVIOUS 0x0002u
#define TVGN_PARENT 0x0003u
#define TVGN_CHILD 0x0004u
#define TVGN_FIRSTVISIBLE 0x0005u
#define TVGN_NEXTVISIBLE 0x0006u
#define TVGN_PREVIOUSVISIBLE 0x0007u
#define TVGN_DROPHILITE 0x0008u
#define TVGN_CARET 0x0009u
#define TVGN_LASTVISIBLE 0x000Au

#define TVC_UNKNOWN 0x0000u
#define TVC_BYMOUSE 0x0001u
#define TVC_BYKEYBOARD 0x0002u

#define TVHT_NOWHERE 0x0001u
#define TVHT_ONITEMICON 0x0002u
#define TVHT_ONITEMLABEL 0x0004u
#define TVHT_ONITEMINDENT 0x0008u
#define TVHT_ONITEMBUTTON 0x0010u
#define TVHT_ONITEMRIGHT 0x0020u
#define TVHT_ONITEMSTATEICON 0x0040u
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)
#define TVHT_ABOVE 0x0100u
#define TVHT_BELOW 0x0200u
#define TVHT_TORIGHT 0x0400u
#define TVHT_TOLEFT 0x0800u

#define TVN_FIRST (0U - 400U)
#define TVN_KEYDOWN (TVN_FIRST - 12U)
#define TVN_SELCHANGINGW (TVN_FIRST - 50U)
#define TVN_SELCHANGEDW (TVN_FIRST - 51U)
#define TVN_GETDISPINFOW (TVN_FIRST - 52U)
#define TVN_ITEMEXPANDINGW (TVN_FIRST - 54U)
#define TVN_ITEMEXPANDEDW (TVN_FIRST - 55U)
#define TVN_DELETEITEMW (TVN_FIRST - 58U)
#define TVN_SELCHANGING TVN_SELCHANGINGW
#define TVN_SELCHANGED TVN_SELCHANGEDW
#define TVN_GETDISPINFO TVN_GETDISPINFOW
#define TVN_ITEMEXPANDING TVN_ITEMEXPANDINGW
#define TVN_ITEMEXPANDED TVN_ITEMEXPANDEDW
#define TVN_DELETEITEM TVN_DELETEITEMW

struct tagTVITEMW {
    UINT mask;          // TVIF_*
    HTREEITEM hItem;
    UINT state;         // TVIS_*
    UINT stateMask;
    LPWSTR pszText;     // LPSTR_TEXTCALLBACK: the parent supplies it (TVN_GETDISPINFO)
    int cchTextMax;     // characters pszText holds, for TVM_GETITEM
    int iImage;
    int iSelectedImage;
    int cChildren;      // 0, 1 or I_CHILDRENCALLBACK
    LPARAM lParam;
};
typedef tagTVITEMW TVITEMW;
typedef TVITEMW TVITEM;
typedef TVITEMW* LPTVITEMW;
typedef TVITEMW* LPTVITEM;
typedef TVITEMW TV_ITEM;

struct tagTVINSERTSTRUCTW {
    HTREEITEM hParent;        // TVI_ROOT or null: a root item
    HTREEITEM hInsertAfter;   // an item, TVI_FIRST, TVI_LAST or TVI_SORT
    TVITEMW item;
};
typedef tagTVINSERTSTRUCTW TVINSERTSTRUCTW;
typedef TVINSERTSTRUCTW TVINSERTSTRUCT;
typedef TVINSERTSTRUCTW* LPTVINSERTSTRUCTW;
typedef TVINSERTSTRUCTW* LPTVINSERTSTRUCT;
typedef TVINSERTSTRUCTW TV_INSERTSTRUCT;

struct tagTVHITTESTINFO {
    POINT pt;           // client coordinates
    UINT flags;         // TVHT_* on return
    HTREEITEM hItem;
};
typedef tagTVHITTESTINFO TVHITTESTINFO;
typedef TVHITTESTINFO* LPTVHITTESTINFO;

struct tagNMTREEVIEWW {
    NMHDR hdr;
    UINT action;        // TVC_* for selection changes, TVE_* for expansions
    TVITEMW itemOld;
    TVITEMW itemNew;
    POINT ptDrag;
};
typedef tagNMTREEVIEWW NMTREEVIEWW;
typedef NMTREEVIEWW NMTREEVIEW;
typedef NMTREEVIEWW* LPNMTREEVIEW;
typedef NMTREEVIEWW NM_TREEVIEW;

struct tagTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags;
};
typedef tagTVKEYDOWN NMTVKEYDOWN;

struct tagTVDISPINFOW {
    NMHDR hdr;
    TVITEMW item;
};
typedef tagTVDISPINFOW NMTVDISPINFOW;
typedef NMTVDISPINFOW NMTVDISPINFO;
typedef NMTVDISPINFOW TV_DISPINFO;

// ---- tooltip ----------------------------------------------------------------------------
#define TOOLTIPS_CLASSW L"tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSW

#define TTS_ALWAYSTIP 0x01u
#define TTS_NOPREFIX 0x02u
#define TTS_NOANIMATE 0x10u
#define TTS_NOFADE 0x20u
#define TTS_BALLOON 0x40u

#define TTF_IDISHWND 0x0001u
#define TTF_CENTERTIP 0x0002u
#define TTF_RTLREADING 0x0004u
#define TTF_SUBCLASS 0x0010u
#define TTF_TRACK 0x0020u
#define TTF_ABSOLUTE 0x0080u
#define TTF_TRANSPARENT 0x0100u

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_WINDOWFROMPOINT (WM_USER + 16)
#define TTM_SETTIPBKCOLOR (WM_USER + 19)
#define TTM_SETTIPTEXTCOLOR (WM_USER + 20)
#define TTM_GETDELAYTIME (WM_USER + 21)
#define TTM_GETTIPBKCOLOR (WM_USER + 22)
#define TTM_GETTIPTEXTCOLOR (WM_USER + 23)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_POP (WM_USER + 28)
#define TTM_UPDATE (WM_USER + 29)
#define TTM_ADDTOOLW (WM_USER + 50)
#define TTM_DELTOOLW (WM_USER + 51)
#define TTM_NEWTOOLRECTW (WM_USER + 52)
#define TTM_GETTOOLINFOW (WM_USER + 53)
#define TTM_SETTOOLINFOW (WM_USER + 54)
#define TTM_HITTESTW (WM_USER + 55)
#define TTM_GETTEXTW (WM_USER + 56)
#define TTM_UPDATETIPTEXTW (WM_USER + 57)
#define TTM_ADDTOOL TTM_ADDTOOLW
#define TTM_DELTOOL TTM_DELTOOLW
#define TTM_NEWTOOLRECT TTM_NEWTOOLRECTW
#define TTM_GETTOOLINFO TTM_GETTOOLINFOW
#define TTM_SETTOOLINFO TTM_SETTOOLINFOW
#define TTM_HITTEST TTM_HITTESTW
#define TTM_GETTEXT TTM_GETTEXTW
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTW

#define TTN_FIRST (0U - 520U)
#define TTN_SHOW (TTN_FIRST - 1U)
#define TTN_POP (TTN_FIRST - 2U)
#define TTN_GETDISPINFOW (TTN_FIRST - 10U)
#define TTN_GETDISPINFO TTN_GETDISPINFOW
#define TTN_NEEDTEXTW TTN_GETDISPINFOW
#define TTN_NEEDTEXT TTN_GETDISPINFOW

struct tagTOOLINFOW {
    UINT cbSize;
    UINT uFlags;        // TTF_*
    HWND hwnd;          // the window that holds the tool
    UINT_PTR uId;       // the tool's id, or with TTF_IDISHWND the tool's window
    RECT rect;          // the tool's area in hwnd's client coordinates (not with TTF_IDISHWND)
    HINSTANCE hinst;    // with a resource id in lpszText: the module of the string
    LPWSTR lpszText;    // text, a string id (MAKEINTRESOURCE) or LPSTR_TEXTCALLBACK
    LPARAM lParam;
    void* lpReserved;
};
typedef tagTOOLINFOW TOOLINFOW;
typedef TOOLINFOW TOOLINFO;
typedef TOOLINFOW* LPTOOLINFOW;
typedef TOOLINFOW* LPTOOLINFO;
typedef TOOLINFOW TTTOOLINFOW;
typedef TOOLINFOW TTTOOLINFO;

struct tagTTHITTESTINFOW {
    HWND hwnd;
    POINT pt;           // client coordinates of hwnd
    TOOLINFOW ti;
};
typedef tagTTHITTESTINFOW TTHITTESTINFOW;
typedef TTHITTESTINFOW TTHITTESTINFO;

struct tagNMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText;    // the answer: a text the parent keeps, or szText, or a string id with hinst
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;      // the tool's lParam
};
typedef tagNMTTDISPINFOW NMTTDISPINFOW;
typedef NMTTDISPINFOW NMTTDISPINFO;
typedef NMTTDISPINFOW TOOLTIPTEXTW;
typedef NMTTDISPINFOW TOOLTIPTEXT;
